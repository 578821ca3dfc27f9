#include <limits>

#include <QtTest>

#include <QAction>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QPixmapCache>
#include <QSet>
#include <QToolButton>
#include <functional>

#include "resources/Pictures.h"

namespace {

// The pixels alone: the ratio a pixmap carries is checked where it matters.
QImage imageOf(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// Share of the pixels with any paint on them, and the number of distinct colours.
struct Coverage
{
    double painted = 0;
    int colours = 0;
};

Coverage coverageOf(const QImage& image)
{
    QSet<QRgb> colours;
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            if (qAlpha(px) > 0)
                ++painted;
            colours.insert(px);
        }
    }
    return {double(painted) / (image.width() * image.height()), int(colours.size())};
}

// A picture as a screen of some density asks for it, and its size in logical pixels.
struct Sample
{
    QSize logical;
    std::function<QPixmap(qreal ratio)> draw;
};

const QMap<QString, Sample>& samples()
{
    static const QMap<QString, Sample> map{
        {"first toolbar picture", {{24, 24}, [](qreal r) { return Pictures::toolbar(0, r); }}},
        {"last toolbar picture",
         {{24, 24}, [](qreal r) { return Pictures::toolbar(Pictures::ToolbarCount - 1, r); }}},
        {"user tag", {{27, 18}, [](qreal r) { return Pictures::userTag(0, r); }}},
        {"crossed-out user tag", {{27, 18}, [](qreal r) { return Pictures::userTag(12, r); }}},
        {"logo banner", {{180, 34}, [](qreal r) { return Pictures::logoBanner(r); }}},
        {"about picture", {{235, 130}, [](qreal r) { return Pictures::aboutPicture(r); }}},
        {"dialog banner", {{325, 40}, [](qreal r) { return Pictures::dialogBanner(325, r); }}},
        {"toolbar icon",
         {{24, 24},
          [](qreal r) {
              return Pictures::toolbarIcon(5).pixmap({24, 24}, r);
          }}},
        {"user tag icon",
         {{27, 18},
          [](qreal r) {
              return Pictures::userTagIcon(3).pixmap({27, 18}, r);
          }}},
        {"small program icon",
         {{16, 16},
          [](qreal r) {
              return Pictures::programIcon().pixmap({16, 16}, r);
          }}},
        {"program icon",
         {{48, 48},
          [](qreal r) {
              return Pictures::programIcon().pixmap({48, 48}, r);
          }}},
    };
    return map;
}

// How far apart two pictures of one size are: the mean difference of their channels (0-255).
double distance(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qAlpha(p) - qAlpha(q)) + std::abs(qRed(p) - qRed(q)) +
                   std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (4.0 * a.width() * a.height());
}

bool isRed(QRgb px)
{
    return qAlpha(px) > 200 && qRed(px) > 170 && qGreen(px) < 90 && qBlue(px) < 90;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolbarPictures();
    void indexOutOfRange_data();
    void indexOutOfRange();
    void userTags();
    void crossedOutTags_data();
    void crossedOutTags();
    void picturesDifferFromEachOther();
    void banners();
    void dialogBannerWidths_data();
    void dialogBannerWidths();
    void programIconSizes();
    void sharpAtEveryRatio_data();
    void sharpAtEveryRatio();
    void iconsDrawTheAskedRatio_data();
    void iconsDrawTheAskedRatio();
    void iconsAtOtherSizes_data();
    void iconsAtOtherSizes();
    void iconModesLookAsThePlainIcons_data();
    void iconModesLookAsThePlainIcons();
    void disabledToolButton();
    void iconsDrawNothingUntilAsked();
    void unusableRatios();
};

void TestPictures::toolbarPictures()
{
    for (int i = 0; i < Pictures::ToolbarCount; ++i) {
        const QImage image = imageOf(Pictures::toolbar(i));
        QCOMPARE(image.size(), QSize(24, 24));
        QVERIFY2(qAlpha(image.pixel(0, 0)) == 0, qPrintable(QString::number(i)));
        const Coverage c = coverageOf(image);
        QVERIFY2(c.painted > 0.15 && c.colours > 4, qPrintable(QString::number(i)));

        const QIcon icon = Pictures::toolbarIcon(i);
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(QSize(24, 24), 1.0).size(), QSize(24, 24));
        // The sharp doubled drawing, not the small one blown up.
        const QImage doubled = imageOf(icon.pixmap(QSize(24, 24), 2.0));
        QCOMPARE(doubled.size(), QSize(48, 48));
        QVERIFY(doubled != image.scaled(48, 48));
    }
}

