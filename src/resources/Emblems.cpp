#include "resources/Emblems.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "resources/Palette.h"
#include "resources/PixelFont.h"

namespace {

struct BadgeLook
{
    const char* letters;
    QRgb top;
    QRgb bottom;
    QRgb border;
    // Expansions wear an inner trim ring in a second colour; zero means no trim.
    QRgb trim;
};

// One colour family per game series: red for Diablo, blue for StarCraft, bronze for Warcraft;
// an expansion is the darker shade of its family with a trim.
BadgeLook lookOf(Emblems::Game game)
{
    switch (game) {
    case Emblems::Game::Diablo:
        return {"D1", 0xffe0584a, 0xff8c1c16, 0xff5a0f0b, 0};
    case Emblems::Game::DiabloII:
        return {"D2", 0xffd8403a, 0xff7a1410, 0xff4e0b08, 0};
    case Emblems::Game::LordOfDestruction:
        return {"LoD", 0xff9e2222, 0xff420808, 0xff2a0404, Palette::Gold};
    case Emblems::Game::StarCraft:
        return {"SC", 0xff5b92f0, 0xff1f448f, 0xff122a5c, 0};
    case Emblems::Game::BroodWar:
        return {"BW", 0xff34549e, 0xff10193f, 0xff0a1030, 0xffc9d3e0};
    case Emblems::Game::WarcraftII:
        return {"W2", 0xffe0a040, 0xff8a5210, 0xff553208, 0};
    case Emblems::Game::WarcraftIII:
        return {"W3", 0xffd28a26, 0xff7a420a, 0xff4c2806, 0};
    case Emblems::Game::FrozenThrone:
        return {"TFT", 0xff8a5a1e, 0xff3a2208, 0xff241404, 0xff9fdcf5};
    }
    return {"", Palette::Metal, Palette::MetalDark, Palette::Ink, 0};
}

QPainterPath badgeOutline(const QRectF& box, Emblems::BadgeShape shape)
{
    QPainterPath path;
    if (shape == Emblems::BadgeShape::Disc)
        path.addEllipse(box);
    else
        path.addRoundedRect(box, 3.5, 3.5);
    return path;
}

} // namespace

void Emblems::monogram(QPainter& painter, const QRectF& box, MonogramStyle style)
{
    const qreal unit = box.width() / 24.0;
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(unit, box.height() / 24.0);

    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 1.5, 21, 16.5), 5, 5);
    QPainterPath tail;
    tail.moveTo(5, 16);
    tail.lineTo(3.5, 22.5);
    tail.lineTo(11.5, 17.5);
    tail.closeSubpath();
    bubble = bubble.united(tail);

    const bool teal = style == MonogramStyle::Teal;
    QLinearGradient fill(0, 1.5, 0, 22.5);
    fill.setColorAt(0, QColor::fromRgba(teal ? Palette::BrandLight : 0xffffffff));
    fill.setColorAt(0.55, QColor::fromRgba(teal ? Palette::Brand : 0xffeef7f7));
    fill.setColorAt(1, QColor::fromRgba(teal ? Palette::BrandDark : 0xffc9e4e4));
    // One pixel wide in small pictures; in large ones a thinner share of the mark.
    painter.setPen(outline(teal ? Palette::BrandDark : 0xff0a4048, qMax(0.5, 1.0 / unit)));
    painter.setBrush(fill);
    painter.drawPath(bubble);
    QLinearGradient gloss(0, 2, 0, 10);
    gloss.setColorAt(0, QColor(255, 255, 255, 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawRoundedRect(QRectF(3, 2.5, 18, 7.5), 4, 4);

    painter.setBrush(QColor(Palette::Accent));
    painter.drawEllipse(QPointF(17.5, 11.5), 1.7, 1.7);
    painter.restore();

    // The "T" is laid out in the box's own pixels with its edges rounded to whole pixels, so it
    // stays sharp at 16, 24 or 48 pixels alike.
    const auto edge = [&](qreal units, qreal origin) { return std::round(origin + units * unit); };
    const qreal top = edge(5, box.top());
    const qreal barBottom = top + qMax(1.0, std::round(3 * unit));
    const qreal stemLeft = edge(10, box.left());
    const qreal stemRight = stemLeft + qMax(2.0, std::round(4 * unit));
    QPainterPath letter;
    letter.setFillRule(Qt::WindingFill);
    letter.addRect(
        QRectF(QPointF(edge(6, box.left()), top), QPointF(edge(18, box.left()), barBottom)));
    letter.addRect(QRectF(QPointF(stemLeft, top), QPointF(stemRight, edge(15, box.top()))));
    const QPainterPath solid = letter.simplified();
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(teal ? 0x60063840 : 0x40063840));
    painter.drawPath(solid.translated(0, qMax(1.0, std::round(unit))));
    painter.setBrush(QColor::fromRgba(teal ? 0xffffffff : Palette::BrandDark));
    painter.drawPath(solid);
    painter.restore();
}

