#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "WindowHarness.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/AutoReconnect.h"
#include "window/ConnectionControl.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmConectar.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                           QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\rsegredo\r\r");
const QByteArray Join("/join Chat\r");
const QString Lost = QStringLiteral("Conexao interrompida!|8");
const QString Up = QStringLiteral("Conexao estabelecida!|7");
const QString Cancelled = QStringLiteral("Reconexão automática cancelada.|7");

QString waitLine(int seconds)
{
    return QStringLiteral("Reconectando em %1 s…|7").arg(seconds);
}

QString attemptLine(int attempt)
{
    return QStringLiteral("Reconectando (tentativa %1)…|7").arg(attempt);
}

QStringList withGeral(QStringList lines, const QStringList& keys)
{
    for (const QString& key : keys)
        lines.insert(1, key);
    return lines;
}

// Waits of msPerSecond milliseconds per second, not spread.
AutoReconnect* quick(TfrmMain* w, int msPerSecond = 20)
{
    auto* reconnect = w->feature<AutoReconnect>();
    reconnect->setTimeScaleForTests(msPerSecond);
    reconnect->setRandomForTests([] { return 0.5; });
    return reconnect;
}

// The channel pane's paragraphs from the given one on, each as "text|style".
QStringList paneFrom(const ChatView* pane, int from)
{
    QStringList lines;
    for (int back = WindowHarness::paragraphs(pane) - 1 - from; back >= 0; --back)
        lines << WindowHarness::lastPieces(pane, back).join(QLatin1String(" + "));
    return lines;
}

QStringList waitsShown(const ChatView* pane)
{
    QStringList waits;
    for (const QString& line : paneFrom(pane, 0)) {
        if (line.startsWith(QLatin1String("Reconectando em ")))
            waits << line;
    }
    return waits;
}

// Which of btnConectar, mnuConectar, btnDesconectar, btnHomeChannel, btnJoin, btnAway, btnDND
// and mnuDesconectar are enabled.
QString connectionControls(TfrmMain* w)
{
    QString state;
    for (const char* name : {"btnConectar", "mnuConectar", "btnDesconectar", "btnHomeChannel",
                             "btnJoin", "btnAway", "btnDND", "mnuDesconectar"}) {
        bool on = false;
        if (auto* action = w->findChild<QAction*>(QLatin1String(name)))
            on = action->isEnabled();
        else
            on = w->findChild<QWidget*>(QLatin1String(name))->isEnabled();
        state += on ? QLatin1Char('1') : QLatin1Char('0');
    }
    return state;
}

const QString Disconnected = QStringLiteral("11000000");
const QString Waiting = QStringLiteral("11100001");
const QString LoggedIn = QStringLiteral("00111111");

// Everything client i got since the login, up to a marker line sent now.
QByteArray sentUpToMarker(WindowHarness& h, int i)
{
    h.window->gatewayChat()->SendLine(QStringLiteral("/marca\r"));
    if (!h.server.waitForData("/marca\r", 5000, i))
        return "(no marker)";
    return h.server.received(i);
}

void click(TfrmMain* w, const char* button)
{
    QTest::mouseClick(w->findChild<QWidget*>(QLatin1String(button)), Qt::LeftButton);
}
} // namespace

class TestWindowReconnect : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lostSessionIsResumed_data();
    void lostSessionIsResumed();
    void rejoinsTheLastChannel_data();
    void rejoinsTheLastChannel();
    void notRetried_data();
    void notRetried();
    void waitsGrowWhileTheServerClosesAtOnce();
    void unreachableServerIsTriedAgain();
    void userTakesOverTheWait_data();
    void userTakesOverTheWait();
    void sessionStateSurvives();
};

void TestWindowReconnect::lostSessionIsResumed_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("the server closes") << false;
    QTest::newRow("the connection drops") << true;
}

// The pane tells the wait and the attempt; the new session asks for the home channel as every
// login does, then for the channel the user was in.
void TestWindowReconnect::lostSessionIsResumed()
{
    QFETCH(bool, reset);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    quick(w);
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Sala\"")));
    const int from = WindowHarness::paragraphs(w->chatPane());
    if (reset)
        h.server.resetClient();
    else
        h.server.closeClient();
    QVERIFY(h.server.waitForClient(2));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QCOMPARE(sentUpToMarker(h, 1), Login + Join + "/join Sala\r" + "/marca\r");
    QCOMPARE(paneFrom(w->chatPane(), from), (QStringList{Lost, waitLine(5), attemptLine(1), Up}));
    QCOMPARE(connectionControls(w), LoggedIn);
    QVERIFY(!w->feature<AutoReconnect>()->waiting());
}