void TestPictures::indexOutOfRange_data()
{
    QTest::addColumn<int>("toolbar");
    QTest::addColumn<int>("userTag");
    QTest::newRow("negative") << -1 << -1;
    QTest::newRow("one past the end") << Pictures::ToolbarCount << Pictures::UserTagCount;
    QTest::newRow("far off") << 100000 << 100000;
    QTest::newRow("most negative")
        << std::numeric_limits<int>::min() << std::numeric_limits<int>::min();
}

void TestPictures::indexOutOfRange()
{
    QFETCH(int, toolbar);
    QFETCH(int, userTag);
    QVERIFY(Pictures::toolbar(toolbar).isNull());
    QVERIFY(Pictures::toolbarIcon(toolbar).isNull());
    QVERIFY(Pictures::userTag(userTag).isNull());
    QVERIFY(Pictures::userTagIcon(userTag).isNull());
}

void TestPictures::userTags()
{
    for (int i = 0; i < Pictures::UserTagCount; ++i) {
        const QImage image = imageOf(Pictures::userTag(i));
        QCOMPARE(image.size(), QSize(27, 18));
        const Coverage c = coverageOf(image);
        QVERIFY2(c.painted > 0.15 && c.colours > 4, qPrintable(QString::number(i)));
    }
}

void TestPictures::crossedOutTags_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("base");
    const int table[][2] = {{12, 0},  {13, 1},  {14, 2},  {15, 3},  {16, 5},
                            {17, 6},  {18, 7},  {19, 8},  {20, 9},  {21, 10},
                            {22, 11}, {24, 23}, {26, 25}, {28, 27}, {29, 4}};
    for (const auto& row : table)
        QTest::addRow("%d from %d", row[0], row[1]) << row[0] << row[1];
}

void TestPictures::crossedOutTags()
{
    QFETCH(int, index);
    QFETCH(int, base);
    const QImage crossed = imageOf(Pictures::userTag(index));
    const QImage plain = imageOf(Pictures::userTag(base));
    QVERIFY(crossed != plain);

    // Both strokes of the X run from corner to corner.
    const int w = crossed.width() - 1;
    const int h = crossed.height() - 1;
    for (double t : {0.25, 0.5, 0.75}) {
        const QPoint falling(qRound(t * w), qRound(t * h));
        const QPoint rising(qRound(t * w), qRound((1 - t) * h));
        QVERIFY2(isRed(crossed.pixel(falling)), qPrintable(QString::number(t)));
        QVERIFY2(isRed(crossed.pixel(rising)), qPrintable(QString::number(t)));
    }
}

// Catches a picture drawn for the wrong index or two indexes sharing one drawing.
void TestPictures::picturesDifferFromEachOther()
{
    QList<QImage> seen;
    for (int i = 0; i < Pictures::ToolbarCount; ++i) {
        const QImage image = imageOf(Pictures::toolbar(i));
        QVERIFY2(!seen.contains(image), qPrintable(QStringLiteral("toolbar %1").arg(i)));
        seen << image;
    }
    seen.clear();
    for (int i = 0; i < Pictures::UserTagCount; ++i) {
        const QImage image = imageOf(Pictures::userTag(i));
        QVERIFY2(!seen.contains(image), qPrintable(QStringLiteral("user tag %1").arg(i)));
        seen << image;
    }
}

void TestPictures::banners()
{
    const QImage logo = imageOf(Pictures::logoBanner());
    QCOMPARE(logo.size(), QSize(180, 34));
    // The strip behind the logo shows through.
    QCOMPARE(qAlpha(logo.pixel(logo.width() - 1, 0)), 0);
    QVERIFY(coverageOf(logo).painted > 0.1);

    const QImage about = imageOf(Pictures::aboutPicture());
    QCOMPARE(about.size(), QSize(235, 130));
    QCOMPARE(about.pixel(0, 0), qRgb(255, 255, 255));
    QVERIFY(coverageOf(about).colours > 50);

    // Drawn once and handed out again.
    QCOMPARE(Pictures::logoBanner().cacheKey(), Pictures::logoBanner().cacheKey());
}

