#include <QImage>
#include <QPainter>
#include <QTest>

#include "dialogs/PictureLabel.h"

namespace {

constexpr QSize PictureSize(6, 4);

// Columns one device pixel wide, black and white by turns: any scaling of the drawing for
// another density blurs or doubles them.
QPixmap stripes(qreal ratio)
{
    QImage image(PictureSize * ratio, QImage::Format_RGB32);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y)
            image.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

class TestPictureLabel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void drawsAtTheDensityPaintedOn_data();
    void drawsAtTheDensityPaintedOn();
};

void TestPictureLabel::drawsAtTheDensityPaintedOn_data()
{
    QTest::addColumn<qreal>("ratio");
    // clang-format off
    QTest::newRow("ordinary screen") << 1.0;
    QTest::newRow("double density")  << 2.0;
    QTest::newRow("triple density")  << 3.0;
    // clang-format on
}

void TestPictureLabel::drawsAtTheDensityPaintedOn()
{
    QFETCH(qreal, ratio);
    QList<qreal> asked;
    PictureLabel label([&asked](qreal r) {
        asked.append(r);
        return stripes(r);
    });
    label.resize(PictureSize);
    // The widget's own density first, for pixmap() and the label's size.
    QCOMPARE(label.pixmap().deviceIndependentSize(), QSizeF(PictureSize));

    QImage painted(PictureSize * ratio, QImage::Format_RGB32);
    painted.setDevicePixelRatio(ratio);
    painted.fill(Qt::red);
    label.render(&painted);
    QCOMPARE(asked.last(), ratio);
    QImage expected = stripes(ratio).toImage().convertToFormat(QImage::Format_RGB32);
    expected.setDevicePixelRatio(ratio);
    QCOMPARE(painted, expected);

    // Painted again at the same density, the drawing is reused.
    const qsizetype drawings = asked.size();
    label.render(&painted);
    QCOMPARE(asked.size(), drawings);
}

QTEST_MAIN(TestPictureLabel)
#include "tst_picturelabel.moc"
