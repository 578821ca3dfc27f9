#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "WindowHarness.h"
#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "settings/TIniFile.h"
#include "view/ChatDocument.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\r\r\r");
const QByteArray Join("/join Chat\r");
const QString Caption = QStringLiteral("Tulmo Chat v1.5 Light");
const QString Rule = QString(79, QLatin1Char('-'));

template <typename T = QWidget>
T* child(TfrmMain* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

// Types a line into the input line, as a paste where Qt Test cannot type it, and presses Enter.
void typeLine(TfrmMain* w, const QString& text)
{
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    if (QRegularExpression(QStringLiteral("^[ -~]*$")).match(text).hasMatch())
        QTest::keyClicks(input, text);
    else
        input->insert(text);
    QTest::keyClick(input, Qt::Key_Return);
}

// The window in one of the states a line can be typed in: "down" (not connected), "pending"
// (the login sent, its answer not yet in) or "up" (logged in). What the server got so far is
// forgotten.
bool enterState(WindowHarness& h, const QString& state)
{
    TfrmMain* w = h.window.get();
    if (state == QLatin1String("up")) {
        if (!h.connectToServer() || !h.server.waitForData(Login + Join))
            return false;
        h.server.clearReceived();
    } else if (state == QLatin1String("pending")) {
        h.confirmLogins = false;
        QTest::mouseClick(child(w, "btnConectar"), Qt::LeftButton);
        if (!h.server.waitForClient() || !h.server.waitForData(Login) ||
            !QTest::qWaitFor(
                [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000))
            return false;
        h.server.clearReceived();
        w->activateWindow();
        QApplication::setActiveWindow(w);
        return w->feature<ConnectionControl>()->loginPending();
    }
    return true;
}

// Brings the window from that state to logged in; true once it is.
bool logIn(WindowHarness& h, const QString& state)
{
    if (state == QLatin1String("down"))
        return h.connectToServer() && h.server.waitForData(Login + Join);
    if (state == QLatin1String("pending")) {
        h.server.sendLine(QStringLiteral("2010 NAME visitante"));
        return QTest::qWaitFor([&h] { return h.window->loggedIn(); });
    }
    return true;
}

// Every paragraph of the pane from `from` on, its pieces as "text|style" ("\t|style" for a tab)
// joined by " + ".
QStringList paneFrom(const ChatView* pane, int from)
{
    QStringList lines;
    const ChatDocument& document = pane->document();
    for (int p = from; p < document.paragraphCount(); ++p) {
        QStringList pieces;
        for (const ChatPiece& piece : document.pieces(p)) {
            if (piece.isTab)
                pieces << QStringLiteral("\t|") + QString::number(piece.style);
            else if (!piece.text.isEmpty())
                pieces << piece.text + QLatin1Char('|') + QString::number(piece.style);
        }
        lines << pieces.join(QLatin1String(" + "));
    }
    return lines;
}

QStringList tabbed(const QString& syntax, int tabs, const QString& description)
{
    QStringList pieces{syntax + QStringLiteral("|4")};
    for (int i = 0; i < tabs; ++i)
        pieces << QStringLiteral("\t|4");
    pieces << description + QStringLiteral("|4");
    return {pieces.join(QLatin1String(" + "))};
}

QString help(const QString& text)
{
    return text + QStringLiteral("|4");
}
} // namespace

class TestWindowCommands : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sendPath_data();
    void sendPath();
    void helpTexts_data();
    void helpTexts();
    void helpScrolls_data();
    void helpScrolls();
    void acsetStimers_data();
    void acsetStimers();
    void opMode_data();
    void opMode();
};

