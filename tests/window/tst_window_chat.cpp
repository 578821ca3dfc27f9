#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "core/SharedRandom.h"
#include "net/TChatInterface.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/ConnectionControl.h"
#include "window/Panes.h"
#include "window/TfrmConectar.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("Senha=segredo"), QStringLiteral("[Aparencia]"),
                           QStringLiteral("HorarioMsg=0")};

QStringList with(QStringList lines, const QString& section, const QString& line)
{
    const int at = int(lines.indexOf(section));
    if (at < 0)
        lines << section << line;
    else
        lines.insert(at + 1, line);
    return lines;
}

// How a connection ends without the automatic reconnect, which tst_window_reconnect covers.
QStringList withoutReconnect(const QStringList& lines)
{
    return with(lines, QStringLiteral("[Geral]"), QStringLiteral("Reconectar=0"));
}

bool enabled(TfrmMain* w, const char* name)
{
    if (auto* action = w->findChild<QAction*>(QLatin1String(name)))
        return action->isEnabled();
    return w->findChild<QWidget*>(QLatin1String(name))->isEnabled();
}

// Which of the connection-bound controls are enabled, in a fixed order.
QString connectionControls(TfrmMain* w)
{
    QString state;
    for (const char* name : {"btnConectar", "mnuConectar", "btnDesconectar", "btnHomeChannel",
                             "btnJoin", "btnAway", "btnDND", "mnuDesconectar"})
        state += enabled(w, name) ? QLatin1Char('1') : QLatin1Char('0');
    return state;
}

const QString Disconnected = QStringLiteral("11000000");
const QString LoggedIn = QStringLiteral("00111111");
} // namespace

class TestWindowChat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void connectionCourse();
    void joinAfterLogin_data();
    void joinAfterLogin();
    void countdownRunsOut_data();
    void countdownRunsOut();
    void favouriteJoinsWithoutAccessMarks();
    void refusedConnection_data();
    void refusedConnection();
    void cancelAbandonsAttempt();
    void serverClosesDuringTheWait();
    void serverClosesConnection();
    void userDisconnects();
    void serverEvents_data();
    void serverEvents();
    void timeStampsTakeTheLabelStyle();
    void userListOrderAndIcons();
    void flagChangeKeepsPlaceUntilNextAddition();
    void leaveRemovesIgnoringCase();
    void styleColourRepaintsTheList();
    void randomUserFollowsSharedGenerator();
    void awayAndDndButtons();
    void infoLineScrollsFiveTimes();
};

void TestWindowChat::connectionCourse()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QCOMPARE(connectionControls(w), Disconnected);
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(w->feature<ConnectionControl>()->connectDialog());
    QCOMPARE(w->feature<ConnectionControl>()
                 ->connectDialog()
                 ->findChild<QLabel*>(QStringLiteral("lblTempo"))
                 ->text(),
             QStringLiteral("15"));
    QCOMPARE(w->feature<ConnectionControl>()
                 ->connectDialog()
                 ->findChild<QLabel*>(QStringLiteral("lblEnd"))
                 ->text(),
             QStringLiteral("(localhost)"));
    // Logged in within the first second, the dialog closes at its first tick, still showing 15.
    QString atClose;
    auto* tempo = w->feature<ConnectionControl>()->connectDialog()->findChild<QLabel*>(
        QStringLiteral("lblTempo"));
    QObject::connect(w->feature<ConnectionControl>()->connectDialog(), &QDialog::finished,
                     [&] { atClose = tempo->text(); });
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData("/join Chat\r"));
    QCOMPARE(h.server.received(), QByteArray("\x03\x04visitante\rsegredo\r\r/join Chat\r"));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral("Conexao estabelecida!|7")});
    QCOMPARE(connectionControls(w), LoggedIn);
    // The dialog sees the login at its next tick and closes.
    QVERIFY(QTest::qWaitFor(
        [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000));
    QCOMPARE(atClose, QStringLiteral("15"));
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 1);
}

