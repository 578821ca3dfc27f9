#include <QAction>
#include <QDir>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "WindowHarness.h"
#include "net/TChatInterface.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/Panes.h"
#include "window/ReplySender.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"
#include "window/TulmoApplication.h"

namespace {
template <typename T = QWidget>
T* child(TfrmMain* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

QStringList favourites(TfrmMain* w)
{
    QStringList captions;
    const QList<QAction*> items = child<QMenu>(w, "popCanais")->actions();
    for (int i = 3; i < items.size(); ++i)
        captions << items[i]->text();
    return captions;
}

// Where the window's outer frame may lie on the screen it opened on.
QRect room(TfrmMain* w)
{
    return w->screen()->availableGeometry();
}

// A stored geometry the test screen can hold is kept as it is; on a smaller screen (the
// offscreen one is 800 x 600) the window is brought inside it instead.
bool keptOrOnScreen(TfrmMain* w, const QRect& stored)
{
    return QTest::qWaitFor([&] {
        return room(w).contains(stored) ? w->frameGeometry() == stored
                                        : room(w).contains(w->frameGeometry());
    });
}

// Gives the window an outer (frame) size.
void resizeOuter(TfrmMain* w, int width, int height)
{
    const QSize frame = w->frameGeometry().size() - w->size();
    w->resize(width - frame.width(), height - frame.height());
}

void writeBitmap(const QString& path)
{
    QImage picture(16, 8, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(path, "BMP"));
}
} // namespace

class TestWindowStartup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void missingSettingsFile();
    void handWrittenSettings_data();
    void handWrittenSettings();
    void resizeKeepsControlsInPlace_data();
    void resizeKeepsControlsInPlace();
    void topBarFollowsItsWidth();
    void closingWritesGeometry();
    void reopenedWindowKeepsItsSize();
    void maximizedClosingKeepsOlderGeometry();
    void backgroundPicture_data();
    void backgroundPicture();
    void backgroundMenu();
    void invalidPictureAtStartReportsAndGoesOn();
    void failedWriteIsReported();
    void programSpeaksPortuguese();
};

