#include "window/WidgetKit.h"

#include <QPalette>
#include <QVBoxLayout>
#include <QWidget>

namespace WidgetKit {

QWidget* panel(const QString& name, QWidget* parent)
{
    return named(new QWidget(parent), name);
}

QVBoxLayout* columnLayout(QWidget* owner)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QFont pixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

void setColors(QWidget* widget, const QColor& base, const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Window, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
}

} // namespace WidgetKit
