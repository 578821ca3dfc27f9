#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QPen>
#include <QRectF>

class QPainter;
class QPainterPath;

// The parts several pictures share: Tulmo's monogram, the game badges, the red X, and the small
// drawing habits (outline pens, top-lit gradients) that keep the set consistent.
class Emblems
{
public:
    enum class Game
    {
        Diablo,
        DiabloII,
        LordOfDestruction,
        StarCraft,
        BroodWar,
        WarcraftII,
        WarcraftIII,
        FrozenThrone,
    };
    enum class BadgeShape
    {
        Plate,
        Disc
    };
    enum class MonogramStyle
    {
        Teal,
        White
    };

    // Tulmo's mark: a speech bubble holding a "T", laid out on a 24 x 24 grid scaled into box.
    static void monogram(QPainter& painter, const QRectF& box,
                         MonogramStyle style = MonogramStyle::Teal);
    // A badge with the game's letters; box edges on half pixels give a crisp one-pixel border.
    static void gameBadge(QPainter& painter, const QRectF& box, Game game,
                          BadgeShape shape = BadgeShape::Plate);
    // The red X drawn over the picture of a squelched account, from corner to corner of area.
    static void crossOut(QPainter& painter, const QRectF& area);
    // A question mark about 10 units high with its centre at centre.
    static void questionMark(QPainter& painter, QPointF centre, qreal scale, QColor ink);

    static QPen outline(QRgb colour, qreal width = 1.0);
    // Lighter at the top, darker at the bottom: every filled shape is lit from above.
    static QLinearGradient topLit(const QRectF& box, QRgb top, QRgb bottom);
};
