#pragma once

#include <QColor>

// Colours in confs.ini are 0x00BBGGRR integers: red in the low byte.
class ColorRef
{
public:
    // Only the low 24 bits are used, so a value typed out of range by hand still gives a colour.
    static QColor toColor(int value);
    static int fromColor(const QColor& color);
};
