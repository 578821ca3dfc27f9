#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "WindowHarness.h"
#include "net/TGatewayChat.h"
#include "settings/TIniFile.h"
#include "window/ConnectionControl.h"
#include "window/Favorites.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};
const QByteArray LoginLine("\x03\x04visitante\r\r\r");
const QByteArray Login = LoginLine + "/join Chat\r";
const QByteArray Marker("/marca\r");

template <typename T = QWidget>
T* child(TfrmMain* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

// A caption as the menu shows it: "&&" is an "&", a single "&" only marks an access key.
QString displayed(const QString& caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            shown += caption[i];
        else if (i + 1 < caption.size() && caption[++i] == QLatin1Char('&'))
            shown += QLatin1Char('&');
        else if (i < caption.size())
            shown += caption[i];
    }
    return shown;
}

QList<QAction*> favouriteItems(TfrmMain* w)
{
    return child<QMenu>(w, "popCanais")->actions().mid(3);
}

QStringList favourites(TfrmMain* w)
{
    QStringList shown;
    for (const QAction* item : favouriteItems(w))
        shown << displayed(item->text());
    return shown;
}

// The key lines of [Canais] in the file, sorted: where a new key lands is the settings file's
// business.
QStringList canais(const WindowHarness& h)
{
    const QString text = h.iniText();
    const qsizetype start = text.indexOf(QLatin1String("[Canais]\r\n"));
    if (start < 0)
        return {};
    QStringList lines = text.mid(start + 10).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const auto next = std::find_if(lines.begin(), lines.end(),
                                   [](const QString& l) { return l.startsWith(QLatin1Char('[')); });
    lines.erase(next, lines.end());
    lines.sort();
    return lines;
}

bool logIn(WindowHarness& h)
{
    if (!h.connectToServer() || !h.server.waitForData(Login))
        return false;
    h.server.clearReceived();
    return true;
}

// What the server got since the last call, up to a marker line sent now.
QByteArray sentSoFar(WindowHarness& h)
{
    h.window->gatewayChat()->SendLine(QString::fromLatin1(Marker));
    if (!h.server.waitForData(Marker))
        return "(no marker)";
    const QByteArray bytes = h.server.received();
    h.server.clearReceived();
    return bytes.left(bytes.size() - Marker.size());
}

void pressCtrlD(TfrmMain* w)
{
    QLineEdit* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    QTest::keyClick(input, Qt::Key_D, Qt::ControlModifier);
}
} // namespace

class TestWindowFavorites : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addingTheCurrentChannel_data();
    void addingTheCurrentChannel();
    void ctrlDOnlyWhileLoggedIn_data();
    void ctrlDOnlyWhileLoggedIn();
    void organizing_data();
    void organizing();
    void manyFavouritesStayReachable();
};

