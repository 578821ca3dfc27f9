#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <functional>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "net/TGatewayChat.h"
#include "window/ConnectionControl.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo")};

// What the window sent while `action` ran: a marker line sent after it comes through the same
// paced queue, so everything the action sent has arrived when the marker has.
QByteArray sentDuring(WindowHarness& h, const std::function<void()>& action)
{
    const int client = h.server.clientCount() - 1;
    h.server.clearReceived(client);
    action();
    h.window->gatewayChat()->SendLine(QStringLiteral("MARCA\r"));
    if (!h.server.waitForData("MARCA\r", 5000, client))
        return "no marker";
    const QByteArray got = h.server.received(client);
    return got.left(got.indexOf("MARCA\r"));
}

// Logs in and fills the channel with three accounts; bob is the one the tests act on.
bool enterChannel(WindowHarness& h)
{
    return h.connectToServer() && h.serverLine(QStringLiteral("1007 CHANNEL \"Chat\"")) &&
           h.serverLine(QStringLiteral("1001 USER ana 0000 [D2XP]")) &&
           h.serverLine(QStringLiteral("1001 USER bob 0000 [CHAT]")) &&
           h.serverLine(QStringLiteral("1001 USER Mod 0002 [CHAT]"));
}

void selectUser(TfrmMain* w, const QString& account)
{
    auto* list = w->findChild<QTreeView*>(QStringLiteral("lstUsers"));
    list->setCurrentIndex(w->users()->index(w->users()->indexOf(account), 0));
}

// Runs a menu item or a button of the window by its name. A hidden item is made reachable
// first, so that the handler's own conditions are what is tested.
void run(TfrmMain* w, const QString& name)
{
    if (auto* action = w->findChild<QAction*>(name)) {
        action->setVisible(true);
        action->trigger();
        return;
    }
    w->findChild<QToolButton*>(name)->click();
}

QTreeView* userList(TfrmMain* w)
{
    return w->findChild<QTreeView*>(QStringLiteral("lstUsers"));
}

Moderation* moderation(TfrmMain* w)
{
    return w->findChild<Moderation*>();
}

QLineEdit* input(TfrmMain* w)
{
    return w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
}
} // namespace

class TestWindowModeration : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void actions_data();
    void actions();
    void listActionsWaitForTheServersWelcome_data();
    void listActionsWaitForTheServersWelcome();
    void nothingSelectedAfterTheAccountGoes_data();
    void nothingSelectedAfterTheAccountGoes();
    void selectionFollowsAMovedAccount_data();
    void selectionFollowsAMovedAccount();
    void operatorModeShowsItsControls();
    void doubleClick_data();
    void doubleClick();
};

