#include "resources/BannerArt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "resources/Emblems.h"
#include "resources/Palette.h"

namespace {

const QString ProductWord = QStringLiteral("Tulmo");
const QString ChatWord = QStringLiteral("Chat");

// The largest bold sans face, at most pixelSize high, in which text fits into maxWidth.
QFont fittedFont(const QString& text, int pixelSize, qreal maxWidth, bool bold = true)
{
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    for (int size = pixelSize; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= maxWidth)
            break;
    }
    return font;
}

// Text with its baseline at the given point, lifted by a one-pixel shadow or glow under it.
void liftedText(QPainter& p, QPointF baseline, const QString& text, const QFont& font, QColor ink,
                QColor under)
{
    p.setFont(font);
    p.setPen(under);
    p.drawText(baseline + QPointF(0, 1), text);
    p.setPen(ink);
    p.drawText(baseline, text);
}

} // namespace

void BannerArt::logoBanner(QPainter& p)
{
    Emblems::monogram(p, QRectF(2, 1, 32, 32));

    const qreal left = 40;
    const qreal room = LogoWidth - left - 2;
    const QString whole = ProductWord + QLatin1Char(' ') + ChatWord;
    const QFont font = fittedFont(whole, 22, room);
    const QFontMetricsF metrics(font);
    const qreal baseline = (LogoHeight + metrics.capHeight()) / 2.0;
    const QColor glow(255, 255, 255, 170);
    liftedText(p, QPointF(left, baseline), ProductWord, font, QColor(Palette::BrandDark), glow);
    const qreal chatX = left + metrics.horizontalAdvance(ProductWord + QLatin1Char(' '));
    liftedText(p, QPointF(chatX, baseline), ChatWord, font, QColor(Palette::AccentDark), glow);
}

void BannerArt::aboutPicture(QPainter& p)
{
    const QRectF card(0, 0, AboutWidth, AboutHeight);
    p.fillRect(card, Qt::white);

    // A soft teal card with a few faint bubbles behind the mark.
    const QRectF inner = card.adjusted(4.5, 4.5, -4.5, -4.5);
    QLinearGradient wash(inner.topLeft(), inner.bottomRight());
    wash.setColorAt(0, QColor(0xffe9f7f7));
    wash.setColorAt(1, QColor(0xffc6e8ea));
    p.setPen(Emblems::outline(0xff9ccfd3));
    p.setBrush(wash);
    p.drawRoundedRect(inner, 12, 12);

    p.save();
    QPainterPath clip;
    clip.addRoundedRect(inner, 12, 12);
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QPointF(200, 18), 34, 34);
    p.drawEllipse(QPointF(150, 120), 26, 26);
    p.setBrush(QColor(19, 144, 154, 28));
    p.drawEllipse(QPointF(30, 112), 40, 40);
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 60, 70, 40));
    p.drawEllipse(QPointF(60, 110), 34, 5);
    Emblems::monogram(p, QRectF(14, 14, 96, 96));

    const qreal left = 118;
    const qreal room = AboutWidth - left - 12;
    const QFont big = fittedFont(ProductWord, 34, room);
    const QColor glow(255, 255, 255, 200);
    liftedText(p, QPointF(left, 66), ProductWord, big, QColor(Palette::BrandDark), glow);

    QFont small = fittedFont(ChatWord.toUpper(), 17, room);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    liftedText(p, QPointF(left + 2, 90), ChatWord.toUpper(), small, QColor(Palette::AccentDark),
               glow);

    // Three dots, the chat's "typing" sign.
    p.setPen(Qt::NoPen);
    const QRgb dots[] = {Palette::Brand, Palette::BrandLight, Palette::Accent};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(QColor(dots[i]));
        p.drawEllipse(QPointF(left + 6 + i * 12, 104), 3.5, 3.5);
    }
}

void BannerArt::dialogBanner(QPainter& p, int width)
{
    const QRectF strip(0, 0, width, DialogHeight);
    QLinearGradient sweep(strip.topLeft(), strip.topRight());
    sweep.setColorAt(0, QColor(Palette::BrandDark));
    sweep.setColorAt(0.6, QColor(Palette::Brand));
    sweep.setColorAt(1, QColor(Palette::BrandLight));
    p.fillRect(strip, sweep);
    QLinearGradient sheen(strip.topLeft(), strip.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 60));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(strip, sheen);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawEllipse(QPointF(width - 30, 6), 26, 26);
    p.drawEllipse(QPointF(width - 78, 38), 16, 16);

    Emblems::monogram(p, QRectF(6, 4, 31, 31), Emblems::MonogramStyle::White);
    const QString whole = ProductWord + QLatin1Char(' ') + ChatWord;
    const QFont font = fittedFont(whole, 19, qMax(20, width - 52));
    const qreal baseline = (DialogHeight + QFontMetricsF(font).capHeight()) / 2.0;
    liftedText(p, QPointF(44, baseline), whole, font, Qt::white, QColor(0, 40, 46, 140));

    p.fillRect(QRectF(0, DialogHeight - 2, width, 2), QColor(Palette::Accent));
}

void BannerArt::programIcon(QPainter& p, int size)
{
    Emblems::monogram(p, QRectF(0, 0, size, size));
}