void TestWindowFavorites::addingTheCurrentChannel_data()
{
    QTest::addColumn<QStringList>("stored"); // keys of [Canais]
    QTest::addColumn<QString>("channel");
    QTest::addColumn<QString>("how"); // "ctrl+d" or the menu item
    QTest::addColumn<int>("times");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("menu"); // the favourites as the menu shows them
    QTest::addColumn<QByteArray>("join");  // choosing the last favourite sends

    // clang-format off
    QTest::newRow("first, by Ctrl+D") << QStringList{} << "Chat" << "ctrl+d" << 1 << QStringList{"n=2", "c1=Chat"} << QStringList{"Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("twice: two entries") << QStringList{} << "Chat" << "ctrl+d" << 2 << QStringList{"n=3", "c1=Chat", "c2=Chat"} << QStringList{"Chat", "Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("after the stored ones, by the menu") << QStringList{"n=3", "c1=a", "c2=b"} << "Op Sala" << "Adicionarcanal1" << 1 << QStringList{"n=4", "c1=a", "c2=b", "c3=Op Sala"} << QStringList{"a", "b", "Op Sala"} << QByteArray("/join Op Sala\r");
    QTest::newRow("old key above the count replaced") << QStringList{"n=2", "c1=a", "c2=old"} << "Chat" << "ctrl+d" << 1 << QStringList{"n=3", "c1=a", "c2=Chat"} << QStringList{"a", "Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("count below one") << QStringList{"n=0"} << "Chat" << "ctrl+d" << 1 << QStringList{"n=2", "c1=Chat"} << QStringList{"Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("count not a number") << QStringList{"n=dois", "c1=a"} << "Chat" << "ctrl+d" << 1 << QStringList{"n=2", "c1=Chat"} << QStringList{"Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("count raised by hand") << QStringList{"n=50", "c1=a"} << "Chat" << "ctrl+d" << 1 << QStringList{"n=3", "c1=a", "c2=Chat"} << QStringList{"a", "Chat"} << QByteArray("/join Chat\r");
    QTest::newRow("ampersand shown, not sent") << QStringList{} << "R&D" << "ctrl+d" << 1 << QStringList{"n=2", "c1=R&D"} << QStringList{"R&D"} << QByteArray("/join RD\r");
    QTest::newRow("ampersand between words leaves two blanks") << QStringList{"n=2", "c1=a"} << "Rock & Roll" << "Adicionarcanal1" << 1 << QStringList{"n=3", "c1=a", "c2=Rock & Roll"} << QStringList{"a", "Rock & Roll"} << QByteArray("/join Rock  Roll\r");
    QTest::newRow("accented name") << QStringList{} << "Seção" << "ctrl+d" << 1 << QStringList{"n=2", "c1=Seção"} << QStringList{"Seção"} << QByteArray("/join Se\xe7\xe3o\r");
    // clang-format on
}

void TestWindowFavorites::addingTheCurrentChannel()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, channel);
    QFETCH(QString, how);
    QFETCH(int, times);
    QFETCH(QStringList, menu);
    WindowHarness h(Plain + QStringList{QStringLiteral("[Canais]")} + stored);
    TfrmMain* w = h.window.get();
    QVERIFY(logIn(h));
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"%1\"").arg(channel)));
    QCOMPARE(w->channel(), channel);
    child(w, "txtChat")->setFocus();
    for (int i = 0; i < times; ++i) {
        if (how == QLatin1String("ctrl+d"))
            pressCtrlD(w);
        else
            child<QAction>(w, how.toLatin1().constData())->trigger();
        QCOMPARE(QApplication::focusWidget(), child(w, "txtMsg"));
    }
    QFETCH(QStringList, after);
    after.sort();
    QCOMPARE(canais(h), after);
    QCOMPARE(favourites(w), menu);
    for (const QAction* item : favouriteItems(w))
        QCOMPARE(QKeySequence::mnemonic(item->text()), QKeySequence());
    // Adding sends nothing; choosing the new item joins it.
    QCOMPARE(sentSoFar(h), QByteArray());
    favouriteItems(w).constLast()->trigger();
    QTEST(sentSoFar(h), "join");
    // The next start builds the same menu from the file.
    h.close();
    h.open();
    QCOMPARE(favourites(h.window.get()), menu);
    QVERIFY(h.prompts.errors.isEmpty());
}

void TestWindowFavorites::ctrlDOnlyWhileLoggedIn_data()
{
    QTest::addColumn<QString>("state");
    // clang-format off
    QTest::newRow("never connected") << "down";
    QTest::newRow("login not yet confirmed") << "pending";
    QTest::newRow("after disconnecting") << "left";
    // clang-format on
}

void TestWindowFavorites::ctrlDOnlyWhileLoggedIn()
{
    QFETCH(QString, state);
    const QStringList stored{QStringLiteral("[Canais]"), QStringLiteral("n=2"),
                             QStringLiteral("c1=a")};
    WindowHarness h(Plain + stored);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    if (state == QLatin1String("pending")) {
        h.confirmLogins = false;
        QTest::mouseClick(child(w, "btnConectar"), Qt::LeftButton);
        QVERIFY(h.server.waitForData(LoginLine));
        QVERIFY(QTest::qWaitFor(
            [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000));
        w->activateWindow();
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QVERIFY(w->feature<ConnectionControl>()->loginPending());
    } else if (state == QLatin1String("left")) {
        QVERIFY(logIn(h));
        QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Chat\"")));
        w->feature<ConnectionControl>()->btnDesconectarClick();
        QVERIFY(h.server.waitForDisconnect());
        QTRY_VERIFY(!w->loggedIn());
    }
    const QString before = h.iniText();
    pressCtrlD(w);
    w->findChild<Favorites*>()->CrtlDExecute();
    QCOMPARE(h.iniText(), before);
    QCOMPARE(favourites(w), QStringList{QStringLiteral("a")});
}

void TestWindowFavorites::organizing_data()
{
    QTest::addColumn<QString>("item");  // the menu item that opens the dialog
    QTest::addColumn<QString>("steps"); // "add:<name>", "remove:<row>", "elsewhere" (another
                                        // writer changes the file), then "ok" or "cancel"
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("menu");

    const QStringList three{"n=4", "c1=Chat", "c2=R&D", "c3=Clan BR"};
    // clang-format off
    QTest::newRow("all removed") << "Organizarcanais1" << "remove:0,remove:0,remove:0,ok" << QStringList{"n=1", "c1=Chat", "c2=R&D", "c3=Clan BR"} << QStringList{};
    QTest::newRow("cancelled after adding and removing") << "Organizarcanais1" << "add:x,remove:1,cancel" << three << QStringList{"Chat", "R&D", "Clan BR"};
    QTest::newRow("added from the main menu") << "mnuOrgCanal" << "add:Op Sala,remove:0,ok" << QStringList{"n=4", "c1=R&D", "c2=Clan BR", "c3=Op Sala"} << QStringList{"R&D", "Clan BR", "Op Sala"};
    QTest::newRow("cancelled: the menu follows the file") << "mnuOrgCanal" << "elsewhere,cancel" << QStringList{"n=2", "c1=Nova", "c2=R&D", "c3=Clan BR"} << QStringList{"Nova"};
    // clang-format on
}

