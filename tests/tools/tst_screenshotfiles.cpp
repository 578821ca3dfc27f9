#include "tools/ScreenshotFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Files, and folders for the names ending in "/".
void makeEntries(const QTemporaryDir& dir, const QStringList& entries)
{
    for (const QString& entry : entries) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(dir.path()).mkdir(entry.chopped(1)));
        } else {
            QFile file(dir.filePath(entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
}

} // namespace

class TestScreenshotFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void countsFilesNotFolders_data();
    void countsFilesNotFolders();
    void nextNumberIsFree_data();
    void nextNumberIsFree();
    void appendsTheExtension_data();
    void appendsTheExtension();
};

void TestScreenshotFiles::countsFilesNotFolders_data()
{
    QTest::addColumn<QStringList>("entries"); // a name ending in "/" is a folder
    QTest::addColumn<int>("count");
    // clang-format off
    QTest::newRow("four files and a folder named like one") << QStringList{"1.jpg", "2.jpg", "foto.jpg", "x y.jpg", "x.jpg/"} << 4;
    QTest::newRow("empty folder") << QStringList{} << 0;
    QTest::newRow("other extensions") << QStringList{"a.jpeg", "b.jpg.txt", "c.png", "d.jpg"} << 1;
    QTest::newRow("hidden files count") << QStringList{".oculto.jpg", "e.jpg"} << 2;
#ifndef Q_OS_WIN
    QTest::newRow("capitals are another name") << QStringList{"A.JPG", "b.Jpg", "c.jpg"} << 1;
#else
    QTest::newRow("capitals match") << QStringList{"A.JPG", "b.Jpg", "c.jpg"} << 3;
#endif
    // clang-format on
}

void TestScreenshotFiles::countsFilesNotFolders()
{
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    makeEntries(dir, entries);
    const QString folder = dir.path() + QLatin1Char('/');
    QTEST(ScreenshotFiles::contaArquivos(folder, QStringLiteral("*.jpg")), "count");
}

void TestScreenshotFiles::nextNumberIsFree_data()
{
    QTest::addColumn<QStringList>("entries"); // a name ending in "/" is a folder
    QTest::addColumn<QString>("next");
    // clang-format off
    QTest::newRow("four files and a folder named like one") << QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "x.jpg/"} << "5.jpg";
    QTest::newRow("first one") << QStringList{} << "1.jpg";
    QTest::newRow("count plus one") << QStringList{"1.jpg", "2.jpg"} << "3.jpg";
    QTest::newRow("a deleted picture's number is taken") << QStringList{"1.jpg", "3.jpg"} << "4.jpg";
    QTest::newRow("several taken") << QStringList{"3.jpg", "4.jpg", "5.jpg"} << "6.jpg";
    QTest::newRow("a folder with the number") << QStringList{"a.jpg", "2.jpg/"} << "3.jpg";
    // clang-format on
}

void TestScreenshotFiles::nextNumberIsFree()
{
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    makeEntries(dir, entries);
    const QString folder = dir.path() + QLatin1Char('/');
    QFETCH(QString, next);
    QCOMPARE(ScreenshotFiles::numberedName(folder), folder + next);
}

void TestScreenshotFiles::appendsTheExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    // clang-format off
    QTest::newRow("no extension") << "/fotos/tela" << "/fotos/tela.jpg";
    QTest::newRow("as typed") << "/fotos/tela.jpg" << "/fotos/tela.jpg";
    QTest::newRow("capitals") << "/fotos/tela.JPG" << "/fotos/tela.JPG.jpg";
    QTest::newRow("mixed case") << "/fotos/tela.Jpg" << "/fotos/tela.Jpg.jpg";
    QTest::newRow("other extension") << "/fotos/tela.jpeg" << "/fotos/tela.jpeg.jpg";
    QTest::newRow("dot in the folder only") << "/fotos.jpg/tela" << "/fotos.jpg/tela.jpg";
    QTest::newRow("two dots") << "/fotos/tela.1.jpg" << "/fotos/tela.1.jpg";
    // clang-format on
}

void TestScreenshotFiles::appendsTheExtension()
{
    QFETCH(QString, typed);
    QTEST(ScreenshotFiles::withJpgExtension(typed), "saved");
}

QTEST_GUILESS_MAIN(TestScreenshotFiles)
#include "tst_screenshotfiles.moc"