void TestWindowStartup::missingSettingsFile()
{
    WindowHarness h;
    TfrmMain* w = h.window.get();
    QCOMPARE(w->windowTitle(), QStringLiteral("Tulmo Chat v1.5 Light"));
    QVERIFY(keptOrOnScreen(w, QRect(290, 250, 700, 600)));
    QVERIFY(!w->isMaximized());
    QCOMPARE(h.startLines, QList<QStringList>{{QStringLiteral(
                               "Para conectar a localhost, clique em Conectar (Ctrl+N).|7")}});
    QCOMPARE(child(w, "pnlFundoUsers")->width(), 165);
    QCOMPARE(w->chatPane()->backgroundColor(), QColor(Qt::black));
    QCOMPARE(w->styles()->color(StyleTable::MOD), QColor(0x80, 0x80, 0x80));
    QCOMPARE(w->styles()->color(StyleTable::Acc), QColor(0xA0, 0xA0, 0x50));
    QCOMPARE(w->styles()->color(StyleTable::Erro), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(w->styles()->style(StyleTable::Info).fontName, QStringLiteral("Verdana"));
    QCOMPARE(w->styles()->style(StyleTable::WTO).fontName, QStringLiteral("Tahoma"));
    QCOMPARE(favourites(w), QStringList());
    QCOMPARE(child<QTreeWidget>(w, "lstCustom")->topLevelItemCount(), 0);
    QVERIFY(child<QAction>(w, "atalhoMin")->shortcut().isEmpty());
    QCOMPARE(w->chatInterface()->Address, QStringLiteral("localhost"));
    QCOMPARE(w->chatInterface()->Port, h.server.port());
    QVERIFY(w->feature<Panes>()->showsTimes());
    QVERIFY(!w->findChild<ReplySender*>()->repliesToPhrases());
    QVERIFY(!w->findChild<TrayIcon*>()->trayActive());
    QVERIFY(child(w, "pnlTopChat")->isVisible());
    QVERIFY(!child(w, "pnlCustom")->isVisible());
    QVERIFY(child<QAction>(w, "Centralizado1")->isChecked());
    QCOMPARE(w->focusWidget(), child(w, "txtMsg"));
    // The time stamp fix-up is the one value the start writes.
    QCOMPARE(h.iniText(), QStringLiteral("[Timers]\r\nSTempo=120\r\n"));
    QCOMPARE(child<QTimer>(w, "tmrSinc")->interval(), 120000);
    QVERIFY(!child<QTimer>(w, "tmrSinc")->isActive());
}

void TestWindowStartup::handWrittenSettings_data()
{
    QTest::addColumn<QStringList>("ini");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("narrow width raised") << QStringList{"[Form]", "Width=500", "Height=300"} << "size" << "700x600";
    QTest::newRow("stored size") << QStringList{"[Form]", "Width=750", "Height=640"} << "size" << "750x640";
    QTest::newRow("user column") << QStringList{"[Form]", "ULW=220"} << "ulw" << "220";
    QTest::newRow("maximized") << QStringList{"[Form]", "Max=1"} << "max" << "1";
    QTest::newRow("short period rewritten") << QStringList{"[Timers]", "STempo=30"} << "period" << "120000 120";
    QTest::newRow("long period kept") << QStringList{"[Timers]", "STempo=300"} << "period" << "300000 300";
    QTest::newRow("no favourites with n 1") << QStringList{"[Canais]", "n=1", "c1=X"} << "favourites" << "";
    QTest::newRow("no favourites with the lowest count") << QStringList{"[Canais]", "n=-2147483648"} << "favourites" << "";
    QTest::newRow("huge count lists the stored entries") << QStringList{"[Canais]", "n=2147483647", "c1=a", "c150=z"} << "favourites count" << "150";
    QTest::newRow("position beyond any screen") << QStringList{"[Form]", "X=2147483647", "Y=-2147483648"} << "position" << "on screen";
    QTest::newRow("position right of and below the screen") << QStringList{"[Form]", "X=5000", "Y=4000"} << "position" << "on screen";
    QTest::newRow("position left of and above the screen") << QStringList{"[Form]", "X=-3000", "Y=-2500"} << "position" << "on screen";
    QTest::newRow("size larger than the screen") << QStringList{"[Form]", "X=0", "Y=0", "Width=8000", "Height=8000"} << "position" << "on screen, filled";
    QTest::newRow("two favourites, stray ignored") << QStringList{"[Canais]", "n=3", "c1=Chat", "c2=R&D", "c3=Stray"} << "favourites" << "Chat,R&&D";
    QTest::newRow("suspects") << QStringList{"[Lista]", "nL=2", "Acc1=ana", "Mot1=spam", "Acc2=bob"} << "suspects" << "ana:spam,bob:";
    QTest::newRow("suspects under a count of two billion") << QStringList{"[Lista]", "nL=2000000000", "Acc1=ana", "Mot1=spam", "Acc2=bob"} << "suspects" << "ana:spam,bob:";
    QTest::newRow("suspects up to the highest number stored") << QStringList{"[Lista]", "nL=2147483647", "Acc1=ana", "Mot4=spam"} << "suspects" << "ana:,:,:,:spam";
    QTest::newRow("suspects under a negative count") << QStringList{"[Lista]", "nL=-5", "Acc1=ana"} << "suspects" << "";
    QTest::newRow("minimize shortcut") << QStringList{"[Geral]", "AtalhoMin=Ctrl+M"} << "minimize" << "Ctrl+M";
    QTest::newRow("server") << QStringList{"[Geral]", "Servidor=chat.example.org"} << "server" << "chat.example.org Para conectar a chat.example.org, clique em Conectar (Ctrl+N).|7";
    QTest::newRow("tray") << QStringList{"[Geral]", "Tray=1"} << "tray" << "1";
    QTest::newRow("switches") << QStringList{"[Respostas]", "RespFrase=1", "RespWhisp=1", "[Aparencia]", "HorarioMsg=0"} << "switches" << "110";
    QTest::newRow("colour in hex") << QStringList{"[Aparencia]", "CorHora=$FF"} << "hora" << "#ff0000";
    QTest::newRow("colour word falls back") << QStringList{"[Aparencia]", "CorHora=red"} << "hora" << "#d5d500";
    QTest::newRow("fonts") << QStringList{"[Aparencia]", "FonteChat=Arial", "TamFonteChat=12"} << "font" << "Arial 12";
    QTest::newRow("bar hidden") << QStringList{"[Aparencia]", "BarraChat=0"} << "bar" << "0";
    QTest::newRow("tiled") << QStringList{"[Aparencia]", "PosImgFundoChat=lado"} << "placement" << "Ladoalado1";
    QTest::newRow("stretched") << QStringList{"[Aparencia]", "PosImgFundoChat=esticado"} << "placement" << "Esticado1";
    QTest::newRow("placement in capitals is centred") << QStringList{"[Aparencia]", "PosImgFundoChat=LADO"} << "placement" << "Centralizado1";
    QTest::newRow("suspect list stays hidden outside operator mode") << QStringList{"[Aparencia]", "CustomList=1"} << "custom" << "0";
    // clang-format on
}

void TestWindowStartup::handWrittenSettings()
{
    QFETCH(QStringList, ini);
    QFETCH(QString, check);
    QFETCH(QString, expected);
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    QString actual;
    if (check == QLatin1String("size") &&
        (expected.section(QLatin1Char('x'), 0, 0).toInt() > room(w).width() ||
         expected.section(QLatin1Char('x'), 1, 1).toInt() > room(w).height()))
        QSKIP("the stored size needs a larger screen than this one");
    if (check == QLatin1String("size")) {
        actual = QStringLiteral("%1x%2")
                     .arg(w->frameGeometry().width())
                     .arg(w->frameGeometry().height());
    } else if (check == QLatin1String("ulw")) {
        actual = QString::number(child(w, "pnlFundoUsers")->width());
    } else if (check == QLatin1String("max")) {
        actual = QString::number(int(w->isMaximized()));
    } else if (check == QLatin1String("period")) {
        const QString stored =
            h.iniText().section(QStringLiteral("STempo="), 1).section('\r', 0, 0);
        actual =
            QString::number(child<QTimer>(w, "tmrSinc")->interval()) + QLatin1Char(' ') + stored;
    } else if (check == QLatin1String("favourites")) {
        actual = favourites(w).join(QLatin1Char(','));
    } else if (check == QLatin1String("favourites count")) {
        actual = QString::number(favourites(w).size());
    } else if (check == QLatin1String("position")) {
        // Stored on another monitor, or at another scale: the window opens whole on this one.
        const QRect frame = w->frameGeometry();
        if (!room(w).contains(frame))
            actual = QStringLiteral("%1,%2 %3x%4")
                         .arg(frame.x())
                         .arg(frame.y())
                         .arg(frame.width())
                         .arg(frame.height());
        else if (frame.size() == room(w).size())
            actual = QStringLiteral("on screen, filled");
        else
            actual = QStringLiteral("on screen");
    } else if (check == QLatin1String("suspects")) {
        QStringList rows;
        auto* list = child<QTreeWidget>(w, "lstCustom");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + QLatin1Char(':') +
                        list->topLevelItem(i)->text(1);
        actual = rows.join(QLatin1Char(','));
    } else if (check == QLatin1String("minimize")) {
        actual = child<QAction>(w, "atalhoMin")->shortcut().toString();
    } else if (check == QLatin1String("server")) {
        // The start tells how to connect, and to where.
        actual = w->chatInterface()->Address + QLatin1Char(' ') +
                 h.startLines.value(0).join(QLatin1Char(' '));
    } else if (check == QLatin1String("tray")) {
        actual = QString::number(int(w->findChild<TrayIcon*>()->trayActive()));
    } else if (check == QLatin1String("switches")) {
        actual = QString::number(int(w->findChild<ReplySender*>()->repliesToPhrases())) +
                 QString::number(int(w->findChild<ReplySender*>()->repliesToWhispers())) +
                 QString::number(int(w->feature<Panes>()->showsTimes()));
    } else if (check == QLatin1String("hora")) {
        actual = w->styles()->color(StyleTable::Horario).name();
    } else if (check == QLatin1String("font")) {
        const TextStyle& style = w->styles()->style(StyleTable::Horario);
        actual = style.fontName + QLatin1Char(' ') + QString::number(style.size);
    } else if (check == QLatin1String("bar")) {
        actual = QString::number(int(child(w, "pnlTopChat")->isVisible()));
    } else if (check == QLatin1String("placement")) {
        for (const char* name : {"Centralizado1", "Ladoalado1", "Esticado1"}) {
            if (child<QAction>(w, name)->isChecked())
                actual += QLatin1String(name);
        }
    } else if (check == QLatin1String("custom")) {
        actual = QString::number(int(child(w, "pnlCustom")->isVisible()));
    }
    QCOMPARE(actual, expected);
}

void TestWindowStartup::resizeKeepsControlsInPlace_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("expected");
    // clang-format off
    // imgBanner left; txtMsg width; btnEnviar, btnEmote left; txtWhisp1 width; btnWhispar1,
    // btnFecharWhispLock1 left.
    QTest::newRow("700") << 700 << QList<int>{511, 512, 525, 613, 457, 574, 660};
    QTest::newRow("901") << 901 << QList<int>{712, 713, 726, 814, 658, 775, 861};
    // clang-format on
}