void Emblems::gameBadge(QPainter& painter, const QRectF& box, Game game, BadgeShape shape)
{
    const BadgeLook look = lookOf(game);
    painter.save();
    const QPainterPath body = badgeOutline(box, shape);
    painter.setPen(outline(look.border));
    painter.setBrush(topLit(box, look.top, look.bottom));
    painter.drawPath(body);

    // A soft gloss on the upper half.
    QPainterPath gloss;
    if (shape == BadgeShape::Plate)
        gloss.addRoundedRect(box.adjusted(1.5, 1, -1.5, -box.height() / 2), 2.5, 2.5);
    else
        gloss.addEllipse(box.adjusted(3, 1, -3, -box.height() / 2 + 1));
    QLinearGradient shine(0, box.top(), 0, box.center().y());
    shine.setColorAt(0, QColor(255, 255, 255, 110));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawPath(gloss);

    if (look.trim != 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(outline(look.trim, 1.0));
        painter.drawPath(badgeOutline(box.adjusted(1.5, 1.5, -1.5, -1.5), shape));
    }

    const QString letters = QString::fromLatin1(look.letters);
    const qreal x = std::floor(box.center().x() - PixelFont::width(letters) / 2.0 + 0.5);
    const qreal y = std::floor(box.center().y() - PixelFont::Height / 2.0);
    QColor shadow(look.border);
    shadow.setAlpha(220);
    PixelFont::draw(painter, letters, QPointF(x, y), QColor(0xffffffff), shadow);
    painter.restore();
}

void Emblems::crossOut(QPainter& painter, const QRectF& area)
{
    painter.save();
    QPainterPath cross;
    cross.moveTo(area.topLeft());
    cross.lineTo(area.bottomRight());
    cross.moveTo(area.topRight());
    cross.lineTo(area.bottomLeft());
    painter.setBrush(Qt::NoBrush);
    // A dark halo keeps the X visible over the red badges too.
    QPen halo(QColor(40, 0, 0, 150), 3.8, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(halo);
    painter.drawPath(cross);
    QPen red(QColor(Palette::CrossRed), 2.2, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(red);
    painter.drawPath(cross);
    painter.restore();
}

void Emblems::questionMark(QPainter& painter, QPointF centre, qreal scale, QColor ink)
{
    painter.save();
    painter.translate(centre);
    painter.scale(scale, scale);
    QPainterPath hook;
    hook.moveTo(-3.2, -2.4);
    hook.cubicTo(-3.2, -6.2, 3.4, -6.4, 3.4, -2.6);
    hook.cubicTo(3.4, -0.4, 0.0, 0.0, 0.0, 2.0);
    QPen pen(ink, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QPointF(0, 5.0), 1.6, 1.6);
    painter.restore();
}

QPen Emblems::outline(QRgb colour, qreal width)
{
    QPen pen{QColor::fromRgba(colour), width};
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient Emblems::topLit(const QRectF& box, QRgb top, QRgb bottom)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, QColor::fromRgba(top));
    gradient.setColorAt(1, QColor::fromRgba(bottom));
    return gradient;
}
