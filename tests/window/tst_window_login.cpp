#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/CustomList.h"
#include "window/LockedWhisperPanel.h"
#include "window/Moderation.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                           QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\rsegredo\r\r");
const QString HeldBack =
    QStringLiteral("Aguardando a confirmação do login; a linha não foi enviada.|7");
const QString Refused = QStringLiteral("Falha no login: verifique a conta e a senha.|8");

bool enabled(TfrmMain* w, const char* name)
{
    if (auto* action = w->findChild<QAction*>(QLatin1String(name)))
        return action->isEnabled();
    return w->findChild<QWidget*>(QLatin1String(name))->isEnabled();
}

// Which of the connection-bound controls are enabled: btnConectar, mnuConectar, btnDesconectar,
// btnHomeChannel, btnJoin, btnAway, btnDND, mnuDesconectar.
QString connectionControls(TfrmMain* w)
{
    QString state;
    for (const char* name : {"btnConectar", "mnuConectar", "btnDesconectar", "btnHomeChannel",
                             "btnJoin", "btnAway", "btnDND", "mnuDesconectar"})
        state += enabled(w, name) ? QLatin1Char('1') : QLatin1Char('0');
    return state;
}

const QString Disconnected = QStringLiteral("11000000");
const QString Confirming = QStringLiteral("00100001");
const QString LoggedIn = QStringLiteral("00111111");

// Every paragraph of the channel pane, its pieces as "text|style" joined by " + ".
QStringList paneLines(const ChatView* pane)
{
    QStringList lines;
    for (int back = WindowHarness::paragraphs(pane) - 1; back >= 0; --back)
        lines << WindowHarness::lastPieces(pane, back).join(QLatin1String(" + "));
    return lines;
}

// Connects to a server that does not confirm the login by itself; true once the login was sent
// and the waiting dialog has closed.
bool sendLogin(WindowHarness& h)
{
    h.confirmLogins = false;
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    return h.server.waitForClient() && h.server.waitForData(Login) &&
           QTest::qWaitFor(
               [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000);
}

// Types a line into the input line and presses Enter.
void typeLine(TfrmMain* w, const QString& text)
{
    auto* input = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    input->setFocus();
    QTest::keyClicks(input, text);
    QTest::keyClick(input, Qt::Key_Return);
}
} // namespace

class TestWindowLogin : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void confirmed_data();
    void confirmed();
    void refused_data();
    void refused();
    void emoteWaitsForTheConfirmation();
    void nothingButTheLoginBeforeTheConfirmation();
    void refusalAtOnceClosesTheWaitingDialog();
};

void TestWindowLogin::confirmed_data()
{
    QTest::addColumn<QStringList>("lines"); // the server's lines after the login
    QTest::addColumn<QStringList>(
        "pane"); // the channel pane afterwards, the typed line's note first
    QTest::addColumn<QString>("channel");

    // clang-format off
    QTest::newRow("the account named") << QStringList{"2010 NAME visitante"} << QStringList{"Conexao estabelecida!|7"} << QString();
    QTest::newRow("a channel first, then handled") << QStringList{"1007 CHANNEL \"Sala\""} << QStringList{"Conexao estabelecida!|7"} << "Sala";
    QTest::newRow("information first, shown after the confirmation") << QStringList{"1018 INFO \"Bem-vindo\""} << QStringList{"Conexao estabelecida!|7", "Bem-vindo|7"} << QString();
    QTest::newRow("the server's greeting first, shown as information") << QStringList{"Enter your account name and password.", "Username: visitante", "2010 NAME visitante"} << QStringList{"Enter your account name and password.|7", "Username: visitante|7", "Conexao estabelecida!|7"} << QString();
    QTest::newRow("a date is no event code") << QStringList{"2026-12-11 Login ok", "2010 NAME visitante"} << QStringList{"2026-12-11 Login ok|7", "Conexao estabelecida!|7"} << QString();
    QTest::newRow("the null event confirms nothing") << QStringList{"2000 NULL", "2010 NAME visitante"} << QStringList{"Conexao estabelecida!|7"} << QString();
    QTest::newRow("plain text after the confirmation ignored") << QStringList{"2010 NAME visitante", "Login failed."} << QStringList{"Conexao estabelecida!|7"} << QString();
    // clang-format on
}