void TestWindowReconnect::rejoinsTheLastChannel_data()
{
    QTest::addColumn<bool>("joinHome");    // Geral/JoinPrinc
    QTest::addColumn<QString>("channel");  // the server's last channel; null: none ever
    QTest::addColumn<QByteArray>("joins"); // what the new session sends after the login
    // clang-format off
    QTest::newRow("another channel")              << true  << "Sala"    << QByteArray("/join Chat\r/join Sala\r");
    QTest::newRow("the home channel")             << true  << "Chat"    << QByteArray("/join Chat\r");
    QTest::newRow("home in other letters")        << true  << "cHAT"    << QByteArray("/join Chat\r");
    QTest::newRow("a name with blanks")           << true  << "Op Sala" << QByteArray("/join Chat\r/join Op Sala\r");
    QTest::newRow("never in a channel")           << true  << QString() << QByteArray("/join Chat\r");
    QTest::newRow("no home join")                 << false << "Sala"    << QByteArray("/join Sala\r");
    QTest::newRow("no home join, home last")      << false << "Chat"    << QByteArray("/join Chat\r");
    QTest::newRow("no home join, never anywhere") << false << QString() << QByteArray();
    // clang-format on
}

void TestWindowReconnect::rejoinsTheLastChannel()
{
    QFETCH(bool, joinHome);
    QFETCH(QString, channel);
    QFETCH(QByteArray, joins);
    WindowHarness h(withGeral(Plain, {QStringLiteral("JoinPrinc=") + (joinHome ? "1" : "0")}));
    TfrmMain* w = h.window.get();
    quick(w);
    QVERIFY(h.connectToServer());
    if (!channel.isNull())
        QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"%1\"").arg(channel)));
    h.server.closeClient();
    QVERIFY(h.server.waitForClient(2));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QCOMPARE(sentUpToMarker(h, 1), Login + joins + "/marca\r");
}

void TestWindowReconnect::notRetried_data()
{
    QTest::addColumn<QStringList>("keys"); // more keys of [Geral]
    QTest::addColumn<bool>("confirmed");   // the server takes the login
    QTest::addColumn<QString>("end");
    // clang-format off
    QTest::newRow("an error event before the confirmation") << QStringList() << false << "1019 ERROR \"Conta ou senha incorreta.\"";
    QTest::newRow("the server closes during the login")     << QStringList() << false << "close";
    QTest::newRow("no answer in time")                      << QStringList() << false << "deadline";
    QTest::newRow("the user disconnects")                   << QStringList() << true  << "disconnect";
    QTest::newRow("the user cancels the waiting dialog")    << QStringList() << false << "cancel";
    QTest::newRow("a name that does not resolve")           << QStringList{"Servidor=nao-existe.invalid"} << false << "none";
    QTest::newRow("the option off")                         << QStringList{"Reconectar=0"} << true << "close";
    // clang-format on
}

// A refused login is never tried again by itself (a server counts failed logins), nor what the
// user ended; the window is left as without the option.
void TestWindowReconnect::notRetried()
{
    QFETCH(QStringList, keys);
    QFETCH(bool, confirmed);
    QFETCH(QString, end);
    WindowHarness h(withGeral(Plain, keys));
    TfrmMain* w = h.window.get();
    AutoReconnect* reconnect = quick(w);
    h.confirmLogins = confirmed;
    click(w, "btnConectar");
    QPointer<TfrmConectar> dialog = w->feature<ConnectionControl>()->connectDialog();
    if (end == QLatin1String("cancel")) {
        dialog->findChild<QPushButton*>(QStringLiteral("btnCancelar"))->click();
    } else if (end != QLatin1String("none")) {
        QVERIFY(h.server.waitForData(Login));
        QVERIFY(QTest::qWaitFor([w, confirmed] { return w->loggedIn() == confirmed; }));
        // The waiting dialog, modal, closes at its next tick once the server took the login.
        if (confirmed)
            QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
        if (end == QLatin1String("close"))
            h.server.closeClient();
        else if (end == QLatin1String("deadline"))
            w->findChild<QTimer*>(QStringLiteral("tmrLogin"))->start(1);
        else if (end == QLatin1String("disconnect"))
            click(w, "btnDesconectar");
        else
            h.server.sendLine(end);
    }
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull() && !w->chatInterface()->LoggedIn; }));
    QVERIFY(WindowHarness::settle(w));
    QVERIFY(!reconnect->waiting());
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrReconectar"))->isActive());
    QCOMPARE(waitsShown(w->chatPane()), QStringList());
    QCOMPARE(connectionControls(w), Disconnected);
    QVERIFY(h.server.clientCount() <= 1);
}