void TestWindowStartup::resizeKeepsControlsInPlace()
{
    QFETCH(int, width);
    QFETCH(QList<int>, expected);
    WindowHarness h;
    TfrmMain* w = h.window.get();
    resizeOuter(w, width, 600);
    QTRY_COMPARE(w->frameGeometry().width(), width);
    const QList<int> actual{child(w, "imgBanner")->x(),          child(w, "txtMsg")->width(),
                            child(w, "btnEnviar")->x(),          child(w, "btnEmote")->x(),
                            child(w, "txtWhisp1")->width(),      child(w, "btnWhispar1")->x(),
                            child(w, "btnFecharWhispLock1")->x()};
    QCOMPARE(actual, expected);
    for (const char* name : {"txtWhisp5", "btnWhispar5", "btnFecharWhispLock5"}) {
        QWidget* fifth = child(w, name);
        QWidget* first = child(w, QByteArray(name).replace('5', '1').constData());
        QCOMPARE(fifth->geometry().x(), first->geometry().x());
        QCOMPARE(fifth->width(), first->width());
    }
}

void TestWindowStartup::topBarFollowsItsWidth()
{
    WindowHarness h;
    TfrmMain* w = h.window.get();
    auto* splitter = child<QSplitter>(w, "Splitter1");
    const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
    splitter->setSizes({488, total - 488});
    QTRY_COMPARE(child(w, "pnlTopChat")->width(), 488);
    QCOMPARE(child(w, "btnTopCon")->x(), 254);
    QCOMPARE(child(w, "btnTopConAll")->x(), 307);
    QCOMPARE(child(w, "chkAutoScroll")->x(), 468);
    QCOMPARE(child(w, "lblAutoScroll")->x(), 488 - child(w, "lblAutoScroll")->width() - 20);
    // Half of an odd width rounds to the even neighbour: 489 / 2 = 244.5 gives 244.
    splitter->setSizes({489, total - 489});
    QTRY_COMPARE(child(w, "pnlTopChat")->width(), 489);
    QCOMPARE(child(w, "btnTopCon")->x(), 254);
    splitter->setSizes({491, total - 491});
    QTRY_COMPARE(child(w, "pnlTopChat")->width(), 491);
    QCOMPARE(child(w, "btnTopCon")->x(), 256);
}

