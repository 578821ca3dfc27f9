#include "dialogs/PictureLabel.h"

#include <QPaintEngine>
#include <QPainter>

PictureLabel::PictureLabel(Drawing draw, QWidget* parent) : QLabel(parent), m_draw(std::move(draw))
{
    m_drawnRatio = devicePixelRatioF();
    m_drawn = m_draw(m_drawnRatio);
    setPixmap(m_drawn);
}

void PictureLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The device painted on, which is not the widget when it is drawn into a picture.
    const QPaintDevice* device =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : this;
    const qreal ratio = device->devicePixelRatioF();
    if (ratio != m_drawnRatio) {
        m_drawn = m_draw(ratio);
        m_drawnRatio = ratio;
    }
    const QRect area = contentsRect();
    if (hasScaledContents())
        painter.drawPixmap(area, m_drawn);
    else
        painter.drawPixmap(area.topLeft(), m_drawn);
}