void TestWindowLogin::confirmed()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, pane);
    QFETCH(QString, channel);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(sendLogin(h));
    QVERIFY(!w->loggedIn());
    QCOMPARE(connectionControls(w), Confirming);
    // A line typed before the server answers stays where it is.
    typeLine(w, QStringLiteral("oi"));
    QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->text(), QStringLiteral("oi"));
    QCOMPARE(paneLines(w->chatPane()), QStringList{HeldBack});
    for (const QString& line : lines)
        h.server.sendLine(line);
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    // The harness's marker shows that every line before it was handled.
    QVERIFY(h.serverLine(QStringLiteral("2000 NULL")));
    pane.prepend(HeldBack);
    pane.append(QStringLiteral("marca 1|7"));
    QCOMPARE(paneLines(w->chatPane()), pane);
    QCOMPARE(w->channel(), channel);
    QCOMPARE(connectionControls(w), LoggedIn);
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrLogin"))->isActive());
    // The line kept goes out now, after the join.
    QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("txtMsg")), Qt::Key_Return);
    QVERIFY(h.server.waitForData("oi\r"));
    QCOMPARE(h.server.received(), Login + "/join Chat\roi\r");
}

void TestWindowLogin::refused_data()
{
    QTest::addColumn<QString>("timeout"); // Geral/Timeout; empty: not stored
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("end"); // a last server line, "close", "deadline" or "disconnect"
    QTest::addColumn<QStringList>("pane");

    // clang-format off
    QTest::newRow("asked again, then an error event") << QString() << QStringList{"Login failed.", "Username:"} << "1019 ERROR \"Login inválido.\"" << QStringList{"Login failed.|7", "Username:|7", HeldBack, "Login inválido.|8", Refused};
    QTest::newRow("an error event at once") << QString() << QStringList() << "1019 ERROR \"Conta bloqueada\"" << QStringList{HeldBack, "Conta bloqueada|8", Refused};
    QTest::newRow("a refusal that starts with a date") << QString() << QStringList{"2026-12-11 Login failed: wrong password"} << "1019 ERROR \"Login inválido.\"" << QStringList{"2026-12-11 Login failed: wrong password|7", HeldBack, "Login inválido.|8", Refused};
    QTest::newRow("the server closes first") << QString() << QStringList{"Login failed."} << "close" << QStringList{"Login failed.|7", HeldBack, Refused};
    QTest::newRow("no answer in time, at least five seconds") << "-2147483648" << QStringList{"Login failed.", "Username:"} << "deadline" << QStringList{"Login failed.|7", "Username:|7", HeldBack, Refused};
    QTest::newRow("the user disconnects") << QString() << QStringList{"Login failed."} << "disconnect" << QStringList{"Login failed.|7", HeldBack, "Conexao finalizada|7"};
    // clang-format on
}

void TestWindowLogin::refused()
{
    QFETCH(QString, timeout);
    QFETCH(QStringList, lines);
    QFETCH(QString, end);
    QFETCH(QStringList, pane);
    QStringList ini = Plain;
    if (!timeout.isEmpty())
        ini.insert(1, QStringLiteral("Timeout=") + timeout);
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    QVERIFY(sendLogin(h));
    auto* deadline = w->findChild<QTimer*>(QStringLiteral("tmrLogin"));
    QVERIFY(deadline->isActive());
    QCOMPARE(deadline->interval(), timeout.isEmpty() ? 15000 : 5000);
    for (const QString& line : lines)
        h.server.sendLine(line);
    QVERIFY(
        QTest::qWaitFor([&] { return WindowHarness::paragraphs(w->chatPane()) == lines.size(); }));
    QCOMPARE(connectionControls(w), Confirming);
    // What the user types now would reach the server's login as an account or a password.
    typeLine(w, QStringLiteral("segredo2"));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()), QStringList{HeldBack});
    if (end == QLatin1String("close"))
        h.server.closeClient();
    else if (end == QLatin1String("disconnect"))
        w->findChild<QAction*>(QStringLiteral("mnuDesconectar"))->trigger();
    else if (end != QLatin1String("deadline"))
        h.server.sendLine(end);
    QVERIFY(QTest::qWaitFor([w] { return !w->chatInterface()->Connected(); }, 8000));
    QCOMPARE(paneLines(w->chatPane()), pane);
    QCOMPARE(connectionControls(w), Disconnected);
    QVERIFY(!w->loggedIn());
    QVERIFY(!deadline->isActive());
    QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->text(),
             QStringLiteral("segredo2"));
    QVERIFY(h.server.waitForDisconnect());
    QCOMPARE(h.server.received(), Login);
}