void TestWindowModeration::actions_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("opMode");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QString>("caption"); // given to the item first, when not empty
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<int>("questions");

    const QStringList none;
    const QStringList kickBox = {"Kick com motivo|Digite o motivo do kick:|"};
    const QStringList banBox = {"Ban com motivo|Digite o motivo do ban:|"};
    // clang-format off
    QTest::newRow("kick") << "Kickar1" << false << true << "" << none << true << QByteArray("/kick bob\r") << none << 0;
    QTest::newRow("kick, nothing selected") << "Kickar1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("kick with reason") << "KickMotivo1" << false << true << "" << QStringList{"flood"} << true << QByteArray("/kick bob flood\r") << kickBox << 0;
    QTest::newRow("kick with reason, blanks kept") << "KickMotivo1" << false << true << "" << QStringList{" flood  "} << true << QByteArray("/kick bob  flood  \r") << kickBox << 0;
    QTest::newRow("kick with reason, line break in it") << "KickMotivo1" << false << true << "" << QStringList{"a\r/kill ana"} << true << QByteArray("/kick bob a /kill ana\r") << kickBox << 0;
    QTest::newRow("kick with reason, cancelled") << "KickMotivo1" << false << true << "" << none << true << QByteArray() << kickBox << 0;
    QTest::newRow("kick with reason, empty") << "KickMotivo1" << false << true << "" << QStringList{""} << true << QByteArray() << kickBox << 0;
    QTest::newRow("kick with reason, nothing selected: no box") << "KickMotivo1" << false << false << "" << QStringList{"flood"} << true << QByteArray() << none << 0;
    QTest::newRow("ban") << "Banir1" << false << true << "" << none << true << QByteArray("/ban bob\r") << none << 0;
    QTest::newRow("ban, nothing selected") << "Banir1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("ban with reason") << "BanMotivo1" << false << true << "" << QStringList{"spam"} << true << QByteArray("/ban bob spam\r") << banBox << 0;
    QTest::newRow("ban with reason, cancelled") << "BanMotivo1" << false << true << "" << none << true << QByteArray() << banBox << 0;
    QTest::newRow("kill, confirmed") << "Kill1" << true << true << "" << none << true << QByteArray("/kill bob\r") << none << 1;
    QTest::newRow("kill, answered no") << "Kill1" << true << true << "" << none << false << QByteArray() << none << 1;
    QTest::newRow("kill, not in operator mode: not asked") << "Kill1" << false << true << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("kill, nothing selected: not asked") << "Kill1" << true << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("whois") << "Whois1" << false << true << "" << none << true << QByteArray("/whois bob\r") << none << 0;
    QTest::newRow("whois, nothing selected") << "Whois1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("voice") << "voice" << true << true << "" << none << true << QByteArray("/voice bob\r") << none << 0;
    QTest::newRow("voice, not in operator mode") << "voice" << false << true << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("devoice") << "devoice" << true << true << "" << none << true << QByteArray("/devoice bob\r") << none << 0;
    QTest::newRow("devoice, not in operator mode") << "devoice" << false << true << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("devoice, nothing selected") << "devoice" << true << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("squelch") << "Squelch1" << false << true << "" << none << true << QByteArray("/squelch bob\r") << none << 0;
    QTest::newRow("squelch, nothing selected") << "Squelch1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("unsquelch") << "Unsquelch1" << false << true << "" << none << true << QByteArray("/unsquelch bob\r") << none << 0;
    QTest::newRow("tag, no selection needed") << "D2XP1" << true << false << "" << none << true << QByteArray("/tag D2XP\r") << none << 0;
    QTest::newRow("tag after the separator") << "W2BN1" << true << true << "" << none << true << QByteArray("/tag W2BN\r") << none << 0;
    QTest::newRow("tag with an accelerator mark") << "W3XP1" << true << false << "W&3XP" << none << true << QByteArray("/tag W3XP\r") << none << 0;
    QTest::newRow("tag with several marks") << "CHAT1" << true << false << "&C&HAT&" << none << true << QByteArray("/tag CHAT\r") << none << 0;
    QTest::newRow("tag, not in operator mode") << "STAR1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("users") << "Usurios1" << false << false << "" << none << true << QByteArray("/users\r") << none << 0;
    QTest::newRow("channels") << "Canais1" << false << false << "" << none << true << QByteArray("/chs all\r") << none << 0;
    QTest::newRow("time") << "Hora1" << false << false << "" << none << true << QByteArray("/time\r") << none << 0;
    QTest::newRow("moderate") << "Moderar1" << true << false << "" << none << true << QByteArray("/moderate\r") << none << 0;
    QTest::newRow("moderate, not in operator mode") << "Moderar1" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("rejoin") << "Rejoin1" << false << false << "" << none << true << QByteArray("/rejoin\r") << none << 0;
    QTest::newRow("banned") << "Banidos1" << false << false << "" << none << true << QByteArray("/lusers\r") << none << 0;
    QTest::newRow("games") << "btnTopGames" << false << false << "" << none << true << QByteArray("/games d2xp\r") << none << 0;
    QTest::newRow("games normal") << "btnTopGamesNorm" << false << false << "" << none << true << QByteArray("/games d2xp norm\r") << none << 0;
    QTest::newRow("games nightmare") << "btnTopGamesNM" << false << false << "" << none << true << QByteArray("/games d2xp night\r") << none << 0;
    QTest::newRow("games hell") << "btnTopGamesHell" << false << false << "" << none << true << QByteArray("/games d2xp hell\r") << none << 0;
    QTest::newRow("con") << "btnTopCon" << true << false << "" << none << true << QByteArray("/con\r") << none << 0;
    QTest::newRow("con, not in operator mode") << "btnTopCon" << false << false << "" << none << true << QByteArray() << none << 0;
    QTest::newRow("con all") << "btnTopConAll" << true << false << "" << none << true << QByteArray("/con all\r") << none << 0;
    QTest::newRow("con all, not in operator mode") << "btnTopConAll" << false << false << "" << none << true << QByteArray() << none << 0;
    // clang-format on
}

