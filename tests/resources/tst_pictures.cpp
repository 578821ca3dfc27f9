#include <limits>

#include <QtTest>

#include <QImage>
#include <QSet>

#include "resources/Pictures.h"

namespace {

QImage imageOf(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
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

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
