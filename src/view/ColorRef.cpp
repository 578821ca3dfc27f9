#include "view/ColorRef.h"

QColor ColorRef::toColor(int value)
{
    const auto v = static_cast<unsigned>(value);
    return QColor(int(v & 0xFFu), int((v >> 8) & 0xFFu), int((v >> 16) & 0xFFu));
}

int ColorRef::fromColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}