void TestWindowModeration::actions()
{
    QFETCH(QString, item);
    QFETCH(bool, opMode);
    QFETCH(bool, selected);
    QFETCH(QString, caption);
    QFETCH(QStringList, answers);
    QFETCH(bool, yes);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, inputs);
    QFETCH(int, questions);

    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(enterChannel(h));
    if (opMode)
        moderation(w)->enterOpMode();
    if (selected)
        selectUser(w, QStringLiteral("bob"));
    if (!caption.isEmpty())
        w->findChild<QAction*>(item)->setText(caption);
    for (const QString& answer : answers)
        h.prompts.files.enqueue(answer);
    h.prompts.answer = yes;
    w->findChild<QTreeView*>(QStringLiteral("lstUsers"))->setFocus();

    QCOMPARE(sentDuring(h, [&] { run(w, item); }), sent);
    QCOMPARE(h.prompts.inputs, inputs);
    QCOMPARE(h.prompts.messages.size(), questions);
    if (questions > 0)
        QCOMPARE(h.prompts.messages.first(),
                 QStringLiteral("Esta ação irá desconectar o usuário do servidor.\n"
                                "Tem certeza que deseja prosseguir?"));
    QVERIFY(h.prompts.errors.isEmpty());
    QTRY_VERIFY(input(w)->hasFocus());
}

void TestWindowModeration::listActionsWaitForTheServersWelcome_data()
{
    QTest::addColumn<QString>("item");
    // clang-format off
    QTest::newRow("users") << "Usurios1";
    QTest::newRow("channels") << "Canais1";
    QTest::newRow("time") << "Hora1";
    QTest::newRow("moderate") << "Moderar1";
    QTest::newRow("rejoin") << "Rejoin1";
    QTest::newRow("banned") << "Banidos1";
    QTest::newRow("games") << "btnTopGames";
    QTest::newRow("games hell") << "btnTopGamesHell";
    QTest::newRow("con") << "btnTopCon";
    QTest::newRow("con all") << "btnTopConAll";
    // clang-format on
}

// Connected, the login sent, the server not yet answering it: neither the list actions, even in
// operator mode, nor an action on a selected user send anything; the server would read the line
// as the next account name.
void TestWindowModeration::listActionsWaitForTheServersWelcome()
{
    QFETCH(QString, item);
    WindowHarness h(Plain);
    h.confirmLogins = false;
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData("segredo\r\r"));
    QTRY_VERIFY(w->feature<ConnectionControl>()->loginPending());
    moderation(w)->enterOpMode();
    w->users()->addUser(QStringLiteral("bob"), QStringLiteral("0000"), QStringLiteral("CHAT"));
    selectUser(w, QStringLiteral("bob"));
    run(w, item);
    run(w, QStringLiteral("Whois1"));
    // Whatever went out before the confirmation would come before the join that follows it.
    h.server.sendLine(QStringLiteral("2010 NAME visitante"));
    QVERIFY(h.server.waitForData("/join Chat\r"));
    QCOMPARE(h.server.received(), QByteArray("\x03\x04visitante\rsegredo\r\r/join Chat\r"));
}

