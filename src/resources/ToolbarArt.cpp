#include "resources/ToolbarArt.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QtMath>

#include "resources/Emblems.h"
#include "resources/Palette.h"
#include "resources/PixelFont.h"

namespace {

QPen outline(QRgb colour, qreal width = 1.0)
{
    return Emblems::outline(colour, width);
}

QColor rgba(QRgb value)
{
    return QColor::fromRgba(value);
}

// The plug and the socket, drawn along a horizontal axis that the caller turns onto the
// diagonal; gap is the distance between the plug's face and the socket's face.
void plugPair(QPainter& p, qreal gap)
{
    p.save();
    p.translate(12, 12);
    p.rotate(-45);
    const qreal plugFace = -gap / 2;
    const qreal socketFace = gap / 2;

    p.setPen(outline(Palette::Ink, 2.6));
    p.drawLine(QPointF(-17, 0), QPointF(plugFace - 7, 0));
    p.drawLine(QPointF(socketFace + 7, 0), QPointF(17, 0));

    if (gap > 0) {
        p.setPen(outline(Palette::InkSoft, 0.8));
        p.setBrush(Emblems::topLit(QRectF(0, -3, 4, 6), 0xfff6f8fa, Palette::MetalDark));
        p.drawRect(QRectF(plugFace, -3.2, 3, 1.8));
        p.drawRect(QRectF(plugFace, 1.4, 3, 1.8));
    }
    const QRectF plug(plugFace - 8, -5, 8, 10);
    p.setPen(outline(Palette::Ink));
    p.setBrush(Emblems::topLit(plug, 0xfff4f6f8, Palette::MetalDark));
    p.drawRoundedRect(plug, 2, 2);
    const QRectF socket(socketFace, -5.5, 8, 11);
    p.setPen(outline(Palette::BrandDark));
    p.setBrush(Emblems::topLit(socket, Palette::BrandLight, Palette::BrandDark));
    p.drawRoundedRect(socket, 2, 2);
    if (gap > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(rgba(Palette::BrandDark));
        p.drawRect(QRectF(socketFace, -3, 1.5, 1.6));
        p.drawRect(QRectF(socketFace, 1.4, 1.5, 1.6));
        // Sparks fly out of the gap on both sides.
        p.setPen(outline(Palette::Stop, 1.2));
        for (qreal side : {-1.0, 1.0}) {
            p.drawLine(QPointF(0, side * 6.5), QPointF(0, side * 9.5));
            p.drawLine(QPointF(-2.2, side * 6.5), QPointF(-3.8, side * 8.8));
            p.drawLine(QPointF(2.2, side * 6.5), QPointF(3.8, side * 8.8));
        }
    }
    p.restore();
}

void plugJoined(QPainter& p)
{
    plugPair(p, 0);
}

void plugApart(QPainter& p)
{
    plugPair(p, 6);
}

void homeBubble(QPainter& p)
{
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(1.5, 2.5, 21, 15), 4.5, 4.5);
    QPainterPath tail;
    tail.moveTo(5, 16);
    tail.lineTo(4, 22);
    tail.lineTo(11, 17);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(outline(Palette::BrandDark));
    p.setBrush(Emblems::topLit(QRectF(0, 2, 24, 20), Palette::BrandLight, Palette::BrandDark));
    p.drawPath(bubble);

    // A small house: the home channel.
    QPainterPath house;
    house.moveTo(6.5, 10.5);
    house.lineTo(12, 5.5);
    house.lineTo(17.5, 10.5);
    house.lineTo(15.5, 10.5);
    house.lineTo(15.5, 14.5);
    house.lineTo(8.5, 14.5);
    house.lineTo(8.5, 10.5);
    house.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(house);
    p.setBrush(rgba(Palette::Accent));
    p.drawRect(QRectF(11, 11.5, 2, 3));
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner, int points)
{
    QPainterPath star;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    return star;
}