void TestWindowChat::joinAfterLogin_data()
{
    QTest::addColumn<QStringList>("geral");
    QTest::addColumn<QByteArray>("afterLogin");
    // clang-format off
    QTest::newRow("home channel missing") << QStringList() << QByteArray("/join Chat\r");
    QTest::newRow("home channel stored") << QStringList{QStringLiteral("CanalPrincipal=Sala Dois")} << QByteArray("/join Sala Dois\r");
    QTest::newRow("no join") << QStringList{QStringLiteral("JoinPrinc=0")} << QByteArray();
    QTest::newRow("JoinPrinc 2 is true") << QStringList{QStringLiteral("JoinPrinc=2")} << QByteArray("/join Chat\r");
    // clang-format on
}

void TestWindowChat::joinAfterLogin()
{
    QFETCH(QStringList, geral);
    QFETCH(QByteArray, afterLogin);
    QStringList ini = Plain;
    for (const QString& line : geral)
        ini = with(ini, QStringLiteral("[Geral]"), line);
    WindowHarness h(ini);
    QVERIFY(h.connectToServer());
    // The home-channel button sends the same line whenever it is pressed.
    QTest::mouseClick(h.window->findChild<QWidget*>(QStringLiteral("btnHomeChannel")),
                      Qt::LeftButton);
    const QByteArray home = afterLogin.isEmpty() ? QByteArray("/join Chat\r") : afterLogin;
    QVERIFY(h.server.waitForData(home + (afterLogin.isEmpty() ? QByteArray() : home)));
    QCOMPARE(h.server.received().mid(QByteArray("\x03\x04visitante\rsegredo\r\r").size()),
             afterLogin + home);
}

void TestWindowChat::countdownRunsOut_data()
{
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QStringList>("shown"); // the label before each tick, the time-out excluded
    // clang-format off
    QTest::newRow("three seconds") << "3" << QStringList{"3", "2", "1"};
    QTest::newRow("one second") << "1" << QStringList{"1"};
    QTest::newRow("zero") << "0" << QStringList{"0"};
    QTest::newRow("negative") << "-4" << QStringList{"-4"};
    QTest::newRow("least int") << "-2147483648" << QStringList{"-2147483648"};
    // clang-format on
}

void TestWindowChat::countdownRunsOut()
{
    QFETCH(QString, timeout);
    QFETCH(QStringList, shown);
    WindowHarness h(withoutReconnect(
        with(Plain, QStringLiteral("[Geral]"), QStringLiteral("Timeout=") + timeout)));
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QPointer<TfrmConectar> dialog = w->feature<ConnectionControl>()->connectDialog();
    auto* tempo = dialog->findChild<QLabel*>(QStringLiteral("lblTempo"));
    // The ticks are driven by hand before the event loop can finish the connect; the label never
    // shows 0 once counting, and the tick after the one that showed 1 ends the wait.
    QStringList seen{tempo->text()};
    for (int tick = 1; tick < shown.size(); ++tick) {
        dialog->tmrSegundosTimer();
        seen << tempo->text();
    }
    QCOMPARE(seen, shown);
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 0);
    dialog->tmrSegundosTimer();
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral(
                 "Tempo de espera excedido, o servidor pode não estar respondendo.|8")});
    QCOMPARE(connectionControls(w), Disconnected);
    // A short settle: the abandoned attempt must not log in late.
    QTest::qWait(100);
    QVERIFY(!h.server.received().contains("visitante"));
    QVERIFY(!w->chatInterface()->LoggedIn);
}

void TestWindowChat::favouriteJoinsWithoutAccessMarks()
{
    QStringList ini = Plain;
    for (const char* line : {"[Canais]", "n=3", "c1=R&D", "c2="})
        ini << QString::fromLatin1(line);
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData("/join Chat\r"));
    h.server.clearReceived();
    const QList<QAction*> items = w->findChild<QMenu*>(QStringLiteral("popCanais"))->actions();
    QCOMPARE(items.size(), 5);
    items[3]->trigger();
    items[4]->trigger();
    // The name is not checked: an empty one sends the bare command.
    QVERIFY(h.server.waitForData("/join RD\r/join \r"));
    QCOMPARE(h.server.received(), QByteArray("/join RD\r/join \r"));
}

