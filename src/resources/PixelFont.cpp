#include "resources/PixelFont.h"

#include <QPainter>
#include <QPainterPath>

namespace {

struct Glyph
{
    char ch;
    const char* rows[PixelFont::Height];
};

// '#' is a lit cell; every row of a glyph has the glyph's width.
constexpr Glyph Glyphs[] = {
    {'A', {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'B', {"###.", "#..#", "#..#", "###.", "#..#", "#..#", "###."}},
    {'C', {".###", "#...", "#...", "#...", "#...", "#...", ".###"}},
    {'D', {"###.", "#..#", "#..#", "#..#", "#..#", "#..#", "###."}},
    {'F', {"####", "#...", "#...", "###.", "#...", "#...", "#..."}},
    {'L', {"#...", "#...", "#...", "#...", "#...", "#...", "####"}},
    {'S', {".###", "#...", "#...", ".##.", "...#", "...#", "###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'o', {"....", "....", ".##.", "#..#", "#..#", "#..#", ".##."}},
    {'w', {".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."}},
    {'1', {".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"}},
    {'2', {".##.", "#..#", "...#", "..#.", ".#..", "#...", "####"}},
    {'3', {"###.", "...#", "...#", ".##.", "...#", "...#", "###."}},
    {'/', {"..#", "..#", ".#.", ".#.", ".#.", "#..", "#.."}},
};

constexpr int BlankWidth = 3;

const Glyph* glyphFor(QChar c)
{
    for (const Glyph& g : Glyphs) {
        if (QLatin1Char(g.ch) == c)
            return &g;
    }
    return nullptr;
}

int glyphWidth(const Glyph* g)
{
    return g ? int(qstrlen(g->rows[0])) : BlankWidth;
}

} // namespace

int PixelFont::width(QStringView text)
{
    int total = 0;
    for (QChar c : text)
        total += glyphWidth(glyphFor(c)) + 1;
    return total > 0 ? total - 1 : 0;
}

QPainterPath PixelFont::path(QStringView text, QPointF origin)
{
    QPainterPath cells;
    qreal x = origin.x();
    for (QChar c : text) {
        const Glyph* g = glyphFor(c);
        if (g) {
            for (int row = 0; row < Height; ++row) {
                for (int col = 0; g->rows[row][col] != '\0'; ++col) {
                    if (g->rows[row][col] == '#')
                        cells.addRect(QRectF(x + col, origin.y() + row, 1, 1));
                }
            }
        }
        x += glyphWidth(g) + 1;
    }
    // Merged cells fill without hairline seams when drawn at a fractional scale.
    return cells.simplified();
}

void PixelFont::draw(QPainter& painter, QStringView text, QPointF origin, QColor ink, QColor shadow)
{
    const QPainterPath cells = path(text, origin);
    painter.save();
    painter.setPen(Qt::NoPen);
    if (shadow.isValid()) {
        painter.setBrush(shadow);
        painter.drawPath(cells.translated(0, 1));
    }
    painter.setBrush(ink);
    painter.drawPath(cells);
    painter.restore();
}