// A server that takes the login and closes at once: each wait is longer than the one before,
// though each session was confirmed. "Desconectar" ends the waiting.
void TestWindowReconnect::waitsGrowWhileTheServerClosesAtOnce()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    AutoReconnect* reconnect = quick(w);
    QVERIFY(h.connectToServer());
    // After the harness's own handler, which confirms the login.
    QObject::connect(&h.server, &FakeServer::bytesReceived, &h.server, [&h](int i) {
        if (i > 0 && h.server.clientConnected(i) && h.server.received(i).startsWith(Login))
            h.server.closeClient(i);
    });
    h.server.closeClient();
    QVERIFY(QTest::qWaitFor([&] { return waitsShown(w->chatPane()).size() >= 3; }));
    // The next waits take their real time: the test ends the series long before.
    reconnect->setTimeScaleForTests(1000);
    QVERIFY(QTest::qWaitFor([&] { return waitsShown(w->chatPane()).size() == 4; }));
    QCOMPARE(waitsShown(w->chatPane()),
             (QStringList{waitLine(5), waitLine(10), waitLine(20), waitLine(40)}));
    QCOMPARE(h.server.clientCount(), 4);
    for (int i = 1; i < 4; ++i)
        QVERIFY(h.server.received(i).startsWith(Login));
    QCOMPARE(connectionControls(w), Waiting);

    click(w, "btnDesconectar");
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()), QStringList{Cancelled});
    QVERIFY(!reconnect->waiting());
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrReconectar"))->isActive());
    QCOMPARE(connectionControls(w), Disconnected);
}

// The user's own attempt is refused: tried again until the server is back; a series the user's
// attempt began asks for the home channel only.
void TestWindowReconnect::unreachableServerIsTriedAgain()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    quick(w, 100);
    w->chatInterface()->Port = FakeServer::closedPort();
    const QString refused =
        QStringLiteral("Não foi possível conectar a %1:%2: conexão recusada. Verifique o servidor "
                       "em Opções > Geral > Servidor.|8")
            .arg(w->chatInterface()->Address)
            .arg(w->chatInterface()->Port);
    click(w, "btnConectar");
    QVERIFY(QTest::qWaitFor([&] { return waitsShown(w->chatPane()).size() == 2; }));
    w->chatInterface()->Port = h.server.port();
    QVERIFY(h.server.waitForClient());
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QCOMPARE(sentUpToMarker(h, 0), Login + Join + "/marca\r");
    QCOMPARE(paneFrom(w->chatPane(), 0), (QStringList{refused, waitLine(5), attemptLine(1), refused,
                                                      waitLine(10), attemptLine(2), Up}));
    QVERIFY(w->feature<ConnectionControl>()->connectDialog() == nullptr);
}

void TestWindowReconnect::userTakesOverTheWait_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Desconectar") << "btnDesconectar";
    QTest::newRow("Conectar") << "btnConectar";
    QTest::newRow("the option turned off") << "option";
}

// Waits of real length, ended by the user long before they run out.
void TestWindowReconnect::userTakesOverTheWait()
{
    QFETCH(QString, action);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    AutoReconnect* reconnect = quick(w, 1000);
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Sala\"")));
    h.server.closeClient();
    QVERIFY(QTest::qWaitFor([&] { return reconnect->waiting(); }));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()), QStringList{waitLine(5)});
    QCOMPARE(connectionControls(w), Waiting);

    if (action == QLatin1String("option")) {
        Settings::write(*w->settings(), Keys::Geral::Reconectar, false);
        reconnect->applyOptions();
    } else {
        click(w, action.toLatin1().constData());
    }
    QVERIFY(!reconnect->waiting());
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrReconectar"))->isActive());
    if (action != QLatin1String("btnConectar")) {
        QCOMPARE(WindowHarness::lastPieces(w->chatPane()), QStringList{Cancelled});
        QCOMPARE(connectionControls(w), Disconnected);
        return;
    }
    // The user's own connection, through the waiting dialog, joins the home channel only.
    QVERIFY(w->feature<ConnectionControl>()->connectDialog());
    QVERIFY(h.server.waitForClient(2));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QCOMPARE(sentUpToMarker(h, 1), Login + Join + "/marca\r");
}

// Locked whisper lines, operator mode and what was typed but not sent outlast the reconnect.
void TestWindowReconnect::sessionStateSurvives()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    quick(w);
    QVERIFY(h.connectToServer());
    w->lockWhisps()->addLock(QStringLiteral("bob"));
    w->findChild<QLineEdit*>(QStringLiteral("txtWhisp1"))->setText(QStringLiteral("oi bob"));
    w->feature<Moderation>()->enterOpMode();
    auto* input = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    input->setText(QStringLiteral("rascunho"));
    const QString title = w->windowTitle();
    h.server.closeClient();
    QVERIFY(h.server.waitForClient(2));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    QCOMPARE(w->lockWhisps()->getNumLocks(), 1);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblAccWhisp1"))->text(), QStringLiteral("bob"));
    QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtWhisp1"))->text(),
             QStringLiteral("oi bob"));
    QVERIFY(w->feature<Moderation>()->opMode());
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(input->text(), QStringLiteral("rascunho"));
}

QTEST_MAIN(TestWindowReconnect)
#include "tst_window_reconnect.moc"