void TestWindowChat::refusedConnection_data()
{
    QTest::addColumn<QString>("server"); // Geral/Servidor
    QTest::addColumn<bool>("closedPort");
    QTest::addColumn<QString>("why");
    // clang-format off
    QTest::newRow("refused")                      << "127.0.0.1"          << true  << "conexão recusada";
    QTest::newRow("a name that does not resolve") << "nao-existe.invalid" << false << "servidor não encontrado";
    // clang-format on
}

// Told at once, long before the time-out: where to, why, and where the server is changed.
void TestWindowChat::refusedConnection()
{
    QFETCH(QString, server);
    QFETCH(bool, closedPort);
    QFETCH(QString, why);
    WindowHarness h(withoutReconnect(
        with(with(Plain, QStringLiteral("[Geral]"), QStringLiteral("Servidor=") + server),
             QStringLiteral("[Geral]"), QStringLiteral("Timeout=60"))));
    TfrmMain* w = h.window.get();
    if (closedPort)
        w->chatInterface()->Port = FakeServer::closedPort();
    const quint16 port = w->chatInterface()->Port;
    const int before = WindowHarness::paragraphs(w->chatPane());
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(w->feature<ConnectionControl>()->connectDialog());
    QVERIFY(QTest::qWaitFor(
        [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 30000));
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), before + 1);
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral("Não foi possível conectar a %1:%2: %3. Verifique o "
                                        "servidor em Opções > Geral > Servidor.|8")
                             .arg(server)
                             .arg(port)
                             .arg(why)});
    QCOMPARE(connectionControls(w), Disconnected);
}

void TestWindowChat::cancelAbandonsAttempt()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QPointer<TfrmConectar> dialog = w->feature<ConnectionControl>()->connectDialog();
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnCancelar")),
                      Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }));
    // A short settle: nothing of the abandoned attempt may arrive afterwards.
    QTest::qWait(200);
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 0);
    QVERIFY(h.server.received().isEmpty());
    QVERIFY(!w->chatInterface()->LoggedIn);
    QCOMPARE(connectionControls(w), Disconnected);
    // A new attempt is accepted afterwards.
    QVERIFY(h.connectToServer());
}

void TestWindowChat::serverClosesDuringTheWait()
{
    WindowHarness h(withoutReconnect(Plain));
    TfrmMain* w = h.window.get();
    QTest::mouseClick(w->findChild<QWidget*>(QStringLiteral("btnConectar")), Qt::LeftButton);
    QPointer<TfrmConectar> dialog = w->feature<ConnectionControl>()->connectDialog();
    // The server takes the login and closes at once.
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData("segredo\r\r"));
    h.server.closeClient();
    QVERIFY(QTest::qWaitFor([w] { return !w->chatInterface()->Connected(); }));
    // The dialog ends at its next tick; no time-out message follows the closing.
    QVERIFY(QTest::qWaitFor([&] { return dialog.isNull(); }, 3000));
    QCOMPARE(WindowHarness::lastText(w->chatPane()), QStringLiteral("Conexao interrompida!"));
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 2);
    QCOMPARE(connectionControls(w), Disconnected);
}

void TestWindowChat::serverClosesConnection()
{
    WindowHarness h(withoutReconnect(Plain));
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Chat\"")));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER bob 0000 [CHAT]")));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblChannel"))->text(),
             QStringLiteral("Chat (1)"));
    auto* away = w->findChild<QToolButton*>(QStringLiteral("btnAway"));
    QTest::mouseClick(away, Qt::LeftButton);
    QVERIFY(away->isChecked());
    h.server.closeClient();
    QVERIFY(QTest::qWaitFor([w] { return !w->chatInterface()->Connected(); }));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral("Conexao interrompida!|8")});
    QCOMPARE(w->users()->count(), 0);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblChannel"))->text(), QString());
    QCOMPARE(connectionControls(w), Disconnected);
    QVERIFY(!away->isChecked());
    QVERIFY(!w->findChild<QTimer*>(QStringLiteral("tmrSinc"))->isActive());
    // The channel name stays until the next channel replaces it.
    QCOMPARE(w->channel(), QStringLiteral("Chat"));
}