void TestWindowStartup::closingWritesGeometry()
{
    WindowHarness h;
    TfrmMain* w = h.window.get();
    w->move(100, 120);
    resizeOuter(w, 760, 610);
    QTRY_COMPARE(w->frameGeometry().size(), QSize(760, 610));
    const int users = child(w, "pnlFundoUsers")->width();
    h.close();
    const QString text = h.iniText();
    for (const QString& line :
         {QStringLiteral("ULW=%1").arg(users), QStringLiteral("Max=0"), QStringLiteral("Width=760"),
          QStringLiteral("Height=610"), QStringLiteral("X=100"), QStringLiteral("Y=120")})
        QVERIFY2(text.contains(line + QStringLiteral("\r\n")), qPrintable(line));
}

void TestWindowStartup::reopenedWindowKeepsItsSize()
{
    WindowHarness h(QStringList{"[Form]", "Width=780", "Height=620", "X=40", "Y=30"});
    for (int run = 0; run < 3; ++run) {
        QVERIFY(keptOrOnScreen(h.window.get(), QRect(40, 30, 780, 620)));
        h.close();
        h.open();
    }
}

void TestWindowStartup::maximizedClosingKeepsOlderGeometry()
{
    WindowHarness h(QStringList{"[Form]", "Width=710", "Height=605", "X=1", "Y=2", "Max=1"});
    QVERIFY(h.window->isMaximized());
    h.close();
    const QString text = h.iniText();
    QVERIFY(text.contains(QStringLiteral("Max=1\r\n")));
    QVERIFY(text.contains(QStringLiteral("Width=710\r\nHeight=605\r\nX=1\r\nY=2\r\n")));
}

