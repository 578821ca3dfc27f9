#pragma once

#include <QColor>
#include <QPointF>
#include <QStringView>

class QPainter;
class QPainterPath;

// A tiny hand-made font, 7 cells high, for the letters on badges: at 24 pixels and less a real
// font turns into grey mush, while cells laid on the pixel grid stay sharp at any whole scale.
class PixelFont
{
public:
    static constexpr int Height = 7;

    // Width in cells, one blank cell between letters; characters without a glyph count as blank.
    static int width(QStringView text);
    // The glyph cells of text with its top-left corner at origin, one unit per cell.
    static QPainterPath path(QStringView text, QPointF origin);
    // Draws text over a one-cell shadow below it (none when shadow is invalid), so it reads on
    // light and dark grounds alike.
    static void draw(QPainter& painter, QStringView text, QPointF origin, QColor ink,
                     QColor shadow = QColor());
};