void TestWindowChat::userDisconnects()
{
    QStringList ini = with(Plain, QStringLiteral("[Timers]"), QStringLiteral("TimersOn=1"));
    ini = with(ini, QStringLiteral("[Timers]"), QStringLiteral("nTS=1"));
    ini = with(ini, QStringLiteral("[Timers]"), QStringLiteral("STimer1=oi"));
    WindowHarness h(ini);
    TfrmMain* w = h.window.get();
    auto* sinc = w->findChild<QTimer*>(QStringLiteral("tmrSinc"));
    QVERIFY(!sinc->isActive());
    QVERIFY(h.connectToServer());
    QVERIFY(sinc->isActive());
    QCOMPARE(sinc->interval(), 120000);
    w->findChild<QAction*>(QStringLiteral("mnuDesconectar"))->trigger();
    QVERIFY(h.server.waitForDisconnect());
    QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
             QStringList{QStringLiteral("Conexao finalizada|7")});
    QCOMPARE(connectionControls(w), Disconnected);
    QVERIFY(!sinc->isActive());
}

void TestWindowChat::serverEvents_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("chat");    // new pieces in the channel pane; empty: none
    QTest::addColumn<QStringList>("whisper"); // new pieces in the whisper pane; empty: none

    const QStringList none;
    // clang-format off
    QTest::newRow("talk of an unlisted account") << none << "1005 TALK bob 0000 \"hello there\"" << QStringList{"<bob> |4", "hello there|5"} << none;
    QTest::newRow("talk of an ordinary listed account") << QStringList{"1001 USER bob 0000 [D2XP]"} << "1005 TALK bob 0000 \"oi\"" << QStringList{"<bob> |4", "oi|5"} << none;
    QTest::newRow("talk of a moderator, name in other case") << QStringList{"1001 USER Mod 0002 [CHAT]"} << "1005 TALK MOD 0002 \"oi\"" << QStringList{"<MOD> oi|0"} << none;
    QTest::newRow("talk of an operator") << QStringList{"1001 USER Op 0008 [CHAT]"} << "1005 TALK Op 0008 \"a \"b\" c\"" << QStringList{"<Op> a \"b\" c|2"} << none;
    QTest::newRow("talk with empty text") << none << "1005 TALK bob 0000 \"\"" << QStringList{"<bob> |4"} << none;
    QTest::newRow("emote") << none << "1023 EMOTE bob 0000 \"acena\"" << QStringList{"<bob acena> |6"} << none;
    QTest::newRow("emote without text") << none << "1023 EMOTE bob 0000 \"\"" << QStringList{"<bob > |6"} << none;
    QTest::newRow("info") << none << "1018 INFO \"Bem-vindo\"" << QStringList{"Bem-vindo|7"} << none;
    QTest::newRow("broadcast") << none << "1006 BROADCAST \"Aviso geral\"" << QStringList{"Aviso geral|7"} << none;
    QTest::newRow("error") << none << "1019 ERROR \"Comando invalido\"" << QStringList{"Comando invalido|8"} << none;
    QTest::newRow("channel full, text ignored") << none << "1013 FULL \"qualquer coisa\"" << QStringList{"O canal esta cheio!|8"} << none;
    QTest::newRow("channel does not exist") << none << "1014 NULL \"Canal inexistente\"" << QStringList{"Canal inexistente|8"} << none;
    QTest::newRow("channel restricted") << none << "1015 PAUSE \"Canal restrito\"" << QStringList{"Canal restrito|8"} << none;
    QTest::newRow("channel writes nothing") << none << "1007 CHANNEL \"Sala\"" << none << none;
    QTest::newRow("unhandled code") << none << "1016 ALGO \"x\"" << none << none;
    QTest::newRow("whisper received") << none << "1004 WHISPER bob 0000 \"psiu\"" << none << QStringList{"<FROM: bob> |10", "psiu|12"};
    QTest::newRow("whisper sent") << none << "1010 WHISPER bob 0000 \"oi bob\"" << none << QStringList{"<TO: bob> |9", "oi bob|11"};
    QTest::newRow("whisper to the friends list") << none << "1010 WHISPER \"your friends\" 0000 \"oi todos\"" << none << QStringList{"<TO: FRIENDS LIST> |9", "oi todos|11"};
    QTest::newRow("friends list echo shorter than its prefix") << none << "1010 WHISPER \"your friends\" 00\"" << none << QStringList{"<TO: FRIENDS LIST> |9"};
    QTest::newRow("own version reply hidden") << none << "1010 WHISPER bob 0000 \">> ___ >> usando TulmoChat v1.5!\"" << none << none;
    QTest::newRow("own operator version reply hidden") << none << "1010 WHISPER bob 0000 \">> ___ >> usando TulmoChat v1.5! - OPMODE ON\"" << none << none;
    QTest::newRow("other echo shown") << none << "1010 WHISPER bob 0000 \">> ___ >> usando TulmoChat v1.4!\"" << none << QStringList{"<TO: bob> |9", ">> ___ >> usando TulmoChat v1.4!|11"};
    // clang-format on
}

