#include "dialogs/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
}

QRect WrappingCheckBox::indicatorRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
}

QRect WrappingCheckBox::captionRect(int width, int height) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const int left = indicatorRect().right() + 1 +
                     style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    return QRect(left, 0, width - left, height);
}

int WrappingCheckBox::heightForWidth(int width) const
{
    const QRect room = captionRect(width, QWIDGETSIZE_MAX);
    const int caption =
        fontMetrics()
            .boundingRect(room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text())
            .height();
    return std::max(caption, indicatorRect().height());
}

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect caption = captionRect(width(), height());

    option.rect = indicatorRect();
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    painter.drawItemText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                         isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        option.rect = painter.boundingRect(
            caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }
}

bool WrappingCheckBox::hitButton(const QPoint& pos) const
{
    return rect().contains(pos);
}