void star(QPainter& p)
{
    p.setPen(outline(Palette::GoldDark));
    p.setBrush(Emblems::topLit(QRectF(0, 1, 24, 21), 0xfffff0a0, 0xffe8a21c));
    p.drawPath(starPath(QPointF(12, 12.8), 11, 4.8, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(10.5, 9.5), 1.6, 1.1);
}

void away(QPainter& p)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(11, 13), 9.5, 9.5);
    QPainterPath bite;
    bite.addEllipse(QPointF(16.5, 8.5), 8, 8);
    const QPainterPath moon = disc.subtracted(bite);
    p.setPen(outline(Palette::GoldDark));
    p.setBrush(Emblems::topLit(QRectF(0, 3, 24, 20), 0xfffff3b0, 0xffe6a927));
    p.drawPath(moon);

    // "z z": asleep, away from the keyboard.
    p.setPen(outline(Palette::SkyDark, 1.3));
    p.setBrush(Qt::NoBrush);
    QPainterPath z;
    z.moveTo(15.5, 2.5);
    z.lineTo(19.5, 2.5);
    z.lineTo(15.5, 7);
    z.lineTo(19.5, 7);
    p.drawPath(z);
    QPainterPath small;
    small.moveTo(19.5, 10);
    small.lineTo(22.5, 10);
    small.lineTo(19.5, 13.5);
    small.lineTo(22.5, 13.5);
    p.drawPath(small);
}

void noEntry(QPainter& p)
{
    p.setPen(outline(Palette::StopDark));
    p.setBrush(Emblems::topLit(QRectF(1, 1, 22, 22), 0xffff6a5a, 0xffb51f16));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5.5, 10, 13, 4), 1, 1);
}

