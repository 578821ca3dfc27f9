#include "resources/UserTagArt.h"

#include <QPainter>
#include <QPainterPath>

#include "resources/Emblems.h"
#include "resources/Palette.h"

namespace {

// Which picture each crossed-out tag shows under its X.
struct Crossing
{
    int index;
    int base;
};
constexpr Crossing Crossings[] = {
    {12, 0}, {13, 1},  {14, 2},  {15, 3},  {16, 5},  {17, 6},  {18, 7}, {19, 8},
    {20, 9}, {21, 10}, {22, 11}, {24, 23}, {26, 25}, {28, 27}, {29, 4},
};

QPen outline(QRgb colour, qreal width = 1.0)
{
    return Emblems::outline(colour, width);
}

QColor rgba(QRgb value)
{
    return QColor::fromRgba(value);
}

void shield(QPainter& p)
{
    QPainterPath body;
    body.moveTo(13.5, 0.8);
    body.cubicTo(16.5, 2.2, 19, 2.5, 21.5, 2.5);
    body.cubicTo(21.5, 10, 19, 14.5, 13.5, 17.2);
    body.cubicTo(8, 14.5, 5.5, 10, 5.5, 2.5);
    body.cubicTo(8, 2.5, 10.5, 2.2, 13.5, 0.8);
    body.closeSubpath();
    p.setPen(outline(Palette::GoldDark, 1.2));
    p.setBrush(Emblems::topLit(QRectF(5, 1, 17, 17), 0xff4d78c4, 0xff142a5a));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(Palette::Gold));
    // A chevron of rank.
    QPainterPath chevron;
    chevron.moveTo(9, 7);
    chevron.lineTo(13.5, 10.5);
    chevron.lineTo(18, 7);
    chevron.lineTo(18, 9.5);
    chevron.lineTo(13.5, 13);
    chevron.lineTo(9, 9.5);
    chevron.closeSubpath();
    p.drawPath(chevron);
    p.drawEllipse(QPointF(13.5, 5), 1.4, 1.4);
}

void globe(QPainter& p)
{
    // Centred in the middle of a pixel, so the one-pixel grid lines cover whole pixels.
    const QPointF c(13.5, 9.5);
    const qreal r = 7.8;
    p.setPen(outline(Palette::SkyDark));
    QRadialGradient sea(c + QPointF(-2.5, -2.5), r * 1.4);
    sea.setColorAt(0, QColor(0xff9fd0ff));
    sea.setColorAt(1, QColor(Palette::SkyDark));
    p.setBrush(sea);
    p.drawEllipse(c, r, r);

    p.setBrush(Qt::NoBrush);
    p.setPen(outline(0xd0ffffff, 0.9));
    p.drawEllipse(c, r * 0.42, r);
    p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    p.drawArc(QRectF(c.x() - r * 0.85, c.y() - r * 0.95, r * 1.7, r * 0.9), 200 * 16, 140 * 16);
    p.drawArc(QRectF(c.x() - r * 0.85, c.y() + r * 0.05, r * 1.7, r * 0.9), 20 * 16, 140 * 16);
}

void gavel(QPainter& p)
{
    // The sound block.
    p.setPen(outline(Palette::WoodDark));
    p.setBrush(Emblems::topLit(QRectF(13, 13, 13, 4), 0xffc98a4e, Palette::WoodDark));
    p.drawRoundedRect(QRectF(13.5, 13.5, 12, 3.5), 1, 1);

    p.save();
    p.translate(11, 8);
    p.rotate(-35);
    // Handle, then head.
    p.setBrush(Emblems::topLit(QRectF(-1.2, 0, 2.4, 12), 0xffd89a5a, Palette::WoodDark));
    p.drawRoundedRect(QRectF(-1.2, 1, 2.4, 11.5), 1, 1);
    const QRectF head(-6, -3.2, 12, 6.4);
    p.setBrush(Emblems::topLit(head, 0xffdca066, Palette::WoodDark));
    p.drawRoundedRect(head, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(Palette::GoldDark));
    p.drawRect(QRectF(-4.5, -3, 1.5, 6));
    p.drawRect(QRectF(3, -3, 1.5, 6));
    p.restore();
}

void megaphone(QPainter& p)
{
    QPainterPath cone;
    cone.moveTo(8, 6.5);
    cone.lineTo(19, 1.5);
    cone.lineTo(19, 15.5);
    cone.lineTo(8, 10.5);
    cone.closeSubpath();
    p.setPen(outline(Palette::AccentDark));
    p.setBrush(rgba(Palette::AccentDark));
    p.drawRoundedRect(QRectF(9.5, 10, 2.5, 5.5), 1, 1);
    p.setBrush(Emblems::topLit(QRectF(8, 1, 12, 15), 0xffffc56e, Palette::AccentDark));
    p.drawPath(cone);
    p.setBrush(Emblems::topLit(QRectF(4, 6, 4, 5), Palette::Metal, Palette::MetalDark));
    p.setPen(outline(Palette::InkSoft));
    p.drawRoundedRect(QRectF(4.5, 6, 3.5, 5), 1, 1);
    p.setPen(outline(Palette::AccentDark));
    p.setBrush(rgba(0xffffe2b0));
    p.drawEllipse(QRectF(17.5, 1.5, 3, 14));

    p.setBrush(Qt::NoBrush);
    p.setPen(outline(Palette::Stop, 1.3));
    p.drawArc(QRectF(18, 4.5, 5, 8), -55 * 16, 110 * 16);
    p.drawArc(QRectF(18.5, 1.5, 8, 14), -55 * 16, 110 * 16);
}