void TestWindowCommands::sendPath_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("effect"); // open locks, "Auto-Rolagem", lines added to the pane

    // clang-format off
    QTest::newRow("lock, not connected") << "down" << "/LoCk ana bia" << QByteArray() << true << "locks=2 scroll=1 lines=+0";
    QTest::newRow("lock, login pending") << "pending" << "/lock ana" << QByteArray() << true << "locks=1 scroll=1 lines=+0";
    QTest::newRow("lock, logged in") << "up" << "/LOCK ana" << QByteArray() << true << "locks=1 scroll=1 lines=+0";
    QTest::newRow("ascroll, not connected") << "down" << "/ascroll" << QByteArray() << true << "locks=0 scroll=0 lines=+0";
    QTest::newRow("ascroll with words, pending") << "pending" << "/AScroll mais nada" << QByteArray() << true << "locks=0 scroll=0 lines=+0";
    QTest::newRow("ascroll, trailing blanks") << "up" << "/ascroll   " << QByteArray() << true << "locks=0 scroll=0 lines=+0";
    QTest::newRow("help after blanks, not connected") << "down" << "  /achelp lock" << QByteArray() << true << "locks=0 scroll=1 lines=+6";
    QTest::newRow("help, pending") << "pending" << "/ACHELP" << QByteArray() << true << "locks=0 scroll=1 lines=+8";
    QTest::newRow("acset syntax, logged in") << "up" << "/acset" << QByteArray() << true << "locks=0 scroll=1 lines=+1";
    QTest::newRow("acset after a tab") << "up" << "\t/acset" << QByteArray() << true << "locks=0 scroll=1 lines=+1";
    QTest::newRow("acset, pending") << "pending" << "/acset stimers on" << QByteArray() << true << "locks=0 scroll=1 lines=+1";
    QTest::newRow("acset unknown option") << "up" << "/acset foo on" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("opmode, not connected") << "down" << "/OpMode" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("opmode, pending") << "pending" << "/opmode" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("opmode, not an operator") << "up" << "/opmode" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("longer word goes out") << "up" << "/lockx ana" << QByteArray("/lockx ana\r") << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("achelpx goes out") << "up" << "/achelpx" << QByteArray("/achelpx\r") << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("command word not first") << "up" << "oi /lock ana" << QByteArray("oi /lock ana\r") << true << "locks=0 scroll=1 lines=+1";
    QTest::newRow("blanks only") << "up" << "   " << QByteArray() << false << "locks=0 scroll=1 lines=+0";
    QTest::newRow("control characters only") << "up" << "\x01\x02 \x7f" << QByteArray("\x01\x02 \x7f\r") << true << "locks=0 scroll=1 lines=+1";
    QTest::newRow("control characters and blanks") << "up" << "\x01 \x1f" << QByteArray() << false << "locks=0 scroll=1 lines=+0";
    QTest::newRow("lock without an account") << "up" << "/lock" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("lock, a quote that never closes") << "up" << "/lock ana \"bia cid" << QByteArray() << true << "locks=2 scroll=1 lines=+0";
    QTest::newRow("lock, a quote alone") << "up" << "/lock \"" << QByteArray() << true << "locks=1 scroll=1 lines=+0";
    QTest::newRow("ascroll, a quote that never closes") << "up" << "/ascroll \"sim" << QByteArray() << true << "locks=0 scroll=0 lines=+0";
    QTest::newRow("acset, a quote that never closes") << "up" << "/acset \"stimers on" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("acset, a quote alone") << "up" << "/acset \"" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("opmode with more words") << "up" << "/opmode agora \"ja" << QByteArray() << true << "locks=0 scroll=1 lines=+0";
    QTest::newRow("help, a quote that never closes") << "down" << "/achelp \"lock" << QByteArray() << true << "locks=0 scroll=1 lines=+6";
    QTest::newRow("help, unknown topic in an open quote") << "up" << "/achelp \"lock acset" << QByteArray() << true << "locks=0 scroll=1 lines=+3";
    // clang-format on
}

