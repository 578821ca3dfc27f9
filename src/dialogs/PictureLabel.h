#pragma once

#include <QLabel>
#include <QPixmap>

#include <functional>

// A label showing one of our drawn pictures, drawn afresh at the density of whatever it paints on:
// a window moved to a screen of another density shows it sharp there too, instead of scaling the
// drawing made for the first screen. pixmap() holds the drawing for the widget's own density.
class PictureLabel final : public QLabel
{
    Q_OBJECT
public:
    // `draw` gives the picture for a ratio of device pixels to pixels.
    using Drawing = std::function<QPixmap(qreal ratio)>;
    explicit PictureLabel(Drawing draw, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Drawing m_draw;
    QPixmap m_drawn;
    qreal m_drawnRatio = 0;
};