void TestWindowChat::serverEvents()
{
    QFETCH(QStringList, before);
    QFETCH(QString, line);
    QFETCH(QStringList, chat);
    QFETCH(QStringList, whisper);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    for (const QString& earlier : before)
        QVERIFY(h.serverLine(earlier));
    const int chatBefore = WindowHarness::paragraphs(w->chatPane());
    const int whisperBefore = WindowHarness::paragraphs(w->whisperPane());
    QVERIFY(h.serverLine(line));
    // The marker line follows whatever the line wrote.
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()) - chatBefore - 1, chat.isEmpty() ? 0 : 1);
    QCOMPARE(WindowHarness::paragraphs(w->whisperPane()) - whisperBefore,
             whisper.isEmpty() ? 0 : 1);
    if (!chat.isEmpty())
        QCOMPARE(WindowHarness::lastPieces(w->chatPane(), 1), chat);
    if (!whisper.isEmpty())
        QCOMPARE(WindowHarness::lastPieces(w->whisperPane()), whisper);
}

void TestWindowChat::timeStampsTakeTheLabelStyle()
{
    WindowHarness h(QStringList{QStringLiteral("[Geral]"), QStringLiteral("Login=visitante")});
    TfrmMain* w = h.window.get();
    QVERIFY(w->feature<Panes>()->showsTimes());
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1001 USER Op 0008 [CHAT]")));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi\"")));
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK op 0008 \"ola\"")));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bob 0000 \"psiu\"")));
    const QRegularExpression stamp(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] \\|"));
    // Each server line is followed by its marker line.
    const QStringList ordinary = WindowHarness::lastPieces(w->chatPane(), 4);
    QCOMPARE(ordinary.size(), 3);
    QVERIFY(ordinary[0].contains(stamp));
    QVERIFY(ordinary[0].endsWith(QLatin1String("|13")));
    QCOMPARE(ordinary.mid(1), (QStringList{"<bob> |4", "oi|5"}));
    const QStringList ranked = WindowHarness::lastPieces(w->chatPane(), 2);
    QCOMPARE(ranked.size(), 2);
    QVERIFY(ranked[0].contains(stamp));
    QVERIFY(ranked[0].endsWith(QLatin1String("|2")));
    QCOMPARE(ranked[1], QStringLiteral("<op> ola|2"));
    const QStringList whisper = WindowHarness::lastPieces(w->whisperPane());
    QCOMPARE(whisper.size(), 2);
    QVERIFY(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] <FROM: bob> \\|10$"))
                .match(whisper[0])
                .hasMatch());
}