// A client command is carried out and never reaches the server, whatever the connection's
// state; it goes into the history and empties the input line like any line sent.
void TestWindowCommands::sendPath()
{
    QFETCH(QString, state);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    QFETCH(bool, stored);
    QFETCH(QString, effect);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(enterState(h, state));
    const int lines = WindowHarness::paragraphs(w->chatPane());
    typeLine(w, typed);
    auto* input = child<QLineEdit>(w, "txtMsg");
    QCOMPARE(input->text(), QString());
    QVERIFY(input->hasFocus());
    QCOMPARE(w->fastNicks()->msgCount(), stored ? 1 : 0);
    if (stored)
        QCOMPARE(w->fastNicks()->lastMsg(1), typed);
    const QString seen = QStringLiteral("locks=%1 scroll=%2 lines=+%3")
                             .arg(w->lockWhisps()->getNumLocks())
                             .arg(int(child<QCheckBox>(w, "chkAutoScroll")->isChecked()))
                             .arg(WindowHarness::paragraphs(w->chatPane()) - lines);
    QCOMPARE(seen, effect);

    // Whatever the command did, the server got nothing of it: a marker sent once logged in is
    // the next line it gets.
    QVERIFY(logIn(h, state));
    if (state == QLatin1String("down"))
        h.server.clearReceived(h.server.clientCount() - 1);
    typeLine(w, QStringLiteral("/marca"));
    const int client = h.server.clientCount() - 1;
    QVERIFY(h.server.waitForData("/marca\r", 5000, client));
    const QByteArray before = state == QLatin1String("pending") ? Join : QByteArray();
    QCOMPARE(h.server.received(client), before + sent + "/marca\r");
}

void TestWindowCommands::helpTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");

    const QStringList list =
        QStringList{help("TULMO CHAT 1.5 BETA - LISTA DE COMANDOS"), help(Rule)} +
        tabbed("/lock <acc1> ... [acc5]", 3, "- locka whisp com até 5 accounts especificadas") +
        tabbed("/ascroll", 5, "- habilita / desabilita a rolagem automática do chat") +
        tabbed("/acset <opcao> <param>", 3, "- altera uma opção do programa") +
        tabbed("/achelp [comando]", 4, "- lista de comandos do Tulmo Chat");
    const QStringList lock = {help("HELP - COMANDO LOCK"), help(Rule),
                              help("DESCRIÇÃO: locka whisp com até 5 accounts especificadas"),
                              help("SINTAXE: /lock <acc1> [acc2] ... [acc5]")};
    const QStringList acset =
        QStringList{help("HELP - COMANDO ACSET"), help(Rule),
                    help("DESCRIÇÃO: altera uma opção do programa"),
                    help("SINTAXE: /acset <opcao> <parametro>"), QString()} +
        tabbed("/acset stimers on/off", 3, "- liga / desliga os timers sincronizados");
    const QStringList ascroll = {
        help("HELP - COMANDO ASCROLL"), help(Rule),
        help("DESCRIÇÃO: habilita / desabilita a rolagem automática do chat"),
        help("SINTAXE: /ascroll")};
    const QStringList unknown = {QStringLiteral("Comando inexistente no Tulmo Chat!|8")};
    const auto framed = [](const QStringList& lines) {
        return QStringList{QString()} + lines + QStringList{QString()};
    };

    // clang-format off
    QTest::newRow("command list") << "/achelp" << framed(list);
    QTest::newRow("lock") << "/achelp lock" << framed(lock);
    QTest::newRow("LOCK") << "/ACHELP LOCK" << framed(lock);
    QTest::newRow("quoted topic") << "/achelp \"LoCk\"" << framed(lock);
    QTest::newRow("acset") << "/achelp acset" << framed(acset);
    QTest::newRow("ascroll") << "/achelp Ascroll" << framed(ascroll);
    QTest::newRow("opmode is not listed") << "/achelp opmode" << framed(unknown);
    QTest::newRow("achelp has no page") << "/achelp achelp" << framed(unknown);
    QTest::newRow("topic with the slash") << "/achelp /lock" << framed(unknown);
    QTest::newRow("only the second word counts") << "/achelp lock acset" << framed(lock);
    // clang-format on
}

