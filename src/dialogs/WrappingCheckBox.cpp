#include "dialogs/WrappingCheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
}

void WrappingCheckBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    const int left = indicator.right() + 1 +
                     style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const QRect caption(left, 0, width() - left, height());

    option.rect = indicator;
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