void TestWindowFavorites::organizing()
{
    QFETCH(QString, item);
    QFETCH(QString, steps);
    QFETCH(QStringList, menu);
    WindowHarness h(Plain + QStringList{"[Canais]", "n=4", "c1=Chat", "c2=R&D", "c3=Clan BR"});
    TfrmMain* w = h.window.get();
    QVERIFY(logIn(h));
    child(w, "txtChat")->setFocus();
    h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstCanais"));
        for (const QString& step : steps.split(QLatin1Char(','))) {
            const QString arg = step.section(QLatin1Char(':'), 1);
            if (step.startsWith(QLatin1String("add:"))) {
                dialog.findChild<QLineEdit*>(QStringLiteral("txtCanal"))->setText(arg);
                dialog.findChild<QPushButton*>(QStringLiteral("btnAdd"))->click();
            } else if (step.startsWith(QLatin1String("remove:"))) {
                list->clearSelection();
                list->item(arg.toInt())->setSelected(true);
                dialog.findChild<QPushButton*>(QStringLiteral("btnRemover"))->click();
            } else if (step == QLatin1String("elsewhere")) {
                TIniFile other(h.path(QStringLiteral("confs.ini")));
                other.WriteInteger(QStringLiteral("Canais"), QStringLiteral("n"), 2);
                other.WriteString(QStringLiteral("Canais"), QStringLiteral("c1"),
                                  QStringLiteral("Nova"));
            } else {
                dialog
                    .findChild<QPushButton*>(step == QLatin1String("ok")
                                                 ? QStringLiteral("btnOK")
                                                 : QStringLiteral("btnCancelar"))
                    ->click();
            }
        }
        return dialog.result();
    });
    child<QAction>(w, item.toLatin1().constData())->trigger();
    QCOMPARE(h.prompts.dialogTitles, QStringList{QStringLiteral("Canais favoritos...")});
    QFETCH(QStringList, after);
    after.sort();
    QCOMPARE(canais(h), after);
    QCOMPARE(favourites(w), menu);
    const QList<QAction*> all = child<QMenu>(w, "popCanais")->actions();
    QCOMPARE(all.size(), menu.size() + 3);
    QCOMPARE(all[0]->objectName(), QStringLiteral("Adicionarcanal1"));
    QCOMPARE(all[1]->objectName(), QStringLiteral("Organizarcanais1"));
    QVERIFY(all[2]->isSeparator());
    QCOMPARE(QApplication::focusWidget(), child(w, "txtMsg"));
    // Every rebuilt item joins its own channel.
    QByteArray joins;
    for (QAction* favourite : favouriteItems(w)) {
        favourite->trigger();
        joins += "/join " + displayed(favourite->text()).remove(QLatin1Char('&')).toLatin1() + "\r";
    }
    QCOMPARE(sentSoFar(h), joins);
    QVERIFY(h.prompts.errors.isEmpty());
}

// Far more favourites than a screen can show: all are in the menu in stored order, the menu
// scrolls within the screen, and the last one can be reached from the keyboard and joined.
void TestWindowFavorites::manyFavouritesStayReachable()
{
    constexpr int Count = 300;
    QStringList stored{QStringLiteral("[Canais]"), QStringLiteral("n=%1").arg(Count + 1)};
    QStringList names;
    for (int i = 1; i <= Count; ++i) {
        names << QStringLiteral("sala%1").arg(i);
        stored << QStringLiteral("c%1=sala%1").arg(i);
    }
    WindowHarness h(Plain + stored);
    TfrmMain* w = h.window.get();
    QVERIFY(logIn(h));
    QCOMPARE(favourites(w), names);
    auto* menu = child<QMenu>(w, "popCanais");
    const QRect screen = w->screen()->availableGeometry();
    menu->popup(screen.topLeft());
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    // One column as long as the list, shown no taller than the screen: the menu scrolls.
    QVERIFY(menu->sizeHint().height() > screen.height());
    QVERIFY(menu->height() <= screen.height());
    QTest::keyClick(menu, Qt::Key_End);
    QCOMPARE(menu->activeAction(), favouriteItems(w).constLast());
    QVERIFY(menu->rect().contains(menu->actionGeometry(menu->activeAction())));
    QTest::keyClick(menu, Qt::Key_Return);
    QCOMPARE(sentSoFar(h), QByteArray("/join sala300\r"));
}

QTEST_MAIN(TestWindowFavorites)
#include "tst_window_favorites.moc"