void TestPictures::dialogBannerWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("valid");
    QTest::newRow("one pixel") << 1 << true;
    QTest::newRow("narrower than the name") << 60 << true;
    QTest::newRow("connect dialog") << 325 << true;
    QTest::newRow("wide") << 1200 << true;
    QTest::newRow("zero") << 0 << false;
    QTest::newRow("negative") << -40 << false;
    QTest::newRow("absurd") << 50000000 << false;
}

void TestPictures::dialogBannerWidths()
{
    QFETCH(int, width);
    QFETCH(bool, valid);
    const QPixmap banner = Pictures::dialogBanner(width);
    if (!valid) {
        QVERIFY(banner.isNull());
        return;
    }
    const QImage image = imageOf(banner);
    QCOMPARE(image.size(), QSize(width, 40));
    // Opaque all over: the dialog's own colour must not show through the strip.
    for (int x = 0; x < width; x += qMax(1, width / 16))
        QCOMPARE(qAlpha(image.pixel(x, 20)), 255);
}

void TestPictures::programIconSizes()
{
    const QIcon icon = Pictures::programIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 32, 48, 256}) {
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        const Coverage c = coverageOf(imageOf(icon.pixmap(QSize(side, side), 1.0)));
        QVERIFY(c.painted > 0.3);
    }
}

void TestPictures::sharpAtEveryRatio_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<qreal>("ratio");
    for (const QString& picture : samples().keys()) {
        for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0})
            QTest::addRow("%s at %g", qPrintable(picture), ratio) << picture << ratio;
    }
}

void TestPictures::sharpAtEveryRatio()
{
    QFETCH(QString, picture);
    QFETCH(qreal, ratio);
    const Sample& sample = samples()[picture];
    const QPixmap pixmap = sample.draw(ratio);
    const QSize device(qRound(sample.logical.width() * ratio),
                       qRound(sample.logical.height() * ratio));
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QCOMPARE(pixmap.size(), device);
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), sample.logical);

    const QImage plain = imageOf(sample.draw(1));
    const QImage dense = imageOf(pixmap);
    if (ratio > 1) {
        // Drawn for the density, not the plain picture blown up...
        for (Qt::TransformationMode mode : {Qt::FastTransformation, Qt::SmoothTransformation})
            QVERIFY(dense != plain.scaled(device, Qt::IgnoreAspectRatio, mode));
    }
    // ...yet the same picture: brought back to its logical size it is close to the plain one.
    const QImage back =
        dense.scaled(sample.logical, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(distance(back, plain) < 20, qPrintable(QString::number(distance(back, plain))));
}

void TestPictures::iconsDrawTheAskedRatio_data()
{
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0})
        QTest::addRow("%g", ratio) << ratio;
}

// An icon asked for its picture on a screen of some density is that density's own drawing, in
// the device size of the density, whichever ratios are common.
void TestPictures::iconsDrawTheAskedRatio()
{
    QFETCH(qreal, ratio);
    const QPixmap toolbar = Pictures::toolbarIcon(ToolbarPicture(2)).pixmap({24, 24}, ratio);
    QCOMPARE(toolbar.size(), QSize(qRound(24 * ratio), qRound(24 * ratio)));
    QCOMPARE(toolbar.devicePixelRatio(), ratio);
    QCOMPARE(imageOf(toolbar), imageOf(Pictures::toolbar(ToolbarPicture(2), ratio)));

    const QPixmap tag = Pictures::userTagIcon(20).pixmap({27, 18}, ratio);
    QCOMPARE(tag.size(), QSize(qRound(27 * ratio), qRound(18 * ratio)));
    QCOMPARE(imageOf(tag), imageOf(Pictures::userTag(20, ratio)));

    // The program icon's sizes each have their own drawing: 32 pixels at ratio 1.5 are the
    // drawing made for 48.
    const int device = qRound(32 * ratio);
    const QPixmap program = Pictures::programIcon().pixmap({32, 32}, ratio);
    QCOMPARE(program.size(), QSize(device, device));
    QCOMPARE(imageOf(program), imageOf(Pictures::programIcon().pixmap({device, device}, 1.0)));

    const QPixmap disabled =
        Pictures::toolbarIcon(ToolbarPicture(2)).pixmap({24, 24}, ratio, QIcon::Disabled);
    QCOMPARE(disabled.devicePixelRatio(), ratio);
    QCOMPARE(disabled.size(), toolbar.size());
    QVERIFY(imageOf(disabled) != imageOf(toolbar));
    // Drawn once for each ratio.
    QCOMPARE(Pictures::logoBanner(ratio).cacheKey(), Pictures::logoBanner(ratio).cacheKey());
}