void TestWindowStartup::backgroundPicture_data()
{
    QTest::addColumn<QString>("setting"); // Aparencia line; "-" for none
    QTest::addColumn<bool>("bgBeside");
    QTest::addColumn<bool>("shown");
    // clang-format off
    QTest::newRow("bg.bmp beside, no key") << "-" << true << true;
    QTest::newRow("no picture anywhere") << "-" << false << false;
    QTest::newRow("removed: empty key") << "ImgFundoChat=" << true << false;
    QTest::newRow("missing file named") << "ImgFundoChat=/nao/existe.bmp" << true << false;
    // clang-format on
}

void TestWindowStartup::backgroundPicture()
{
    QFETCH(QString, setting);
    QFETCH(bool, bgBeside);
    QFETCH(bool, shown);
    QTemporaryDir probe;
    QStringList ini;
    if (setting != QLatin1String("-"))
        ini << QStringLiteral("[Aparencia]") << setting;
    else
        ini << QStringLiteral("[Geral]") << QStringLiteral("Login=x");
    WindowHarness h(ini);
    if (bgBeside) {
        writeBitmap(h.path(QStringLiteral("bg.bmp")));
        h.close();
        h.open();
    }
    QCOMPARE(!h.window->chatPane()->BackgroundBitmap().isNull(), shown);
    QCOMPARE(h.window->chatPane()->backgroundStyle(), ChatView::BackgroundStyle::Centered);
    QVERIFY(h.prompts.errors.isEmpty());
}

