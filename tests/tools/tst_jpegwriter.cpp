#include "tools/JpegWriter.h"

#include <cerrno>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A picture with flat areas, edges and fine detail, of an odd size.
QImage picture(QImage::Format format)
{
    QImage image(123, 77, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 2) & 0xFF, (y * 3) & 0xFF, ((x ^ y) * 37) & 0xFF));
    QPainter painter(&image);
    painter.fillRect(10, 10, 40, 30, QColor(200, 30, 40));
    painter.end();
    return image.convertToFormat(format);
}

// The first entry (the DC step) of the first quantization table: the step libjpeg's quality
// scaling gives the standard luminance table, 0 when the data holds no table.
int firstLuminanceStep(const QByteArray& jpeg)
{
    const qsizetype table = jpeg.indexOf(QByteArray("\xFF\xDB", 2));
    if (table < 0 || table + 5 >= jpeg.size())
        return 0;
    return quint8(jpeg.at(table + 5));
}

QString systemMessage(int code)
{
    return QString::fromStdString(std::generic_category().message(code));
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestJpegWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesAPictureThatDecodes_data();
    void writesAPictureThatDecodes();
    void qualityScalesTheQuantization_data();
    void qualityScalesTheQuantization();
    void refusedFileLeavesNothing_data();
    void refusedFileLeavesNothing();
    void emptyPictureIsRefused();
};

void TestJpegWriter::writesAPictureThatDecodes_data()
{
    QTest::addColumn<QImage::Format>("format");
    // clang-format off
    QTest::newRow("rgb32") << QImage::Format_RGB32;
    QTest::newRow("premultiplied alpha") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("grey") << QImage::Format_Grayscale8;
    QTest::newRow("indexed") << QImage::Format_Indexed8;
    // clang-format on
}

void TestJpegWriter::writesAPictureThatDecodes()
{
    QFETCH(QImage::Format, format);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.jpg"));
    QFile::remove(path);
    const QImage source = picture(format);
    JpegWriter writer;
    QVERIFY2(writer.write(source, path), qPrintable(writer.errorString()));

    QImage decoded;
    QVERIFY(decoded.load(path, "JPEG"));
    QCOMPARE(decoded.size(), source.size());
    // The middle of the flat area comes back close to its colour, the channels in their places.
    const QColor expected = source.pixelColor(30, 25);
    const QColor got = decoded.pixelColor(30, 25);
    QVERIFY2(qAbs(got.red() - expected.red()) < 12 && qAbs(got.green() - expected.green()) < 12 &&
                 qAbs(got.blue() - expected.blue()) < 12,
             qPrintable(got.name() + QLatin1String(" for ") + expected.name()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"1.jpg"});
}

void TestJpegWriter::qualityScalesTheQuantization_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("step");
    // The standard luminance DC step is 16; quality q >= 50 scales it by (200 - 2q) percent.
    // clang-format off
    QTest::newRow("the screenshots' quality") << JpegWriter::DefaultQuality << 3;
    QTest::newRow("highest") << 100 << 1;
    QTest::newRow("half") << 50 << 16;
    // clang-format on
}

void TestJpegWriter::qualityScalesTheQuantization()
{
    QFETCH(int, quality);
    const QImage source = picture(QImage::Format_RGB32);
    const QByteArray bytes = JpegWriter(quality).encode(source);
    QVERIFY(bytes.startsWith(QByteArray("\xFF\xD8\xFF", 3)));
    QTEST(firstLuminanceStep(bytes), "step");
    // Coarser steps make less data than the finest.
    if (quality < 100)
        QVERIFY(bytes.size() < JpegWriter(100).encode(source).size());
}

void TestJpegWriter::refusedFileLeavesNothing_data()
{
    QTest::addColumn<QString>("name"); // in a folder that holds "arquivo" (a file) and "pasta/"
    QTest::addColumn<int>("reason");   // errno
    // clang-format off
    QTest::newRow("parent is a file") << "arquivo/1.jpg" << ENOTDIR;
    QTest::newRow("missing folder") << "nada/1.jpg" << ENOENT;
    QTest::newRow("name of a folder") << "pasta" << EISDIR;
    QTest::newRow("read-only file") << "somente-leitura.jpg" << EACCES;
    // clang-format on
}

void TestJpegWriter::refusedFileLeavesNothing()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("arquivo")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("pasta")));
    const QString readOnly = dir.filePath(QStringLiteral("somente-leitura.jpg"));
    QFile old(readOnly);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("antigo");
    old.close();
    QVERIFY(old.setPermissions(QFileDevice::ReadOwner));
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    JpegWriter writer;
    QVERIFY(!writer.write(picture(QImage::Format_RGB32), dir.filePath(name)));
    QFETCH(int, reason);
    QCOMPARE(writer.errorString(), systemMessage(reason));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             before);
    QCOMPARE(contents(readOnly), QByteArray("antigo"));
}

void TestJpegWriter::emptyPictureIsRefused()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("vazia.jpg"));
    JpegWriter writer;
    QVERIFY(!writer.write(QImage(), path));
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestJpegWriter)
#include "tst_jpegwriter.moc"