void TestWindowChat::userListOrderAndIcons()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    for (const char* line :
         {"1007 CHANNEL \"Chat\"", "1001 USER comum 0000 [D2XP]", "1001 USER admin 0001 [CHAT]",
          "1001 USER mod 0002 [CHAT]", "1001 USER calado 0020 [STAR]", "1002 JOIN voz 0004 [W3XP]",
          "1002 JOIN maiusc FF50 [CHAT]", "1002 JOIN estranho 0000 [XXXX]"})
        QVERIFY(h.serverLine(QString::fromLatin1(line)));
    QStringList rows;
    for (int i = 0; i < w->users()->count(); ++i) {
        const UserEntry& e = w->users()->at(i);
        rows << QStringLiteral("%1 %2 %3").arg(e.account).arg(e.order).arg(e.icon);
    }
    QCOMPARE(rows, (QStringList{"mod 0 2", "admin 1 0", "voz 3 3", "comum 9 5", "calado 9 26",
                                "maiusc 9 11", "estranho 9 11"}));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblChannel"))->text(),
             QStringLiteral("Chat (7)"));
    // A new channel empties the list; the label follows at the first account listed.
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Outra\"")));
    QCOMPARE(w->users()->count(), 0);
    QVERIFY(h.serverLine(QStringLiteral("1001 USER sozinho 0000 [CHAT]")));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("lblChannel"))->text(),
             QStringLiteral("Outra (1)"));
}

void TestWindowChat::flagChangeKeepsPlaceUntilNextAddition()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    for (const char* line : {"1007 CHANNEL \"Chat\"", "1001 USER a 0000 [CHAT]",
                             "1001 USER b 0000 [CHAT]", "1009 USER b 0002"})
        QVERIFY(h.serverLine(QString::fromLatin1(line)));
    QCOMPARE(w->users()->at(1).account, QStringLiteral("b"));
    QCOMPARE(w->users()->at(1).icon, 2);
    QCOMPARE(w->users()->at(1).order, QLatin1Char('0'));
    // Its talk is in the moderator style at once.
    QVERIFY(h.serverLine(QStringLiteral("1005 TALK b 0002 \"oi\"")));
    QCOMPARE(WindowHarness::lastPieces(w->chatPane(), 1), QStringList{"<b> oi|0"});
    QVERIFY(h.serverLine(QStringLiteral("1002 JOIN c 0000 [CHAT]")));
    QCOMPARE(w->users()->at(0).account, QStringLiteral("b"));
}

void TestWindowChat::leaveRemovesIgnoringCase()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    for (const char* line :
         {"1007 CHANNEL \"Chat\"", "1001 USER Ana 0000 [CHAT]", "1001 USER Anabel 0000 [CHAT]"})
        QVERIFY(h.serverLine(QString::fromLatin1(line)));
    auto* label = w->findChild<QLabel*>(QStringLiteral("lblChannel"));
    QVERIFY(h.serverLine(QStringLiteral("1003 LEAVE ninguem 0000")));
    QCOMPARE(w->users()->count(), 2);
    QCOMPARE(label->text(), QStringLiteral("Chat (2)"));
    QVERIFY(h.serverLine(QStringLiteral("1003 LEAVE ANA 0000")));
    QCOMPARE(w->users()->count(), 1);
    QCOMPARE(w->users()->at(0).account, QStringLiteral("Anabel"));
    QCOMPARE(label->text(), QStringLiteral("Chat (1)"));
}

namespace {
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};
} // namespace

