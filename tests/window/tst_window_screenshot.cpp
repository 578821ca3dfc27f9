#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <cerrno>
#include <system_error>

#include "WindowHarness.h"
#include "window/TfrmMain.h"

namespace {

const QString NoFolder =
    QStringLiteral("Você deve definir a pasta onde deve ser salva as screenshots!");

QStringList ini(const QStringList& geral)
{
    return QStringList{"[Geral]", "Login=visitante"} + geral;
}

void clickScreen(WindowHarness& h)
{
    QTest::mouseClick(h.window->findChild<QToolButton*>(QStringLiteral("btnScreen")),
                      Qt::LeftButton);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
}

// Neither the offscreen platform nor a display without a window manager draws a frame: the
// picture is the window's own area.
QSize shotSize(const WindowHarness& h)
{
    return h.window->size();
}

// The mean difference per colour channel between the saved picture and what the window paints:
// a few steps of JPEG loss when the picture shows the window, far more when it shows anything else.
double differenceFromWindow(const QString& path, WindowHarness& h)
{
    QImage saved;
    if (!saved.load(path, "JPEG"))
        return 255;
    const QImage painted = h.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    saved = saved.convertToFormat(QImage::Format_RGB32);
    if (saved.size() != painted.size())
        return 255;
    qint64 sum = 0;
    for (int y = 0; y < saved.height(); ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            const QRgb a = saved.pixel(x, y);
            const QRgb b = painted.pixel(x, y);
            sum +=
                qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    }
    return double(sum) / (3.0 * saved.width() * saved.height());
}

QSize decodedSize(const QString& path)
{
    QImage image;
    return image.load(path, "JPEG") ? image.size() : QSize();
}

} // namespace

class TestWindowScreenshot : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void automaticNumbering_data();
    void automaticNumbering();
    void automaticWithoutFolder();
    void savedUnderTheChosenName_data();
    void savedUnderTheChosenName();
    void fileThatCannotBeCreated();
};

void TestWindowScreenshot::automaticNumbering_data()
{
    QTest::addColumn<QStringList>("present"); // in the folder; "/" at the end: a folder
    QTest::addColumn<QString>("saved");
    // clang-format off
    QTest::newRow("four pictures and a folder named like one") << QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "x.jpg/"} << "5.jpg";
    QTest::newRow("first one") << QStringList{} << "1.jpg";
    QTest::newRow("a number still in use is passed over") << QStringList{"1.jpg", "3.jpg"} << "4.jpg";
    // clang-format on
}

void TestWindowScreenshot::automaticNumbering()
{
    QFETCH(QStringList, present);
    QFETCH(QString, saved);
    QTemporaryDir shots;
    for (const QString& entry : present) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(shots.path()).mkdir(entry.chopped(1)));
        } else {
            QFile file(shots.filePath(entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a picture");
        }
    }
    // The folder as the options store it, with its separator at the end.
    const QString folder = shots.path() + QLatin1Char('/');
    WindowHarness h(ini({"SalvarSS=1", "CaminhoSS=" + folder}));
    h.window->findChild<QWidget*>(QStringLiteral("txtChat"))->setFocus();
    clickScreen(h);

    QVERIFY(h.prompts.errors.isEmpty());
    QVERIFY(h.prompts.fileTitles.isEmpty());
    QCOMPARE(decodedSize(folder + saved), shotSize(h));
    QVERIFY(differenceFromWindow(folder + saved, h) < 4);
    QStringList expected = present;
    expected.replaceInStrings(QStringLiteral("/"), QString());
    expected << saved;
    expected.sort();
    QCOMPARE(entries(folder), expected);
    // The pictures already there are kept as they were.
    for (const QString& entry : present) {
        QFile file(folder + entry);
        if (!entry.endsWith(QLatin1Char('/')) && file.open(QIODevice::ReadOnly))
            QCOMPARE(file.readAll(), QByteArray("not a picture"));
    }
    QTRY_VERIFY(h.window->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->hasFocus());
}

void TestWindowScreenshot::automaticWithoutFolder()
{
    WindowHarness h(ini({"SalvarSS=1"}));
    const QStringList before = entries(h.dir.path());
    clickScreen(h);
    QCOMPARE(h.prompts.errors, QStringList{NoFolder});
    QVERIFY(h.prompts.fileTitles.isEmpty());
    QCOMPARE(entries(h.dir.path()), before);
}

void TestWindowScreenshot::savedUnderTheChosenName_data()
{
    QTest::addColumn<QString>("typed"); // in the settings folder; empty: the dialog is cancelled
    QTest::addColumn<QString>("saved"); // empty: nothing
    // clang-format off
    QTest::newRow("capitals get the extension behind") << "tela.JPG" << "tela.JPG.jpg";
    QTest::newRow("without extension") << "tela" << "tela.jpg";
    QTest::newRow("as typed") << "a.jpg" << "a.jpg";
    QTest::newRow("cancelled") << "" << "";
    // clang-format on
}

void TestWindowScreenshot::savedUnderTheChosenName()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    WindowHarness h(ini({"SalvarSS=0", "CaminhoSS=" + QDir::tempPath() + "/"}));
    const QStringList before = entries(h.dir.path());
    h.prompts.files.enqueue(typed.isEmpty() ? QString() : h.path(typed));
    clickScreen(h);

    QCOMPARE(h.prompts.fileTitles, QStringList{"Salvar screenshot"});
    QCOMPARE(h.prompts.saveFilters, QStringList{"Imagem JPG (*.jpg)"});
    QCOMPARE(h.prompts.saveAsks, QList<bool>{true});
    QVERIFY(h.prompts.errors.isEmpty());
    QStringList expected = before;
    if (!saved.isEmpty()) {
        expected << saved;
        expected.sort();
        QCOMPARE(decodedSize(h.path(saved)), shotSize(h));
    }
    QCOMPARE(entries(h.dir.path()), expected);
}

// A folder whose parent is a file: no run, not even as the superuser, may create it.
void TestWindowScreenshot::fileThatCannotBeCreated()
{
    WindowHarness h(ini({}));
    QFile blocker(h.path(QStringLiteral("arquivo")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = h.path(QStringLiteral("arquivo/fotos/"));
    h.prompts.files.enqueue(folder + QStringLiteral("tela"));
    const QStringList before = entries(h.dir.path());
    clickScreen(h);

    const QString file = QDir::toNativeSeparators(folder + QStringLiteral("tela.jpg"));
    const QString reason = QString::fromStdString(std::generic_category().message(ENOTDIR));
    QCOMPARE(h.prompts.errors,
             QStringList{"Não foi possível salvar a screenshot " + file + ": " + reason});
    QCOMPARE(entries(h.dir.path()), before);
}

QTEST_MAIN(TestWindowScreenshot)
#include "tst_window_screenshot.moc"
