#pragma once

#include <functional>

#include <QIconEngine>
#include <QList>
#include <QSize>

// An icon that keeps only how to draw its picture, and draws it when Qt asks for a pixmap, at
// the device size asked for: no density is drawn before a screen needs it, and each is drawn for
// itself rather than scaled from the nearest of a few. The drawing function decides which of its
// drawings are worth keeping (in the pixmap cache). The looks of the other modes (disabled,
// selected) are the application style's, made from the drawing as for any plain icon.
class DrawnIconEngine : public QIconEngine
{
public:
    // Draws the picture at a ratio of device pixels per logical pixel, on a pixmap of the logical
    // size times the ratio (rounded to whole pixels).
    using Draw = std::function<QPixmap(qreal ratio)>;

    // `logical` is the picture's size at ratio 1, `maxRatio` the largest ratio it is drawn at (a
    // larger request gets that drawing, never one blown up); `sizes` are the sizes the icon
    // offers to whoever picks among them (a desktop choosing a window icon), the logical size
    // when empty.
    DrawnIconEngine(QSize logical, qreal maxRatio, Draw draw, QList<QSize> sizes = {});

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;
    bool isNull() override;

private:
    // The ratio whose drawing fits `device` best, given the scale the caller draws at.
    qreal ratioFor(QSize device, qreal scale) const;

    QSize m_logical;
    qreal m_maxRatio;
    Draw m_draw;
    QList<QSize> m_sizes;
};