QPainterPath gearPath(QPointF centre, qreal outer, qreal root, qreal hole, int teeth)
{
    QPainterPath gear;
    const qreal step = 2 * M_PI / teeth;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = i * step;
        const qreal angles[] = {a - step * 0.38, a - step * 0.2, a + step * 0.2, a + step * 0.38};
        const qreal radii[] = {root, outer, outer, root};
        for (int k = 0; k < 4; ++k) {
            const QPointF pt(centre.x() + radii[k] * std::cos(angles[k]),
                             centre.y() + radii[k] * std::sin(angles[k]));
            if (i == 0 && k == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    QPainterPath bore;
    bore.addEllipse(centre, hole, hole);
    return gear.subtracted(bore);
}

void gears(QPainter& p)
{
    p.setPen(outline(Palette::InkSoft));
    p.setBrush(Emblems::topLit(QRectF(0, 1, 20, 18), 0xfff2f5f8, Palette::MetalDark));
    p.drawPath(gearPath(QPointF(9.5, 9.5), 8.8, 6.4, 2.6, 9));
    p.setPen(outline(Palette::AccentDark));
    p.setBrush(Emblems::topLit(QRectF(11, 11, 13, 13), 0xffffd08a, Palette::AccentDark));
    p.drawPath(gearPath(QPointF(17.5, 17.5), 5.8, 4.0, 1.7, 7));
}

void notebook(QPainter& p)
{
    const QRectF page(5.5, 1.5, 15, 21);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(page.translated(1, 1), 1.5, 1.5);
    p.setPen(outline(Palette::Ink));
    p.setBrush(rgba(Palette::Paper));
    p.drawRoundedRect(page, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(Palette::Brand));
    p.drawRect(QRectF(6, 2, 3, 20));

    p.setPen(outline(0xff9cc3e6, 1.0));
    for (qreal y = 6.5; y < 21; y += 3)
        p.drawLine(QPointF(11, y), QPointF(18.5, y));
    // The spiral binding.
    p.setPen(outline(Palette::Ink, 1.2));
    p.setBrush(Qt::NoBrush);
    for (qreal y = 4; y < 22; y += 4)
        p.drawArc(QRectF(3.5, y - 1.25, 4, 2.5), 90 * 16, 180 * 16);
}

void about(QPainter& p)
{
    p.setPen(outline(Palette::SkyDark));
    p.setBrush(Emblems::topLit(QRectF(1, 1, 22, 22), 0xff7cb6f5, Palette::SkyDark));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    Emblems::questionMark(p, QPointF(12, 11.3), 1.05, Qt::white);
}

void floppy(QPainter& p)
{
    QPainterPath body;
    body.moveTo(3.5, 2.5);
    body.lineTo(18, 2.5);
    body.lineTo(21.5, 6);
    body.lineTo(21.5, 21.5);
    body.lineTo(3.5, 21.5);
    body.closeSubpath();
    p.setPen(outline(Palette::SkyDark));
    p.setBrush(Emblems::topLit(QRectF(3, 2, 19, 20), 0xff5d8fd6, 0xff27508f));
    p.drawPath(body);

    p.setPen(outline(Palette::MetalDark, 0.8));
    p.setBrush(Emblems::topLit(QRectF(7, 3, 10, 6), 0xfff0f3f6, Palette::Metal));
    p.drawRect(QRectF(7.5, 2.9, 9, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(rgba(Palette::SkyDark));
    p.drawRect(QRectF(13, 3.9, 2, 4));

    p.setPen(outline(0xffc9d3e0, 0.8));
    p.setBrush(rgba(Palette::Paper));
    p.drawRect(QRectF(6.5, 12.5, 12, 8));
    p.setPen(outline(0xffd86a5a, 1.0));
    p.drawLine(QPointF(8, 15), QPointF(17, 15));
    p.setPen(outline(0xffa8b4c0, 1.0));
    p.drawLine(QPointF(8, 18), QPointF(15, 18));
}

void backArrow(QPainter& p)
{
    QPainterPath shaft;
    shaft.moveTo(9, 9);
    shaft.lineTo(14, 9);
    shaft.cubicTo(22, 9, 22, 20, 14, 20);
    shaft.lineTo(11, 20);
    QPainterPathStroker stroker;
    stroker.setWidth(4);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath arrow = stroker.createStroke(shaft);
    QPainterPath head;
    head.moveTo(2, 9);
    head.lineTo(10, 2.5);
    head.lineTo(10, 15.5);
    head.closeSubpath();
    arrow = arrow.united(head);
    p.setPen(outline(Palette::GoDark));
    p.setBrush(Emblems::topLit(QRectF(2, 2, 20, 20), 0xff8ee08a, Palette::GoDark));
    p.drawPath(arrow);
}

// Tulmo's monogram with a tag in a corner: "www" for the site, "F" for the forum, "/A" admin.
void monogramTagged(QPainter& p, const QString& tag)
{
    Emblems::monogram(p, QRectF(0, 0, 24, 24));
    // "www" is lower case: its glyphs leave the two top rows of the cell empty.
    const bool lower = tag == QLatin1String("www");
    const qreal w = PixelFont::width(tag) + 3;
    const qreal h = lower ? 8 : 10;
    const QRectF plate(23.5 - w, 23.5 - h, w, h);
    p.setPen(outline(Palette::AccentDark));
    p.setBrush(Emblems::topLit(plate, 0xffffffff, 0xffffe2b8));
    p.drawRoundedRect(plate, 2, 2);
    const qreal top = lower ? plate.top() - 0.5 : plate.top() + 1.5;
    PixelFont::draw(p, tag, QPointF(plate.left() + 1.5, top), rgba(Palette::BrandDark));
}

void gamesMenu(QPainter& p)
{
    p.setPen(outline(Palette::GoldDark));
    p.setBrush(Emblems::topLit(QRectF(1, 1, 22, 22), 0xff4a5866, 0xff161d24));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    p.setPen(outline(Palette::Gold, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(12, 12), 9, 9);

    // A game pad.
    QPainterPath pad;
    pad.addRoundedRect(QRectF(4.5, 8.5, 15, 7), 3.5, 3.5);
    QPainterPath grips;
    grips.addEllipse(QPointF(7, 15), 2.5, 3);
    grips.addEllipse(QPointF(17, 15), 2.5, 3);
    pad = pad.united(grips);
    p.setPen(Qt::NoPen);
    p.setBrush(Emblems::topLit(QRectF(4, 8, 16, 11), 0xfff4f6f8, Palette::Metal));
    p.drawPath(pad);
    p.setBrush(rgba(Palette::Ink));
    p.drawRect(QRectF(6, 11.2, 4, 1.6));
    p.drawRect(QRectF(7.2, 10, 1.6, 4));
    p.setBrush(rgba(Palette::Stop));
    p.drawEllipse(QPointF(16.8, 11), 1.1, 1.1);
    p.setBrush(rgba(Palette::Go));
    p.drawEllipse(QPointF(15, 13), 1.1, 1.1);
}

void screenshot(QPainter& p)
{
    const QRectF frame(1.5, 3.5, 18, 14);
    p.setPen(outline(Palette::Ink));
    p.setBrush(Qt::white);
    p.drawRect(frame);
    const QRectF view = frame.adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Emblems::topLit(view, 0xff9fd2ff, 0xffdff0ff));
    p.drawRect(view);
    p.setBrush(rgba(Palette::Gold));
    p.drawEllipse(QPointF(14.5, 8), 1.8, 1.8);
    QPainterPath hills;
    hills.moveTo(view.left(), view.bottom());
    hills.lineTo(7, 9.5);
    hills.lineTo(10.5, 13);
    hills.lineTo(13, 11);
    hills.lineTo(view.right(), view.bottom());
    hills.closeSubpath();
    p.setBrush(rgba(0xff4e9a52));
    p.drawPath(hills);

    p.setPen(outline(Palette::GoDark));
    p.setBrush(Emblems::topLit(QRectF(12, 12, 12, 12), 0xff7fdc86, Palette::GoDark));
    p.drawEllipse(QPointF(18, 18), 5.3, 5.3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15, 17, 6, 2));
    p.drawRect(QRectF(17, 15, 2, 6));
}

} // namespace

void ToolbarArt::paint(QPainter& painter, ToolbarPicture picture)
{
    using Game = Emblems::Game;
    const QRectF plate(0.5, 3.5, 23, 17);
    switch (picture) {
    case ToolbarPicture::PlugJoined:
        plugJoined(painter);
        break;
    case ToolbarPicture::PlugApart:
        plugApart(painter);
        break;
    case ToolbarPicture::HomeChannel:
        homeBubble(painter);
        break;
    case ToolbarPicture::Star:
        star(painter);
        break;
    case ToolbarPicture::Away:
        away(painter);
        break;
    case ToolbarPicture::NoEntry:
        noEntry(painter);
        break;
    case ToolbarPicture::Gears:
        gears(painter);
        break;
    case ToolbarPicture::Notebook:
        notebook(painter);
        break;
    case ToolbarPicture::QuestionMark:
        about(painter);
        break;
    case ToolbarPicture::Floppy:
        floppy(painter);
        break;
    case ToolbarPicture::BackArrow:
        backArrow(painter);
        break;
    case ToolbarPicture::SiteLogo:
        monogramTagged(painter, QStringLiteral("www"));
        break;
    case ToolbarPicture::ForumLogo:
        monogramTagged(painter, QStringLiteral("F"));
        break;
    case ToolbarPicture::AdminLogo:
        monogramTagged(painter, QStringLiteral("/A"));
        break;
    case ToolbarPicture::DiabloII:
        Emblems::gameBadge(painter, plate, Game::DiabloII);
        break;
    case ToolbarPicture::StarCraft:
        Emblems::gameBadge(painter, plate, Game::StarCraft);
        break;
    case ToolbarPicture::StarCraftDisc:
        Emblems::gameBadge(painter, QRectF(1.5, 1.5, 21, 21), Game::StarCraft,
                           Emblems::BadgeShape::Disc);
        break;
    case ToolbarPicture::WarcraftIII:
        Emblems::gameBadge(painter, plate, Game::WarcraftIII);
        break;
    case ToolbarPicture::FrozenThrone:
        Emblems::gameBadge(painter, plate, Game::FrozenThrone);
        break;
    case ToolbarPicture::GamesMenu:
        gamesMenu(painter);
        break;
    case ToolbarPicture::Screenshot:
        screenshot(painter);
        break;
    }
}