void TestWindowModeration::nothingSelectedAfterTheAccountGoes_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("answers");   // of the reason boxes, were one asked
    QTest::addColumn<QStringList>("departure"); // the server's lines as bob goes

    const QStringList leave = {"1003 LEAVE bob 0000"};
    const QStringList kick = {"1018 INFO \"bob was kicked out of the channel by Mod.\"",
                              "1003 LEAVE bob 0000"};
    const QStringList reason = {"flood"};
    const QStringList none;
    // clang-format off
    QTest::newRow("kick after a leave") << "Kickar1" << none << leave;
    QTest::newRow("kick after a kick") << "Kickar1" << none << kick;
    QTest::newRow("kick with reason after a leave") << "KickMotivo1" << reason << leave;
    QTest::newRow("ban after a kick") << "Banir1" << none << kick;
    QTest::newRow("ban with reason after a kick") << "BanMotivo1" << reason << kick;
    QTest::newRow("kill after a leave") << "Kill1" << none << leave;
    QTest::newRow("kill after a kick") << "Kill1" << none << kick;
    QTest::newRow("whois after a leave") << "Whois1" << none << leave;
    QTest::newRow("whois after a kick") << "Whois1" << none << kick;
    QTest::newRow("voice after a leave") << "voice" << none << leave;
    QTest::newRow("devoice after a kick") << "devoice" << none << kick;
    QTest::newRow("squelch after a leave") << "Squelch1" << none << leave;
    QTest::newRow("unsquelch after a kick") << "Unsquelch1" << none << kick;
    QTest::newRow("lock whisper after a leave") << "LockarWhisp1" << none << leave;
    QTest::newRow("add to the list after a kick") << "AdicionarLista1" << reason << kick;
    // clang-format on
}

// Left alone, the list would select the departed account's neighbour, and the action would hit
// an account nobody chose.
void TestWindowModeration::nothingSelectedAfterTheAccountGoes()
{
    QFETCH(QString, item);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, departure);

    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(enterChannel(h));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER carol 0000 [CHAT]")));
    moderation(w)->enterOpMode();
    const int suspects =
        w->findChild<QTreeWidget*>(QStringLiteral("lstCustom"))->topLevelItemCount();
    for (const QString& answer : answers)
        h.prompts.files.enqueue(answer);
    selectUser(w, QStringLiteral("bob"));
    userList(w)->setFocus();
    for (const QString& line : departure)
        QVERIFY(h.serverLine(line));
    QCOMPARE(w->users()->indexOf(QStringLiteral("bob")), -1);
    QVERIFY(userList(w)->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!userList(w)->currentIndex().isValid());

    QCOMPARE(sentDuring(h, [&] { run(w, item); }), QByteArray());
    QCOMPARE(h.prompts.inputs, QStringList());
    QCOMPARE(h.prompts.messages, QStringList());
    QCOMPARE(w->lockWhisps()->getNumLocks(), 0);
    QCOMPARE(w->findChild<QTreeWidget*>(QStringLiteral("lstCustom"))->topLevelItemCount(),
             suspects);
}

void TestWindowModeration::selectionFollowsAMovedAccount_data()
{
    // The list sorts again at the next arrival after a change of flags.
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("moves"); // whether bob's row moves
    // clang-format off
    QTest::newRow("the chosen account rises") << QStringList{"1009 USER bob 0002", "1002 JOIN zed 0000 [CHAT]"} << true;
    QTest::newRow("another account passes it") << QStringList{"1009 USER carol 0002", "1002 JOIN zed 0000 [CHAT]"} << true;
    QTest::newRow("another account leaves") << QStringList{"1003 LEAVE ana 0000"} << true;
    QTest::newRow("another account joins") << QStringList{"1002 JOIN aaa 0000 [CHAT]"} << false;
    // clang-format on
}

// A row that only moves keeps its selection: the action still reaches the account chosen.
void TestWindowModeration::selectionFollowsAMovedAccount()
{
    QFETCH(QStringList, changes);
    QFETCH(bool, moves);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(enterChannel(h));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER carol 0000 [CHAT]")));
    selectUser(w, QStringLiteral("bob"));
    const int before = w->users()->indexOf(QStringLiteral("bob"));
    for (const QString& line : changes)
        QVERIFY(h.serverLine(line));
    QCOMPARE(w->users()->indexOf(QStringLiteral("bob")) != before, moves);
    QCOMPARE(sentDuring(h, [&] { run(w, QStringLiteral("Kickar1")); }), QByteArray("/kick bob\r"));
}

