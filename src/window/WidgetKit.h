#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QVBoxLayout;
class QWidget;

// Small helpers the window's regions build their controls with.
namespace WidgetKit {

// The bar colours above the channel pane and the user list.
constexpr QColor Lime(0x00, 0xFF, 0x00);
constexpr QColor BarColor(0x49, 0x49, 0x49);

// Gives an object its name, so tests and handlers find it by the name it has in the window.
template <typename T>
T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

QWidget* panel(const QString& name, QWidget* parent);
// A vertical layout without margins or spacing that stacks the owner's children.
QVBoxLayout* columnLayout(QWidget* owner);
// A font of the given height in pixels, as the window's controls are specified.
QFont pixelFont(const QString& family, int pixels);
void setColors(QWidget* widget, const QColor& base, const QColor& text);

} // namespace WidgetKit