void TestWindowLogin::emoteWaitsForTheConfirmation()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(sendLogin(h));
    auto* input = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    QTest::keyClicks(input, QStringLiteral("acena"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnEmote")), Qt::LeftButton);
    QCOMPARE(input->text(), QStringLiteral("acena"));
    QCOMPARE(paneLines(w->chatPane()), QStringList{HeldBack});
    h.server.sendLine(QStringLiteral("2010 NAME visitante"));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("btnEmote")), Qt::LeftButton);
    QVERIFY(h.server.waitForData("/me acena\r"));
    QCOMPARE(h.server.received(), Login + "/join Chat\r/me acena\r");
}

// Every action of the window that may send, tried while the login awaits its confirmation: the
// one gate drops each line (a line typed stays where it is), and nothing but the login reaches
// the server before the confirmation.
void TestWindowLogin::nothingButTheLoginBeforeTheConfirmation()
{
    const QStringList ini =
        Plain + QStringList{"[Atalhos]",  "AtalhoA=oi a todos", "AtalhoASend=1", "[Lista]",
                            "nL=2",       "Acc1=carol",         "Mot1=flood",    "[Geral]",
                            "User2x=Kick"};
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    QVERIFY(sendLogin(h));
    w->findChild<Moderation*>()->enterOpMode();
    w->users()->addUser(QStringLiteral("bob"), QStringLiteral("0000"), QStringLiteral("CHAT"));
    auto* users = w->findChild<QTreeView*>(QStringLiteral("lstUsers"));
    auto* suspects = w->findChild<QTreeWidget*>(QStringLiteral("lstCustom"));
    const auto choose = [&] {
        users->setCurrentIndex(w->users()->index(w->users()->indexOf(QStringLiteral("bob")), 0));
        suspects->setCurrentItem(suspects->topLevelItem(0));
    };
    h.prompts.answer = true;

    // Ending the session or hiding the window sends nothing and would end the test.
    const QStringList leave = {"mnuSair", "mnuDesconectar", "btnDesconectar", "atalhoMin"};
    for (QAction* action : w->findChildren<QAction*>()) {
        if (leave.contains(action->objectName()) || action->menu())
            continue;
        choose();
        // Reason boxes answer, so a line would be built.
        if (action->objectName().contains(QLatin1String("Motivo")))
            h.prompts.files.enqueue(QStringLiteral("motivo"));
        action->trigger();
        h.prompts.files.clear();
    }
    for (LockedWhisperPanel* lock : w->findChildren<LockedWhisperPanel*>()) {
        if (lock->isHidden())
            continue;
        lock->txtWhisp->setText(QStringLiteral("psiu"));
        QTest::mouseClick(lock->lblAccWhisp, Qt::LeftButton);
    }
    w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->setText(QStringLiteral("oi"));
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
        // A button with a menu only opens it; its items are actions, tried above.
        if (leave.contains(button->objectName()) || !button->isEnabled() ||
            button->objectName().startsWith(QLatin1String("btnFecharWhispLock")))
            continue;
        if (auto* tool = qobject_cast<QToolButton*>(button); tool && tool->menu())
            continue;
        if (auto* push = qobject_cast<QPushButton*>(button); push && push->menu())
            continue;
        choose();
        button->click();
    }
    choose();
    w->findChild<Moderation*>()->lstUsersDblClick();
    w->findChild<CustomList*>()->lstCustom1DblClick();
    QVERIFY(WindowHarness::settle(w));
    QVERIFY(w->feature<ConnectionControl>()->loginPending());
    QCOMPARE(h.server.received(), Login);
    QVERIFY(paneLines(w->chatPane()).contains(HeldBack));

    h.server.sendLine(QStringLiteral("2010 NAME visitante"));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    w->gatewayChat()->SendLine(QStringLiteral("MARCA\r"));
    QVERIFY(h.server.waitForData("MARCA\r"));
    QCOMPARE(h.server.received(), Login + "/join Chat\rMARCA\r");
}

// A real server refuses a wrong password at once: the waiting dialog closes at its next tick
// instead of counting down the whole time-out and then blaming a silent server.
void TestWindowLogin::refusalAtOnceClosesTheWaitingDialog()
{
    WindowHarness h(QStringList{Plain.first(), QStringLiteral("Timeout=60")} + Plain.mid(1));
    h.confirmLogins = false;
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData(Login));
    h.server.sendLine(QStringLiteral("1019 ERROR \"Senha incorreta.\""));
    QVERIFY(QTest::qWaitFor(
        [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000));
    QVERIFY(QTest::qWaitFor([w] { return !w->chatInterface()->Connected(); }));
    QCOMPARE(paneLines(w->chatPane()), (QStringList{"Senha incorreta.|8", Refused}));
    QCOMPARE(connectionControls(w), Disconnected);
}

QTEST_MAIN(TestWindowLogin)
#include "tst_window_login.moc"