// A head-and-shoulders figure, the shape of an account.
void figure(QPainter& p, qreal x, QRgb top, QRgb bottom)
{
    QPainterPath shoulders;
    shoulders.moveTo(x - 6, 17.5);
    shoulders.cubicTo(x - 6, 11, x + 6, 11, x + 6, 17.5);
    shoulders.closeSubpath();
    p.setPen(outline(Palette::Ink, 0.9));
    p.setBrush(Emblems::topLit(QRectF(x - 6, 10, 12, 8), top, bottom));
    p.drawPath(shoulders);
    p.setBrush(Emblems::topLit(QRectF(x - 3.5, 2, 7, 7), 0xfff9dcbc, 0xffd9a47a));
    p.drawEllipse(QPointF(x, 6.5), 3.6, 3.8);
}

void chatter(QPainter& p)
{
    figure(p, 8.5, Palette::BrandLight, Palette::BrandDark);
    QPainterPath balloon;
    balloon.addRoundedRect(QRectF(13.5, 0.5, 13, 9), 3, 3);
    QPainterPath tail;
    tail.moveTo(15.5, 8);
    tail.lineTo(13.5, 12.5);
    tail.lineTo(19, 9);
    tail.closeSubpath();
    p.setPen(outline(Palette::InkSoft, 0.9));
    p.setBrush(Qt::white);
    p.drawPath(balloon.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(Palette::Brand));
    for (qreal x : {16.5, 20.0, 23.5})
        p.drawEllipse(QPointF(x, 5), 1.2, 1.2);
}

void portrait(QPainter& p)
{
    const QRectF frame(6.5, 0.5, 14, 17);
    p.setPen(outline(Palette::WoodDark));
    p.setBrush(Emblems::topLit(frame, 0xffe2b26a, Palette::WoodDark));
    p.drawRect(frame);
    const QRectF canvas = frame.adjusted(2, 2, -2, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(Emblems::topLit(canvas, 0xffd6ecf7, 0xff9cc4dc));
    p.drawRect(canvas);

    p.save();
    p.setClipRect(canvas);
    // Suit and collar.
    QPainterPath suit;
    suit.moveTo(8, 16);
    suit.cubicTo(8, 11.5, 19, 11.5, 19, 16);
    suit.closeSubpath();
    p.setBrush(rgba(0xff34404c));
    p.drawPath(suit);
    QPainterPath collar;
    collar.moveTo(12, 12);
    collar.lineTo(13.5, 14.5);
    collar.lineTo(15, 12);
    collar.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(collar);
    p.setBrush(rgba(Palette::Skin));
    p.drawEllipse(QPointF(13.5, 8), 2.9, 3.3);
    QPainterPath hair;
    hair.moveTo(10.4, 8.8);
    hair.cubicTo(9.4, 2.0, 17.6, 2.0, 16.6, 8.8);
    hair.cubicTo(16.2, 7.4, 15.0, 6.9, 13.8, 7.3);
    hair.cubicTo(12.4, 6.6, 10.9, 7.2, 10.4, 8.8);
    hair.closeSubpath();
    p.setBrush(rgba(0xff3d2614));
    p.drawPath(hair);
    p.restore();
}

void stranger(QPainter& p)
{
    figure(p, 9.5, Palette::Metal, Palette::MetalDark);
    Emblems::questionMark(p, QPointF(21.5, 8.2), 1.0, QColor(Palette::AccentDark));
}

} // namespace

int UserTagArt::crossedBase(int index)
{
    for (const Crossing& c : Crossings) {
        if (c.index == index)
            return c.base;
    }
    return -1;
}

void UserTagArt::paint(QPainter& painter, int index)
{
    using Game = Emblems::Game;
    const QRectF plate(0.5, 1.5, 26, 15);
    switch (index) {
    case 0:
        shield(painter);
        break;
    case 1:
        globe(painter);
        break;
    case 2:
        gavel(painter);
        break;
    case 3:
        megaphone(painter);
        break;
    case 4:
        Emblems::gameBadge(painter, plate, Game::DiabloII);
        break;
    case 5:
        Emblems::gameBadge(painter, plate, Game::LordOfDestruction);
        break;
    case 6:
        Emblems::gameBadge(painter, plate, Game::WarcraftIII);
        break;
    case 7:
        Emblems::gameBadge(painter, plate, Game::FrozenThrone);
        break;
    case 8:
        Emblems::gameBadge(painter, plate, Game::BroodWar);
        break;
    case 9:
        chatter(painter);
        break;
    case 10:
        portrait(painter);
        break;
    case 11:
        stranger(painter);
        break;
    case 23:
        Emblems::gameBadge(painter, plate, Game::Diablo);
        break;
    case 25:
        Emblems::gameBadge(painter, plate, Game::StarCraft);
        break;
    case 27:
        Emblems::gameBadge(painter, plate, Game::WarcraftII);
        break;
    default:
        break;
    }
}