void TestWindowModeration::operatorModeShowsItsControls()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    const QStringList items = {"Moderar1", "Kill1", "AdicionarLista1", "Tags1", "Controle1"};
    const QStringList controls = {"btnTopCon", "btnTopConAll", "pnlCustom", "Splitter3"};
    for (const QString& name : items)
        QVERIFY2(!w->findChild<QAction*>(name)->isVisible(), qPrintable(name));
    for (const QString& name : controls)
        QVERIFY2(!w->findChild<QWidget*>(name)->isVisible(), qPrintable(name));

    moderation(w)->enterOpMode();
    moderation(w)->enterOpMode();
    QVERIFY(moderation(w)->opMode());
    QCOMPARE(w->windowTitle(), QStringLiteral("Tulmo Chat v1.5 Light - [OP MODE]"));
    for (const QString& name : items)
        QVERIFY2(w->findChild<QAction*>(name)->isVisible(), qPrintable(name));
    for (const QString& name : controls)
        QVERIFY2(w->findChild<QWidget*>(name)->isVisible(), qPrintable(name));
}

void TestWindowModeration::doubleClick_data()
{
    QTest::addColumn<QStringList>("ini"); // Geral lines beside the account
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("line"); // the input line after it, from "hi"

    const QStringList none;
    // clang-format off
    QTest::newRow("whois") << QStringList{"User2x=Whois"} << false << none << QByteArray("/whois bob\r") << "hi";
    QTest::newRow("kick") << QStringList{"User2x=Kick"} << false << none << QByteArray("/kick bob\r") << "hi";
    QTest::newRow("ban") << QStringList{"User2x=Ban"} << false << none << QByteArray("/ban bob\r") << "hi";
    QTest::newRow("kick with reason") << QStringList{"User2x=KickMot"} << false << QStringList{"flood"} << QByteArray("/kick bob flood\r") << "hi";
    QTest::newRow("ban with reason, cancelled") << QStringList{"User2x=BanMot"} << false << none << QByteArray() << "hi";
    QTest::newRow("squelch") << QStringList{"User2x=Squelch"} << false << none << QByteArray("/squelch bob\r") << "hi";
    QTest::newRow("missing key squelches") << none << false << none << QByteArray("/squelch bob\r") << "hi";
    QTest::newRow("lower case squelches") << QStringList{"User2x=kick"} << false << none << QByteArray("/squelch bob\r") << "hi";
    QTest::newRow("unknown value squelches") << QStringList{"User2x=Kill"} << false << none << QByteArray("/squelch bob\r") << "hi";
    QTest::newRow("shift appends the account") << QStringList{"User2x=Kick"} << true << none << QByteArray() << "hibob";
    // clang-format on
}

void TestWindowModeration::doubleClick()
{
    QFETCH(QStringList, ini);
    QFETCH(bool, shift);
    QFETCH(QStringList, answers);
    QFETCH(QByteArray, sent);
    QFETCH(QString, line);

    WindowHarness h(Plain + ini);
    TfrmMain* w = h.window.get();
    QVERIFY(enterChannel(h));
    for (const QString& answer : answers)
        h.prompts.files.enqueue(answer);
    input(w)->setText(QStringLiteral("hi"));
    input(w)->setCursorPosition(0);
    auto* list = w->findChild<QTreeView*>(QStringLiteral("lstUsers"));
    const QPoint at =
        list->visualRect(w->users()->index(w->users()->indexOf(QStringLiteral("bob")), 0)).center();
    const Qt::KeyboardModifiers keys = shift ? Qt::ShiftModifier : Qt::NoModifier;

    // Through the window system, so the list sees the presses that lead to the double click.
    QCOMPARE(sentDuring(h,
                        [&] {
                            QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, keys,
                                               list->viewport()->mapTo(w, at));
                        }),
             sent);
    QCOMPARE(input(w)->text(), line);
    QTRY_VERIFY(input(w)->hasFocus());
    QCOMPARE(input(w)->cursorPosition(), line.size());
}

QTEST_MAIN(TestWindowModeration)
#include "tst_window_moderation.moc"
