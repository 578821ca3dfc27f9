#include "resources/DrawnIconEngine.h"

#include <algorithm>
#include <utility>

#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>

namespace {

QSize timesRatio(QSize size, qreal ratio)
{
    return {qRound(size.width() * ratio), qRound(size.height() * ratio)};
}

// The look of a mode other than the normal one, made by the application's style from the
// drawing, as a plain icon holding that drawing would show it.
QPixmap styled(const QPixmap& normal, QIcon::Mode mode, QIcon::State state)
{
    QPixmap pixmap = QIcon(normal).pixmap(normal.size(), 1.0, mode, state);
    pixmap.setDevicePixelRatio(normal.devicePixelRatio());
    return pixmap;
}

} // namespace

DrawnIconEngine::DrawnIconEngine(QSize logical, qreal maxRatio, Draw draw, QList<QSize> sizes)
    : m_logical(logical), m_maxRatio(maxRatio), m_draw(std::move(draw)),
      m_sizes(sizes.isEmpty() ? QList<QSize>{logical} : std::move(sizes))
{
}

qreal DrawnIconEngine::ratioFor(QSize device, qreal scale) const
{
    // Asked for the picture at its own size on a screen of some density: that density's drawing.
    if (timesRatio(m_logical, scale) == device)
        return std::min(scale, m_maxRatio);
    const qreal fit = std::min(qreal(device.width()) / m_logical.width(),
                               qreal(device.height()) / m_logical.height());
    return std::min(fit, m_maxRatio);
}

QPixmap DrawnIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                      qreal scale)
{
    if (size.isEmpty())
        return {};
    const qreal ratio = ratioFor(size, scale);
    QPixmap pixmap;
    if (ratio >= 1) {
        pixmap = m_draw(ratio);
    } else {
        // Smaller than the picture itself: its plain drawing made smaller, as a plain icon does.
        pixmap = m_draw(1).scaled(m_logical.scaled(size, Qt::KeepAspectRatio),
                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    pixmap.setDevicePixelRatio(scale);
    return mode == QIcon::Normal ? pixmap : styled(pixmap, mode, state);
}

QPixmap DrawnIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return scaledPixmap(size, mode, state, 1);
}

void DrawnIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state)
{
    const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1;
    painter->drawPixmap(rect, scaledPixmap(timesRatio(rect.size(), scale), mode, state, scale));
}

QSize DrawnIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    if (size.isEmpty())
        return {};
    const qreal ratio = ratioFor(size, 1);
    return ratio >= 1 ? timesRatio(m_logical, ratio) : m_logical.scaled(size, Qt::KeepAspectRatio);
}

QList<QSize> DrawnIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return m_sizes;
}

QString DrawnIconEngine::key() const
{
    return QStringLiteral("DrawnIconEngine");
}

QIconEngine* DrawnIconEngine::clone() const
{
    return new DrawnIconEngine(*this);
}

bool DrawnIconEngine::isNull()
{
    return false;
}