void TestPictures::iconsAtOtherSizes_data()
{
    QTest::addColumn<QSize>("asked");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("device");
    QTest::addColumn<qreal>("drawnAt");
    // clang-format off
    // A menu's 16 pixels: smaller than the picture, it is the plain drawing made smaller...
    QTest::newRow("menu") << QSize(16, 16) << 1.0 << QSize(16, 16) << 0.0;
    // ...until the screen's density leaves room for a drawing of its own.
    QTest::newRow("menu at 2") << QSize(16, 16) << 2.0 << QSize(32, 32) << 32 / 24.0;
    QTest::newRow("larger") << QSize(40, 40) << 1.0 << QSize(40, 40) << 40 / 24.0;
    QTest::newRow("not square") << QSize(48, 30) << 1.0 << QSize(30, 30) << 1.25;
    // Beyond the largest ratio, the largest drawing rather than one blown up.
    QTest::newRow("huge") << QSize(500, 500) << 1.0 << QSize(96, 96) << 4.0;
    // clang-format on
}

void TestPictures::iconsAtOtherSizes()
{
    QFETCH(QSize, asked);
    QFETCH(qreal, ratio);
    QFETCH(QSize, device);
    QFETCH(qreal, drawnAt);
    const QIcon icon = Pictures::toolbarIcon(ToolbarPicture::Gears);
    const QPixmap pixmap = icon.pixmap(asked, ratio);
    QCOMPARE(pixmap.size(), device);
    if (ratio == 1)
        QCOMPARE(icon.actualSize(asked), device);
    const QPixmap expected =
        drawnAt > 0 ? Pictures::toolbar(ToolbarPicture::Gears, drawnAt)
                    : QIcon(Pictures::toolbar(ToolbarPicture::Gears)).pixmap(asked, ratio);
    QCOMPARE(imageOf(pixmap), imageOf(expected));
}

void TestPictures::iconModesLookAsThePlainIcons_data()
{
    QTest::addColumn<QIcon::Mode>("mode");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<bool>("differs");
    // clang-format off
    QTest::newRow("disabled") << QIcon::Disabled << 1.0 << true;
    QTest::newRow("disabled at 1.5") << QIcon::Disabled << 1.5 << true;
    QTest::newRow("selected") << QIcon::Selected << 1.0 << true;
    QTest::newRow("selected at 2") << QIcon::Selected << 2.0 << true;
    QTest::newRow("active") << QIcon::Active << 1.0 << false;
    // clang-format on
}

// The other modes look as the style makes them from the drawing for the density, as for an icon
// made of that drawing alone; painted or taken as a pixmap alike.
void TestPictures::iconModesLookAsThePlainIcons()
{
    QFETCH(QIcon::Mode, mode);
    QFETCH(qreal, ratio);
    QFETCH(bool, differs);
    const struct
    {
        QIcon drawn;
        QPixmap plain;
        QSize size;
    } icons[] = {
        {Pictures::toolbarIcon(ToolbarPicture::Star),
         Pictures::toolbar(ToolbarPicture::Star, ratio),
         {24, 24}},
        {Pictures::userTagIcon(7), Pictures::userTag(7, ratio), {27, 18}},
    };
    for (const auto& icon : icons) {
        const QImage expected = imageOf(QIcon(icon.plain).pixmap(icon.size, ratio, mode));
        const QImage drawn = imageOf(icon.drawn.pixmap(icon.size, ratio, mode));
        QCOMPARE(drawn, expected);
        QCOMPARE(drawn != imageOf(icon.plain), differs);

        QPixmap painted(icon.plain.size());
        painted.setDevicePixelRatio(ratio);
        painted.fill(Qt::transparent);
        QPainter painter(&painted);
        icon.drawn.paint(&painter, QRect(QPoint(0, 0), icon.size), Qt::AlignCenter, mode);
        painter.end();
        QCOMPARE(imageOf(painted), expected);
    }
}