void TestWindowStartup::backgroundMenu()
{
    WindowHarness h;
    TfrmMain* w = h.window.get();
    const QString picture = h.path(QStringLiteral("fundo.bmp"));
    writeBitmap(picture);
    QFile junk(h.path(QStringLiteral("lixo.bmp")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();

    h.prompts.files << QString();
    child<QAction>(w, "AlterarBg1")->trigger();
    QCOMPARE(h.prompts.fileTitles, QStringList{"Alterar imagem de fundo do chat..."});
    QVERIFY(w->chatPane()->BackgroundBitmap().isNull());
    QVERIFY(!h.iniText().contains(QStringLiteral("ImgFundoChat")));

    // Junk, and a picture of another format under a bitmap's name.
    const QString png = h.path(QStringLiteral("outro.bmp"));
    QImage other(4, 4, QImage::Format_RGB32);
    other.fill(Qt::red);
    QVERIFY(other.save(png, "PNG"));
    h.prompts.files << junk.fileName() << png;
    child<QAction>(w, "AlterarBg1")->trigger();
    child<QAction>(w, "AlterarBg1")->trigger();
    QCOMPARE(h.prompts.errors, QStringList(2, QStringLiteral("Bitmap image is not valid")));
    QVERIFY(w->chatPane()->BackgroundBitmap().isNull());
    QVERIFY(!h.iniText().contains(QStringLiteral("ImgFundoChat")));

    h.prompts.files << picture;
    child<QAction>(w, "AlterarBg1")->trigger();
    QVERIFY(!w->chatPane()->BackgroundBitmap().isNull());
    QVERIFY(
        h.iniText().contains(QStringLiteral("ImgFundoChat=") + picture + QStringLiteral("\r\n")));

    const struct
    {
        const char* item;
        ChatView::BackgroundStyle style;
        const char* stored;
    } placements[] = {{"Ladoalado1", ChatView::BackgroundStyle::Tiled, "lado"},
                      {"Esticado1", ChatView::BackgroundStyle::Stretched, "esticado"},
                      {"Centralizado1", ChatView::BackgroundStyle::Centered, "centro"}};
    for (const auto& p : placements) {
        child<QAction>(w, p.item)->trigger();
        QCOMPARE(w->chatPane()->backgroundStyle(), p.style);
        int checked = 0;
        for (const char* name : {"Centralizado1", "Ladoalado1", "Esticado1"})
            checked += child<QAction>(w, name)->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
        QVERIFY(child<QAction>(w, p.item)->isChecked());
        QVERIFY(h.iniText().contains(QStringLiteral("PosImgFundoChat=") + QLatin1String(p.stored) +
                                     QStringLiteral("\r\n")));
    }

    child<QAction>(w, "Remover1")->trigger();
    QVERIFY(w->chatPane()->BackgroundBitmap().isNull());
    QVERIFY(h.iniText().contains(QStringLiteral("ImgFundoChat=\r\n")));
}

void TestWindowStartup::invalidPictureAtStartReportsAndGoesOn()
{
    QTemporaryDir other;
    const QString junkPath = other.filePath(QStringLiteral("ruim.bmp"));
    QFile junk(junkPath);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("BM garbage");
    junk.close();
    WindowHarness h(QStringList{"[Aparencia]", "ImgFundoChat=" + junkPath, "PosImgFundoChat=lado",
                                "BarraChat=0", "[Geral]", "Servidor=outro.host", "[Timers]",
                                "STempo=10"});
    TfrmMain* w = h.window.get();
    QCOMPARE(h.prompts.errors, QStringList{"Bitmap image is not valid"});
    // The rest of the appearance and of the start-up ran.
    QVERIFY(child<QAction>(w, "Ladoalado1")->isChecked());
    QVERIFY(!child(w, "pnlTopChat")->isVisible());
    QCOMPARE(w->chatInterface()->Address, QStringLiteral("outro.host"));
    QVERIFY(h.iniText().contains(QStringLiteral("STempo=120")));
    QCOMPARE(w->focusWidget(), child(w, "txtMsg"));
}

void TestWindowStartup::failedWriteIsReported()
{
    WindowHarness h;
    TfrmMain* w = h.window.get();
    // A folder in the file's place: nothing can be written there.
    QFile::remove(h.path(QStringLiteral("confs.ini")));
    QVERIFY(QDir(h.dir.path()).mkdir(QStringLiteral("confs.ini")));
    child<QAction>(w, "Esticado1")->trigger();
    QCOMPARE(h.prompts.errors.size(), 1);
    QVERIFY(h.prompts.errors[0].startsWith(QStringLiteral("Unable to write to ")));
    // The program goes on.
    w->erro(QStringLiteral("ainda aqui"));
    QCOMPARE(WindowHarness::lastText(w->chatPane()), QStringLiteral("ainda aqui"));
    h.close();
    QCOMPARE(h.prompts.errors.size(), 2);
}

// What the program entry sets up before its window: Qt's own texts in Brazilian Portuguese, the
// copy of Tahoma the window is laid out for, and look-alikes for the families Linux lacks.
void TestWindowStartup::programSpeaksPortuguese()
{
    TulmoApplication::registerFonts();
    const struct
    {
        const char* family;
        const char* drawnWith;
    } families[] = {{"Verdana", "DejaVu Sans"},
                    {"Tahoma", "Tahoma"},
                    {"Trebuchet MS", "DejaVu Sans"},
                    {"Arial", "Liberation Sans"}};
    for (const auto& f : families) {
        QFont font(QLatin1String(f.family));
        font.setPixelSize(11);
        QCOMPARE(QFontInfo(font).family().toLower(), QString::fromLatin1(f.drawnWith).toLower());
    }
    QFont bold(QStringLiteral("Tahoma"));
    bold.setBold(true);
    QVERIFY(QFontInfo(bold).bold());

    QVERIFY(TulmoApplication::loadQtTranslation(qApp));
    QStringList buttons;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        for (const QAbstractButton* button : box->buttons())
            buttons << button->text().remove(QLatin1Char('&'));
        box->button(QMessageBox::No)->click();
    });
    answer.start(10);
    QtPrompts prompts;
    QVERIFY(!prompts.question(nullptr, QStringLiteral("Kill"), QStringLiteral("Tem certeza?")));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"Não", "Sim"}));
}

QTEST_MAIN(TestWindowStartup)
#include "tst_window_startup.moc"