void TestWindowChat::styleColourRepaintsTheList()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    w->users()->addUser(QStringLiteral("mod"), QStringLiteral("0002"), QStringLiteral("CHAT"));
    auto* list = w->findChild<QAbstractItemView*>(QStringLiteral("lstUsers"));
    QTRY_VERIFY(list->visualRect(w->users()->index(0, 0)).isValid());
    PaintCounter counter;
    list->viewport()->installEventFilter(&counter);
    // The list's first painting is over before the colour changes.
    list->viewport()->update();
    QTRY_VERIFY(counter.paints > 0);
    counter.paints = 0;
    w->styles()->setColor(StyleTable::MOD, QColor(0x12, 0x34, 0x56));
    QTRY_VERIFY(counter.paints > 0);
}

void TestWindowChat::randomUserFollowsSharedGenerator()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QCOMPARE(w->randomUser(), QString());
    QVERIFY(h.connectToServer());
    for (const char* line : {"1007 CHANNEL \"Chat\"", "1001 USER a 0000 [CHAT]",
                             "1001 USER b 0000 [CHAT]", "1001 USER c 0000 [CHAT]"})
        QVERIFY(h.serverLine(QString::fromLatin1(line)));
    SharedRandom::reset();
    QStringList drawn;
    for (int i = 0; i < 6; ++i)
        drawn << w->randomUser();
    SharedRandom::reset();
    QStringList expected;
    for (int i = 0; i < 6; ++i)
        expected << w->users()->at(SharedRandom::below(3)).account;
    QCOMPARE(drawn, expected);
}

void TestWindowChat::awayAndDndButtons()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    h.server.clearReceived();
    auto* away = w->findChild<QToolButton*>(QStringLiteral("btnAway"));
    auto* dnd = w->findChild<QToolButton*>(QStringLiteral("btnDND"));
    QTest::mouseClick(away, Qt::LeftButton);
    QTest::mouseClick(away, Qt::LeftButton);
    QTest::mouseClick(dnd, Qt::LeftButton);
    QVERIFY(h.server.waitForData("/away\r/away\r/dnd\r"));
    QVERIFY(!away->isChecked());
    QVERIFY(dnd->isChecked());
    QCOMPARE(w->focusWidget(), w->findChild<QWidget*>(QStringLiteral("txtMsg")));
    w->feature<ConnectionControl>()->btnDesconectarClick();
    QVERIFY(!dnd->isChecked());
    QVERIFY(!dnd->isEnabled());
}

void TestWindowChat::infoLineScrollsFiveTimes()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    ChatView* pane = w->chatPane();
    auto* timer = w->findChild<QTimer*>(QStringLiteral("tmrScroll"));
    auto* check = w->findChild<QCheckBox*>(QStringLiteral("chkAutoScroll"));
    QCOMPARE(timer->interval(), 100);
    QVERIFY(check->isChecked());
    w->feature<Panes>()->lblAutoScrollClick();
    QVERIFY(!check->isChecked());
    for (int i = 0; i < 200; ++i)
        w->erro(QStringLiteral("linha %1").arg(i));
    QVERIFY(!pane->isAtBottom());
    w->info(QStringLiteral("informação"));
    QVERIFY(timer->isActive());
    // Driven by hand: five ticks, the sixth stops the timer; unchecked, none of them scrolls.
    for (int tick = 0; tick < 5; ++tick) {
        w->feature<Panes>()->tmrScrollTimer();
        QVERIFY(timer->isActive());
    }
    w->feature<Panes>()->tmrScrollTimer();
    QVERIFY(!timer->isActive());
    QVERIFY(!pane->isAtBottom());
    w->feature<Panes>()->lblAutoScrollClick();
    w->info(QStringLiteral("outra"));
    QVERIFY(!pane->isAtBottom());
    w->feature<Panes>()->tmrScrollTimer();
    QVERIFY(pane->isAtBottom());
    // A further information line restarts the count, not the beat: lines arriving less than a
    // tick apart must not hold the scrolling back.
    QVERIFY(QTest::qWaitFor([timer] { return timer->remainingTime() <= 50; }));
    w->info(QStringLiteral("mais uma"));
    QVERIFY(timer->remainingTime() <= 50);
}

QTEST_MAIN(TestWindowChat)
#include "tst_window_chat.moc"