// What a toolbar button shows for an action that cannot be used is the style's greyed picture,
// as with an icon holding the drawing itself.
void TestPictures::disabledToolButton()
{
    const auto shown = [](const QIcon& icon, bool enabled) {
        QAction action(icon, QStringLiteral("Conectar"));
        action.setEnabled(enabled);
        QToolButton button;
        button.setDefaultAction(&action);
        button.setIconSize({24, 24});
        button.setToolButtonStyle(Qt::ToolButtonIconOnly);
        button.resize(32, 32);
        return button.grab().toImage();
    };
    const QIcon drawn = Pictures::toolbarIcon(ToolbarPicture::PlugJoined);
    const QIcon plain(Pictures::toolbar(ToolbarPicture::PlugJoined));
    QCOMPARE(shown(drawn, false), shown(plain, false));
    QCOMPARE(shown(drawn, true), shown(plain, true));
    QVERIFY(shown(drawn, false) != shown(drawn, true));
}

// Building an icon draws none of its densities; asking for one draws that one, once.
void TestPictures::iconsDrawNothingUntilAsked()
{
    QPixmapCache::clear();
    QList<QIcon> icons;
    for (int i = 0; i < Pictures::ToolbarCount; ++i)
        icons << Pictures::toolbarIcon(i);
    for (int i = 0; i < Pictures::UserTagCount; ++i)
        icons << Pictures::userTagIcon(i);
    icons << Pictures::programIcon();
    for (const QIcon& icon : icons) {
        QVERIFY(!icon.isNull());
        QVERIFY(!icon.availableSizes().isEmpty());
        QVERIFY(icon.actualSize({24, 24}).isValid());
    }
    const auto drawn = [](const QString& kind, int count) {
        QStringList keys;
        for (int i = 0; i < count; ++i) {
            for (const char* ratio : {"1", "1.25", "1.5", "2", "3"}) {
                const QString key = QStringLiteral("tulmo/%1/%2@%3").arg(kind).arg(i).arg(ratio);
                QPixmap found;
                if (QPixmapCache::find(key, &found))
                    keys << key;
            }
        }
        return keys;
    };
    QCOMPARE(drawn("toolbar", Pictures::ToolbarCount), QStringList());
    QCOMPARE(drawn("usertag", Pictures::UserTagCount), QStringList());
    QPixmap found;
    for (int size : {16, 20, 24, 32, 48, 256})
        QVERIFY(!QPixmapCache::find(QStringLiteral("tulmo/icon/%1").arg(size), &found));

    // The program icon's large drawings, taken once by the desktop, are not kept.
    icons.last().pixmap({16, 16}, 1.0);
    icons.last().pixmap({256, 256}, 1.0);
    QVERIFY(QPixmapCache::find(QStringLiteral("tulmo/icon/16"), &found));
    QVERIFY(!QPixmapCache::find(QStringLiteral("tulmo/icon/256"), &found));

    const qint64 first = icons[3].pixmap({24, 24}, 1.5).cacheKey();
    QCOMPARE(drawn("toolbar", Pictures::ToolbarCount), QStringList{"tulmo/toolbar/3@1.5"});
    QCOMPARE(icons[3].pixmap({24, 24}, 1.5).cacheKey(), first);
}

// A ratio no screen has is brought within reach rather than drawn at any size.
void TestPictures::unusableRatios()
{
    QCOMPARE(Pictures::toolbar(0, 0).devicePixelRatio(), 1.0);
    QCOMPARE(Pictures::toolbar(0, -2).devicePixelRatio(), 1.0);
    QCOMPARE(Pictures::toolbar(0, qQNaN()).devicePixelRatio(), 1.0);
    QCOMPARE(Pictures::dialogBanner(1000, 1000).size(), QSize(1000, 40) * int(Pictures::MaxRatio));
}

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