void TestWindowCommands::helpTexts()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    const int lines = WindowHarness::paragraphs(w->chatPane());
    typeLine(w, typed);
    QCOMPARE(paneFrom(w->chatPane(), lines), shown);
}

void TestWindowCommands::helpScrolls_data()
{
    QTest::addColumn<bool>("autoScroll");
    QTest::newRow("auto-scroll on") << true;
    QTest::newRow("auto-scroll off") << false;
}

// The help ends at the bottom of the pane when "Auto-Rolagem" is ticked; otherwise the pane
// stays where the user left it.
void TestWindowCommands::helpScrolls()
{
    QFETCH(bool, autoScroll);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    ChatView* pane = w->chatPane();
    for (int i = 0; i < 200; ++i)
        pane->appendLine(QStringLiteral("linha %1").arg(i), 7);
    pane->reformat();
    if (!autoScroll)
        typeLine(w, QStringLiteral("/ascroll"));
    QScrollBar* bar = pane->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(0);
    const int before = bar->maximum();
    typeLine(w, QStringLiteral("/achelp"));
    QTRY_VERIFY(bar->maximum() > before);
    if (autoScroll)
        QTRY_COMPARE(bar->value(), bar->maximum());
    else
        QCOMPARE(bar->value(), 0);
}

void TestWindowCommands::acsetStimers_data()
{
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<bool>("runningBefore");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown"); // the new line; empty: none
    QTest::addColumn<bool>("runningAfter");
    QTest::addColumn<QString>("stored"); // Timers/TimersOn afterwards; empty: not written

    const QString on = QStringLiteral("Timers sincronizados ATIVADOS|7");
    const QString off = QStringLiteral("Timers sincronizados DESATIVADOS|7");
    const QString login = QStringLiteral("Você deve estar logado para usar este comando!|8");
    const QString syntax = QStringLiteral("SINTAXE: /acset <opcao> <parametro>|7");

    // clang-format off
    QTest::newRow("on while logged in") << true << false << "/acset stimers ON" << on << true << "1";
    QTest::newRow("on keeps a running countdown") << true << true << "/acset stimers on" << on << true << "1";
    QTest::newRow("capitals throughout") << true << false << "/ACSET STIMERS On" << on << true << "1";
    QTest::newRow("on while not logged in") << false << false << "/acset stimers on" << login << false << "";
    QTest::newRow("off while not logged in") << false << true << "/acset stimers off" << off << false << "0";
    QTest::newRow("off while logged in") << true << true << "/acset stimers OFF" << off << false << "0";
    QTest::newRow("another parameter") << true << true << "/acset stimers maybe" << login << true << "";
    QTest::newRow("no parameter") << true << true << "/acset stimers" << syntax << true << "";
    QTest::newRow("no option") << true << true << "/acset" << syntax << true << "";
    QTest::newRow("another option") << true << false << "/acset foo on" << QString() << false << "";
    QTest::newRow("long s is not an ASCII s") << true << false << "/acset \u017ftimers on" << QString() << false << "";
    QTest::newRow("quoted words") << true << false << "/acset \"stimers\" \"on\"" << on << true << "1";
    QTest::newRow("more words after the state") << true << false << "/acset stimers on agora mesmo" << on << true << "1";
    QTest::newRow("the state in a quote that never closes") << true << false << "/acset stimers \"off" << off << false << "0";
    QTest::newRow("an empty quoted state") << true << true << "/acset stimers \"\"" << login << true << "";
    // clang-format on
}

void TestWindowCommands::acsetStimers()
{
    QFETCH(bool, loggedIn);
    QFETCH(bool, runningBefore);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, runningAfter);
    QFETCH(QString, stored);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    if (loggedIn)
        QVERIFY(h.connectToServer());
    auto* tmrSinc = child<QTimer>(w, "tmrSinc");
    QVERIFY(tmrSinc->interval() >= 120000);
    int remaining = 0;
    if (runningBefore) {
        // A coarse timer rounds its remaining time.
        tmrSinc->setTimerType(Qt::PreciseTimer);
        tmrSinc->start();
        // Some of the countdown has gone, so that a restart would show.
        QTRY_VERIFY(tmrSinc->remainingTime() < tmrSinc->interval());
        remaining = tmrSinc->remainingTime();
    }
    const int lines = WindowHarness::paragraphs(w->chatPane());
    typeLine(w, typed);
    if (shown.isEmpty()) {
        QCOMPARE(WindowHarness::paragraphs(w->chatPane()), lines);
    } else {
        QCOMPARE(WindowHarness::paragraphs(w->chatPane()), lines + 1);
        QCOMPARE(WindowHarness::lastPieces(w->chatPane()), QStringList{shown});
    }
    QCOMPARE(tmrSinc->isActive(), runningAfter);
    // A running countdown goes on where it was.
    if (runningBefore && runningAfter)
        QVERIFY(tmrSinc->remainingTime() <= remaining);
    const TIniFile ini(h.path(QStringLiteral("confs.ini")));
    QCOMPARE(ini.ReadString(QStringLiteral("Timers"), QStringLiteral("TimersOn"), QString()),
             stored);
}

void TestWindowCommands::opMode_data()
{
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<QString>("listed"); // "account:flags" of the entries in the user list
    QTest::addColumn<bool>("on");

    // clang-format off
    QTest::newRow("operator flags 0008") << true << "ana:0000,visitante:0008" << true;
    QTest::newRow("operator flags 0001") << true << "visitante:0001" << true;
    QTest::newRow("account in other case") << true << "VisiTante:0008" << true;
    QTest::newRow("flags 0002") << true << "visitante:0002" << false;
    QTest::newRow("flags 0000") << true << "visitante:0000" << false;
    QTest::newRow("flags with more bits") << true << "visitante:0009" << false;
    QTest::newRow("own account not listed") << true << "ana:0008" << false;
    QTest::newRow("a longer account") << true << "visitante2:0008" << false;
    QTest::newRow("not logged in") << false << "visitante:0008" << false;
    // clang-format on
}

// Operator mode goes on once, for an operator or administrator of the channel, and shows the
// operator controls; otherwise nothing happens and nothing is shown.
void TestWindowCommands::opMode()
{
    QFETCH(bool, loggedIn);
    QFETCH(QString, listed);
    QFETCH(bool, on);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    if (loggedIn)
        QVERIFY(h.connectToServer());
    for (const QString& entry : listed.split(QLatin1Char(',')))
        w->users()->addUser(entry.section(QLatin1Char(':'), 0, 0),
                            entry.section(QLatin1Char(':'), 1), QStringLiteral("CHAT"));
    const int lines = WindowHarness::paragraphs(w->chatPane());
    typeLine(w, QStringLiteral("/opmode"));
    typeLine(w, QStringLiteral("/OPMODE"));
    QCOMPARE(w->findChild<Moderation*>()->opMode(), on);
    QCOMPARE(w->windowTitle(), on ? Caption + QStringLiteral(" - [OP MODE]") : Caption);
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()) - lines, on ? 1 : 0);
    if (on)
        QCOMPARE(WindowHarness::lastPieces(w->chatPane()),
                 QStringList{QStringLiteral("MODO OPERADOR ATIVADO|7")});
    for (const char* name : {"btnTopCon", "btnTopConAll", "pnlCustom", "Splitter3"})
        QVERIFY2(child(w, name)->isVisible() == on, name);
    for (const char* name : {"Moderar1", "Kill1", "AdicionarLista1", "Tags1", "Controle1"})
        QVERIFY2(child<QAction>(w, name)->isVisible() == on, name);
}

QTEST_MAIN(TestWindowCommands)
#include "tst_window_commands.moc"
