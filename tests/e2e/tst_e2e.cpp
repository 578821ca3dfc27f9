// The real program against a scripted server on loopback, worked from outside through the X
// server as a user works it. What the program sent is checked byte for byte at the server; what
// it showed, through the logs it saves.

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#include "ChatProgram.h"
#include "FakeServer.h"
#include "core/Cp1252.h"

namespace {

// The program always connects to this port of its server.
constexpr quint16 ChatPort = 6112;

const QByteArray Login("\x03\x04rafa\rs3nha\r\r");
const QByteArray Join("/join Brasil\r");
// Servers greet before the login and chat in plain lines around it; such lines carry no code.
const QString Greeting = QStringLiteral("Servidor de testes - seja bem-vindo");
const QString PlainAfterLogin = QStringLiteral("Digite /help para ver os comandos");
const QString VersionAnswer = QStringLiteral(" >> ___ >> usando TulmoChat v1.5!");

// Each session's server has a loopback address of its own, made of this run's process id and a
// count, so that parallel runs and earlier sessions never share one.
QHostAddress nextAddress()
{
    static int count = 0;
    const qint64 pid = QCoreApplication::applicationPid();
    count = count % 254 + 1;
    return QHostAddress(
        QStringLiteral("127.%1.%2.%3").arg(1 + (pid >> 8) % 254).arg(pid & 0xff).arg(count));
}

QStringList confs(const QHostAddress& server, int timeout, const QStringList& more)
{
    return QStringList{QStringLiteral("[Geral]"),
                       QStringLiteral("Login=rafa"),
                       QStringLiteral("Senha=s3nha"),
                       QStringLiteral("Servidor=") + server.toString(),
                       QStringLiteral("CanalPrincipal=Brasil"),
                       QStringLiteral("Timeout=%1").arg(timeout),
                       QStringLiteral("[Aparencia]"),
                       QStringLiteral("HorarioMsg=0")} +
           more;
}

// One program and the server it talks to.
struct Session
{
    // More sections of confs.ini, and the seconds the program waits for its server.
    explicit Session(const QStringList& more = {}, int timeout = 15)
        : address(nextAddress()), server(address, ChatPort), program(confs(address, timeout, more))
    {
    }

    QHostAddress address;
    FakeServer server;
    ChatProgram program;
};

// Tells which step of a helper failed: QVERIFY reports the helper's call only.
bool step(bool ok, const char* what)
{
    if (!ok)
        qWarning("failed: %s", what);
    return ok;
}

QByteArray cp(const QString& text)
{
    return Cp1252::encode(text);
}

// Starts the program and connects: the server greets in plain text, the login arrives, and the
// waiting dialog closes while the login is still unconfirmed.
bool connectUnconfirmed(Session& s)
{
    if (!step(s.server.isListening(), "the server listens") ||
        !step(s.program.start(), "the program starts") ||
        !step(s.program.pressConnect(), "Ctrl+N is pressed") ||
        !step(s.server.waitForClient(), "the program connects"))
        return false;
    s.server.sendLine(Greeting);
    return step(s.server.waitForData(Login), "the login arrives") &&
           step(s.program.waitForConnectDialogToClose(), "the waiting dialog closes");
}

// The server takes the login, as real servers do, naming the account and going on in plain
// text; the program joins its home channel, which the server then lists: the own account, bob
// who leaves again, and carol, whose unchanged flags come twice.
bool confirm(Session& s)
{
    s.server.sendLine(QStringLiteral("2010 NAME rafa"));
    s.server.sendLine(PlainAfterLogin);
    if (!step(s.server.waitForData(Login + Join), "the program joins its channel"))
        return false;
    // The listing comes in one piece, as servers write it.
    s.server.send("1007 CHANNEL \"Brasil\"\r\n1001 USER rafa 0010 [CHAT]\r\n"
                  "1001 USER bob 0000 [D2XP]\r\n1001 USER carol 0000 [W3XP]\r\n"
                  "1009 USER carol 0000\r\n1009 USER carol 0000\r\n1003 LEAVE bob 0000\r\n"
                  "1018 INFO \"Bem-vindo ao canal Brasil.\"\r\n");
    return true;
}

bool logIn(Session& s)
{
    return connectUnconfirmed(s) && confirm(s);
}

// Waits until the server holds `expected` after what it held before, and nothing else.
bool receivedAfter(Session& s, const QByteArray& before, const QByteArray& expected)
{
    const QByteArray all = before + expected;
    if (!s.server.waitForBytes(all.size()))
        return false;
    if (s.server.received() != all) {
        qWarning().noquote() << "server received" << s.server.received().mid(before.size())
                             << "instead of" << expected;
        return false;
    }
    return true;
}

// A version query from a privileged account is answered at once, whatever else is set: the
// answer arriving shows that every line the server sent before it has been handled.
QByteArray versionQuery(Session& s, const QString& account)
{
    s.server.sendLine(QStringLiteral("1005 TALK %1 0001 \"\\ac\"").arg(account));
    return cp(QStringLiteral("/w ") + account + VersionAnswer + QLatin1Char('\r'));
}

// Ends the program by its menu, as the user does; a crash or an error exit fails.
bool quits(Session& s)
{
    return s.program.quit() && s.program.exitStatus() == QProcess::NormalExit &&
           s.program.exitCode() == 0;
}

// "Salvar Tela de Chat", the first item of the "&Arquivo" menu, and the file dialog: the keys
// given, then the name typed and Enter.
// typeSteps is how many entries down the list of types the saved type is from the first;
// whileOpen runs once the dialog shows, the main window behind it.
bool saveChatPane(ChatProgram& program, const QString& name, int typeSteps,
                  const std::function<bool()>& whileOpen = {})
{
    const QString dialog = QStringLiteral("^Salvar LOG da Tela de Chat$");
    // The name field keeps Tab for completing names, so the list of types, the bottom row of the
    // dialog, is opened with the mouse; Alt+N ("Nome do arquivo") goes back to the name.
    const auto chooseType = [&] {
        if (typeSteps == 0)
            return true;
        QStringList keys;
        for (int i = 0; i < typeSteps; ++i)
            keys << QStringLiteral("Down");
        return program.clickFromBottom(0.5, 24) && program.waitForPopup(true, 2) &&
               program.key(keys + QStringList{QStringLiteral("Return")}) &&
               program.key(QStringLiteral("alt+n"));
    };
    const bool saved = program.key(QStringLiteral("alt+a")) && program.waitForPopup(true) &&
                       program.key(QStringLiteral("Return")) &&
                       step(program.waitForWindow(dialog, true), "the save dialog shows") &&
                       step(!whileOpen || whileOpen(), "the steps behind the dialog") &&
                       program.useWindow(dialog) && step(chooseType(), "the type is chosen") &&
                       program.sendLine(name) &&
                       step(program.waitForWindow(dialog, false), "the save dialog closes");
    program.useMainWindow();
    return saved;
}

// Saves the channel pane into the program's folder as `name` of the given type and reads the file
// back, as saveChatPane; nothing when a step fails.
std::optional<QByteArray> chatPaneFile(ChatProgram& program, const QString& name, int typeSteps,
                                       const QString& extension,
                                       const std::function<bool()>& whileOpen = {})
{
    const QString path = program.folder() + QLatin1Char('/') + name;
    if (!saveChatPane(program, path, typeSteps, whileOpen))
        return std::nullopt;
    QFile file(path + extension);
    if (!step(QTest::qWaitFor([&] { return file.exists(); }), "the file is written") ||
        !step(file.open(QIODevice::ReadOnly), "the file opens"))
        return std::nullopt;
    return file.readAll();
}

// The channel pane's first line: how to connect, and to which server.
QString startLine(const Session& s)
{
    return QStringLiteral("Para conectar a %1, clique em Conectar (Ctrl+N).")
        .arg(s.address.toString());
}

QStringList textLines(const QByteArray& bytes)
{
    QString text = Cp1252::decode(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void conversation();
    void typedLines_data();
    void typedLines();
    void automaticReplies_data();
    void automaticReplies();
    void refusedLogin_data();
    void refusedLogin();
    void refusedAtOnce();
    void actionAfterTheChosenAccountLeft();
    void savedChatPane();
    void addressesAndTheLastLineRead();
    void synchronizedMessage();

private:
    // A session of the running test alone, kept until cleanup() has reported on it.
    Session& ownSession(const QStringList& more = {}, int timeout = 15);
    void report(Session* s);

    // Started first and checked last: its message needs the least period of 120 seconds.
    std::unique_ptr<Session> m_sync;
    QElapsedTimer m_syncClock;
    std::unique_ptr<Session> m_own;
    // Shared by the rows of one table, started by the first row.
    Session& sharedSession(const QStringList& more = {});
    std::unique_ptr<Session> m_shared;
    QByteArray m_sharedBy; // the test function whose rows share it
    Session* m_current = nullptr;
};

void TestEndToEnd::initTestCase()
{
    const QString missing = ChatProgram::missingTools();
    if (!missing.isEmpty())
        QFAIL(qPrintable(missing));
    m_sync = std::make_unique<Session>(QStringList{
        QStringLiteral("[Timers]"), QStringLiteral("TimersOn=1"), QStringLiteral("STempo=120"),
        QStringLiteral("nTS=1"), QStringLiteral("STimer1=Visitem o site: regras e ajuda")});
    const bool loggedIn = logIn(*m_sync);
    if (!loggedIn)
        report(m_sync.get());
    QVERIFY(loggedIn);
    m_syncClock.start();
}

Session& TestEndToEnd::ownSession(const QStringList& more, int timeout)
{
    m_own = std::make_unique<Session>(more, timeout);
    m_current = m_own.get();
    return *m_own;
}

Session& TestEndToEnd::sharedSession(const QStringList& more)
{
    if (!m_shared) {
        m_shared = std::make_unique<Session>(more);
        m_sharedBy = QTest::currentTestFunction();
    }
    m_current = m_shared.get();
    return *m_shared;
}

void TestEndToEnd::init()
{
    if (m_shared && m_sharedBy != QTest::currentTestFunction())
        m_shared.reset();
}

void TestEndToEnd::report(Session* s)
{
    if (!s)
        return;
    for (int i = 0; i < s->server.clientCount(); ++i)
        qWarning().noquote() << "connection" << i << "received:" << s->server.received(i);
    qWarning().noquote() << "the program's standard error:" << s->program.diagnostics();
}

void TestEndToEnd::cleanup()
{
    if (QTest::currentTestFailed())
        report(m_current);
    m_current = nullptr;
    m_own.reset();
}

void TestEndToEnd::cleanupTestCase()
{
    m_shared.reset();
    m_sync.reset();
}

// A whole conversation, every line checked at the server as it arrives, and once more as a
// whole at the end.
void TestEndToEnd::conversation()
{
    Session& s = ownSession();
    QVERIFY(connectUnconfirmed(s));

    // Typed before the server took the login: held back, kept in the input line.
    QVERIFY(s.program.sendLine(QStringLiteral("cedo demais")));
    QVERIFY(s.program.settle());
    QCOMPARE(s.server.received(), Login);

    QVERIFY(confirm(s));
    QByteArray all = Login + Join;
    QVERIFY(receivedAfter(s, Login, Join));
    // Enter sends the kept line now.
    QVERIFY(s.program.key(QStringLiteral("Return")));
    QVERIFY(receivedAfter(s, all, "cedo demais\r"));
    all += "cedo demais\r";

    QVERIFY(s.program.sendLine(QStringLiteral("ola a todos")));
    QVERIFY(receivedAfter(s, all, "ola a todos\r"));
    all += "ola a todos\r";
    // Up brings the last line back.
    QVERIFY(s.program.key({QStringLiteral("Up"), QStringLiteral("Return")}));
    QVERIFY(receivedAfter(s, all, "ola a todos\r"));
    all += "ola a todos\r";

    // A whisper; the server repeats it back naming the recipient.
    QVERIFY(s.program.sendLine(QStringLiteral("/w carol tudo bem?")));
    QVERIFY(receivedAfter(s, all, "/w carol tudo bem?\r"));
    all += "/w carol tudo bem?\r";
    s.server.sendLine(QStringLiteral("1010 WHISPER carol 0000 \"tudo bem?\""));

    // "E&mote" by its mnemonic; the server repeats emotes to the speaker as well.
    QVERIFY(s.program.type(QStringLiteral("acena")));
    QVERIFY(s.program.key(QStringLiteral("alt+m")));
    QVERIFY(receivedAfter(s, all, "/me acena\r"));
    all += "/me acena\r";
    s.server.sendLine(QStringLiteral("1023 EMOTE rafa 0010 \"acena\""));
    s.server.sendLine(QStringLiteral("1004 WHISPER carol 0000 \"tudo sim\""));
    s.server.sendLine(QStringLiteral("1005 TALK carol 0000 \"Olá, ação!\""));

    // A whisper line locked to carol: Shift+Tab climbs into it, Tab comes back down.
    QVERIFY(s.program.sendLine(QStringLiteral("/lock carol")));
    QVERIFY(s.program.key(QStringLiteral("shift+Tab")));
    QVERIFY(s.program.sendLine(QStringLiteral("segredo")));
    QVERIFY(receivedAfter(s, all, "/w carol segredo\r"));
    all += "/w carol segredo\r";
    s.server.sendLine(QStringLiteral("1010 WHISPER carol 0000 \"segredo\""));
    QVERIFY(s.program.key(QStringLiteral("Tab")));
    QVERIFY(s.program.sendLine(QStringLiteral("de volta")));
    QVERIFY(receivedAfter(s, all, "de volta\r"));
    all += "de volta\r";

    // The server makes us an operator, telling it twice; operator mode then shows in the
    // answer to a version query.
    s.server.sendLine(QStringLiteral("1009 USER rafa 0001"));
    s.server.sendLine(QStringLiteral("1009 USER rafa 0001"));
    QByteArray answer = versionQuery(s, QStringLiteral("ADM-Ravok"));
    QVERIFY(receivedAfter(s, all, answer));
    all += answer;
    s.server.sendLine(
        QStringLiteral("1010 WHISPER ADM-Ravok 0001 \"%1\"").arg(VersionAnswer.mid(1)));
    QVERIFY(s.program.sendLine(QStringLiteral("/opmode")));
    QVERIFY(s.program.sendLine(QStringLiteral("marca")));
    QVERIFY(receivedAfter(s, all, "marca\r"));
    all += "marca\r";
    answer = versionQuery(s, QStringLiteral("ADM-Ravok"));
    QVERIFY(answer.endsWith(" >> ___ >> usando TulmoChat v1.5!\r"));
    answer.insert(answer.size() - 1, " - OPMODE ON");
    QVERIFY(receivedAfter(s, all, answer));
    all += answer;

    // The server goes away: the program says so and carries on. A line typed meanwhile goes
    // nowhere, not even to the next connection.
    s.server.closeClient();
    QVERIFY(s.program.settle());
    QVERIFY(s.program.running());
    QCOMPARE(s.server.received(), all);
    QVERIFY(s.program.sendLine(QStringLiteral("perdida")));
    QVERIFY(s.program.settle());

    // Connecting again logs in afresh.
    QVERIFY(s.program.pressConnect());
    QVERIFY(s.server.waitForClient(2));
    QVERIFY(s.server.waitForData(Login, 5000, 1));
    QVERIFY(s.program.waitForConnectDialogToClose());
    s.server.sendLine(QStringLiteral("2010 NAME rafa"), 1);
    QVERIFY(s.server.waitForData(Login + Join, 5000, 1));
    QVERIFY(s.program.sendLine(QStringLiteral("de novo")));
    QVERIFY(s.server.waitForData("de novo\r", 5000, 1));
    QCOMPARE(s.server.received(1), Login + Join + "de novo\r");
    QCOMPARE(s.server.received(0), all);
    QVERIFY(quits(s));
}

void TestEndToEnd::typedLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("sent"); // what reaches the server before the marker

    // clang-format off
    QTest::newRow("help") << "/achelp" << QByteArray();
    QTest::newRow("help of a command") << "/achelp lock" << QByteArray();
    QTest::newRow("help of no command") << "/ACHELP opmode" << QByteArray();
    QTest::newRow("option without a name") << "/acset" << QByteArray();
    QTest::newRow("timers without a state") << "/acset stimers" << QByteArray();
    QTest::newRow("timers in an unknown state") << "/acset stimers maybe" << QByteArray();
    QTest::newRow("unknown option") << "/acset foo on" << QByteArray();
    QTest::newRow("timers on") << "/acset stimers on" << QByteArray();
    QTest::newRow("timers off") << "/acset STIMERS off" << QByteArray();
    QTest::newRow("scrolling") << "/ascroll" << QByteArray();
    QTest::newRow("scrolling with blanks after") << "/ascroll   " << QByteArray();
    QTest::newRow("operator mode without the flags") << "/opmode" << QByteArray();
    QTest::newRow("lock two") << "/LoCk ana bia" << QByteArray();
    QTest::newRow("lock beyond the fifth line") << "/lock caio duda edu fabi gil" << QByteArray();
    QTest::newRow("lock with every line taken") << "/lock hugo" << QByteArray();
    QTest::newRow("lock alone") << "/lock" << QByteArray();
    QTest::newRow("blanks before the command") << "   /achelp ascroll" << QByteArray();
    QTest::newRow("a longer word is the server's") << "/lockx ana" << QByteArray("/lockx ana\r");
    QTest::newRow("so is this one") << "/achelpx" << QByteArray("/achelpx\r");
    QTest::newRow("talk keeps its blanks") << "  oi  " << QByteArray("  oi  \r");
    QTest::newRow("blanks alone") << "   " << QByteArray();
    // clang-format on
}

// Client commands never reach the server; other lines go out as typed. Each line is followed by
// a marker line: when the marker arrives, the line was handled, and the bytes before it are all
// it sent.
void TestEndToEnd::typedLines()
{
    QFETCH(QString, line);
    QFETCH(QByteArray, sent);
    static int marker = 0;
    Session& s = sharedSession();
    if (s.server.clientCount() == 0) {
        QVERIFY(logIn(s));
        QVERIFY(receivedAfter(s, QByteArray(), Login + Join));
    }
    const QByteArray before = s.server.received();
    const QString mark = QStringLiteral("marca %1").arg(++marker);
    QVERIFY(s.program.sendLine(line));
    QVERIFY(s.program.sendLine(mark));
    QVERIFY(receivedAfter(s, before, sent + cp(mark) + '\r'));
    QVERIFY(s.program.running());
}

void TestEndToEnd::automaticReplies_data()
{
    QTest::addColumn<QStringList>("lines");         // from the server
    QTest::addColumn<QList<QByteArray>>("replies"); // what may come back, one of these

    using Replies = QList<QByteArray>;
    // clang-format off
    QTest::newRow("a phrase in capitals") << QStringList{"1005 TALK Bob 0000 \"BOM DIA a todos\""} << Replies{"Bom dia Bob!\r"};
    QTest::newRow("a reply with accents") << QStringList{"1005 TALK carol 0000 \"muito obrigado\""} << Replies{"De nada, carol. At\xe9 mais!\r"};
    QTest::newRow("a present account drawn") << QStringList{"1005 TALK carol 0000 \"quem manda aqui?\""} << Replies{"Pergunte a rafa\r", "Pergunte a carol\r"};
    QTest::newRow("a reply that is a command") << QStringList{"1005 TALK carol 0000 \"hoje tem festa\""} << Replies{"/me comemora\r"};
    QTest::newRow("no phrase in the line") << QStringList{"1005 TALK carol 0000 \"nada a ver\""} << Replies{""};
    QTest::newRow("a whisper, placeholders kept") << QStringList{"1004 WHISPER dave 0010 \"preciso de ajuda\""} << Replies{"/w dave Leia as regras, <user>\r"};
    QTest::newRow("a whisper without a phrase") << QStringList{"1004 WHISPER dave 0010 \"oi\""} << Replies{""};
    QTest::newRow("version query in small letters") << QStringList{"1005 TALK adm-pelta 0001 \"\\ac\""} << Replies{"/w adm-pelta >> ___ >> usando TulmoChat v1.5!\r"};
    QTest::newRow("version query with a blank after") << QStringList{"1005 TALK ADM-PELTA 0001 \"\\ac \""} << Replies{""};
    QTest::newRow("version query from anyone else") << QStringList{"1005 TALK carol 0000 \"\\ac\""} << Replies{""};
    // clang-format on
}

// Replies stored in confs.ini, in Windows-1252, go out byte for byte. A version query from a
// privileged account after each row shows that the row's lines have all been handled.
void TestEndToEnd::automaticReplies()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<QByteArray>, replies);
    Session& s = sharedSession(QStringList{
        QStringLiteral("[Respostas]"), QStringLiteral("RespFrase=1"), QStringLiteral("RespWhisp=1"),
        QStringLiteral("nRF=4"), QStringLiteral("F1=bom dia"),
        QStringLiteral("RF11=Bom dia <user>!"), QStringLiteral("F2=obrigado"),
        QStringLiteral("RF21=De nada, <user>. Até mais!"), QStringLiteral("F3=quem"),
        QStringLiteral("RF31=Pergunte a <random>"), QStringLiteral("F4=festa"),
        QStringLiteral("RF41=/me comemora"), QStringLiteral("nRW=1"), QStringLiteral("W1=ajuda"),
        QStringLiteral("RW11=Leia as regras, <user>")});
    if (s.server.clientCount() == 0) {
        QVERIFY(logIn(s));
        QVERIFY(receivedAfter(s, QByteArray(), Login + Join));
    }
    const QByteArray before = s.server.received();
    for (const QString& line : lines)
        s.server.sendLine(line);
    const QByteArray barrier = versionQuery(s, QStringLiteral("ADM-SUNDO"));
    QVERIFY(
        QTest::qWaitFor([&] { return s.server.received().mid(before.size()).endsWith(barrier); }));
    QByteArray got = s.server.received().mid(before.size());
    got.chop(barrier.size());
    if (!replies.contains(got))
        qWarning().noquote() << "reply:" << got;
    QVERIFY(replies.contains(got));
}

void TestEndToEnd::refusedLogin_data()
{
    QTest::addColumn<QString>("text");    // a plain line of the server's before anything is typed
    QTest::addColumn<QString>("refusal"); // the server's last line, or none when it just closes
    QTest::addColumn<int>("timeout");     // Geral/Timeout

    // clang-format off
    QTest::newRow("an error event") << QString() << "1019 ERROR \"Conta ou senha incorreta.\"" << 15;
    QTest::newRow("the server closes") << QString() << QString() << 15;
    QTest::newRow("the server keeps silent") << QString() << "Login failed." << 1;
    QTest::newRow("a dated line is no confirmation") << "2026-12-11 Login failed: wrong password" << "1019 ERROR \"Conta ou senha incorreta.\"" << 15;
    // clang-format on
}

// Nothing typed goes out before the server took the login, and a refusal leaves the program
// standing, disconnected.
void TestEndToEnd::refusedLogin()
{
    QFETCH(QString, text);
    QFETCH(QString, refusal);
    QFETCH(int, timeout);
    Session& s = ownSession({}, timeout);
    QVERIFY(connectUnconfirmed(s));
    if (!text.isEmpty())
        s.server.sendLine(text);
    QVERIFY(s.program.sendLine(QStringLiteral("cedo demais")));
    QVERIFY(s.program.type(QStringLiteral("/me")));
    QVERIFY(s.program.key(QStringLiteral("alt+m")));
    QVERIFY(s.program.settle());
    if (refusal.isNull())
        s.server.closeClient();
    else
        s.server.sendLine(refusal);
    // The program hangs up itself: after the error at once, after the silence when its wait for
    // the answer runs out.
    QVERIFY(s.server.waitForDisconnect(10000));
    QVERIFY(s.program.settle());
    QVERIFY(s.program.key(QStringLiteral("Return")));
    QVERIFY(s.program.settle());
    QVERIFY(s.program.running());
    QCOMPARE(s.server.received(), Login);
    QCOMPARE(s.server.clientCount(), 1);
    QVERIFY(quits(s));
}

// A real server refuses a wrong password as soon as it reads it: the waiting dialog goes at once,
// not after the minute its count-down would take, and the refusal is all the pane says.
void TestEndToEnd::refusedAtOnce()
{
    Session& s = ownSession({}, 60);
    QVERIFY(s.server.isListening());
    QVERIFY(s.program.start());
    QVERIFY(s.program.pressConnect());
    QVERIFY(s.server.waitForClient());
    QVERIFY(s.server.waitForData(Login));
    s.server.sendLine(QStringLiteral("1019 ERROR \"Conta ou senha incorreta.\""));
    QVERIFY(s.server.waitForDisconnect(5000));
    QVERIFY(s.program.waitForConnectDialogToClose());
    const auto saved = chatPaneFile(s.program, QStringLiteral("recusa"), 0, QStringLiteral(".txt"));
    QVERIFY(saved);
    QCOMPARE(textLines(*saved), (QStringList{startLine(s), "Conta ou senha incorreta.",
                                             "Falha no login: verifique a conta e a senha."}));
    QCOMPARE(s.server.received(), Login);
    QVERIFY(quits(s));
}

// bob is chosen in the user list and leaves; the list must not pass the choice to the account
// next to him, so "Whois" from the list's menu asks about nobody.
void TestEndToEnd::actionAfterTheChosenAccountLeft()
{
    Session& s = ownSession();
    QVERIFY(logIn(s));
    s.server.sendLine(QStringLiteral("1002 JOIN bob 0000 [CHAT]"));
    s.server.sendLine(QStringLiteral("1002 JOIN dave 0000 [CHAT]"));
    QByteArray all = Login + Join;
    QByteArray answer = versionQuery(s, QStringLiteral("ADM-Ravok"));
    QVERIFY(receivedAfter(s, all, answer));
    all += answer;

    // A click on the list's empty lower part gives it the keyboard; typing a name chooses it.
    QVERIFY(s.program.clickFromBottom(0.95, 60));
    QVERIFY(s.program.type(QStringLiteral("bob")));
    QVERIFY(s.program.settle());
    s.server.sendLine(QStringLiteral("1003 LEAVE bob 0000"));
    answer = versionQuery(s, QStringLiteral("ADM-Ravok"));
    QVERIFY(receivedAfter(s, all, answer));
    all += answer;

    // The menu over the list's empty part: Kick, Ban, then Whois.
    QVERIFY(s.program.clickFromBottom(0.95, 60, 3));
    QVERIFY(s.program.waitForPopup(true));
    QVERIFY(s.program.key({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                           QStringLiteral("Return")}));
    QVERIFY(s.program.waitForPopup(false));
    QVERIFY(s.program.settle());
    answer = versionQuery(s, QStringLiteral("ADM-Ravok"));
    QVERIFY(receivedAfter(s, all, answer));
    QVERIFY(quits(s));
}

// The channel pane saved as text and as HTML, through "Salvar Tela de Chat" of the "&Arquivo"
// menu and the file dialog, which appends the extension of the chosen type.
void TestEndToEnd::savedChatPane()
{
    Session& s = ownSession();
    QVERIFY(logIn(s));
    QVERIFY(receivedAfter(s, QByteArray(), Login + Join));
    s.server.sendLine(QStringLiteral("1005 TALK carol 0000 \"Olá, ação!\""));
    s.server.sendLine(QStringLiteral("1023 EMOTE carol 0000 \"acena\""));
    // Handled before anything is typed: the pane's order is then known.
    const QByteArray answer = versionQuery(s, QStringLiteral("ADM-SUNDO"));
    QVERIFY(receivedAfter(s, Login + Join, answer));
    QVERIFY(s.program.sendLine(QStringLiteral("ola a todos")));
    QVERIFY(receivedAfter(s, Login + Join + answer, "ola a todos\r"));
    QVERIFY(s.program.sendLine(QStringLiteral("/acset")));
    QVERIFY(s.program.sendLine(QStringLiteral("marca")));
    QVERIFY(receivedAfter(s, Login + Join + answer + "ola a todos\r", "marca\r"));

    const auto saved = chatPaneFile(s.program, QStringLiteral("canal"), 0, QStringLiteral(".txt"));
    QVERIFY(saved);
    // clang-format off
    const QStringList expected{
        startLine(s),
        Greeting,
        "Conexao estabelecida!",
        "Bem-vindo ao canal Brasil.",
        "<carol> Olá, ação!",
        "<carol acena> ",
        "<ADM-SUNDO> \\ac",
        "<rafa> ola a todos",
        "SINTAXE: /acset <opcao> <parametro>",
        "<rafa> marca",
    };
    // clang-format on
    QCOMPARE(textLines(*saved), expected);

    // The second type of the dialog is HTML.
    const auto html = chatPaneFile(s.program, QStringLiteral("pagina"), 1, QStringLiteral(".html"));
    QVERIFY(html);
    const QString body = Cp1252::decode(*html);
    QVERIFY2(body.contains(QStringLiteral("LOG .::. CANAL: Brasil - DATA: ")), qPrintable(body));
    for (const char* piece :
         {"&lt;rafa&gt; ", "ola a todos", "&lt;carol&gt; ", "Conexao estabelecida!"})
        QVERIFY2(body.contains(QLatin1String(piece)), piece);
    QVERIFY(!body.contains(PlainAfterLogin));
    QVERIFY(quits(s));
}

// Lines holding web addresses, and lines that arrive while the window is behind its own dialog:
// the pane underlines the addresses and draws a line under the last one read, but the saved logs
// hold the lines exactly as they came, and nothing goes to the server that the user did not type.
// A key typed with the channel pane focused goes to the input line.
void TestEndToEnd::addressesAndTheLastLineRead()
{
    Session& s = ownSession();
    QVERIFY(logIn(s));
    QVERIFY(receivedAfter(s, QByteArray(), Login + Join));
    s.server.sendLine(QStringLiteral(
        "1005 TALK carol 0000 \"veja http://exemplo.com.br/x, e (www.tulmo.example).\""));
    s.server.sendLine(QStringLiteral("1023 EMOTE carol 0000 \"manda https://a.com/b?c=1\""));
    QByteArray all = Login + Join;
    const QByteArray first = versionQuery(s, QStringLiteral("ADM-SUNDO"));
    QVERIFY(receivedAfter(s, all, first));
    all += first;

    // The save dialog takes the focus from the window; meanwhile a whisper and more talk arrive.
    const auto behindTheDialog = [&] {
        s.server.sendLine(QStringLiteral("1004 WHISPER carol 0000 \"olha www.b.com/c\""));
        s.server.sendLine(QStringLiteral("1005 TALK carol 0000 \"depois (https://d.org)\""));
        const QByteArray answer = versionQuery(s, QStringLiteral("ADM-SUNDO"));
        if (!receivedAfter(s, all, answer))
            return false;
        all += answer;
        return true;
    };
    const auto saved = chatPaneFile(s.program, QStringLiteral("canal"), 0, QStringLiteral(".txt"),
                                    behindTheDialog);
    QVERIFY(saved);
    // clang-format off
    const QStringList expected{
        startLine(s),
        Greeting,
        "Conexao estabelecida!",
        "Bem-vindo ao canal Brasil.",
        "<carol> veja http://exemplo.com.br/x, e (www.tulmo.example).",
        "<carol manda https://a.com/b?c=1> ",
        "<ADM-SUNDO> \\ac",
        "<carol> depois (https://d.org)",
        "<ADM-SUNDO> \\ac",
    };
    // clang-format on
    QCOMPARE(textLines(*saved), expected);

    const auto html = chatPaneFile(s.program, QStringLiteral("pagina"), 1, QStringLiteral(".html"));
    QVERIFY(html);
    const QString body = Cp1252::decode(*html);
    QVERIFY2(body.contains(QStringLiteral("veja http://exemplo.com.br/x, e (www.tulmo.example).")),
             qPrintable(body));
    for (const char* absent : {"href", "underline", "<u>"})
        QVERIFY2(!body.contains(QLatin1String(absent)), absent);
    QCOMPARE(s.server.received(), all);

    // A click in the channel pane below its lines gives it the focus; typing goes on in the
    // input line.
    QVERIFY(s.program.clickFromBottom(0.4, 200));
    QVERIFY(s.program.type(QStringLiteral("oi")));
    QVERIFY(s.program.key(QStringLiteral("Return")));
    QVERIFY(receivedAfter(s, all, "oi\r"));
    QVERIFY(quits(s));
}

// The stored message goes out once its period, at least 120 seconds, has passed after the login.
void TestEndToEnd::synchronizedMessage()
{
    QVERIFY(m_sync);
    m_current = m_sync.get();
    Session& s = *m_sync;
    const int left = int(150000 - m_syncClock.elapsed());
    QVERIFY(s.server.waitForData("ajuda\r", std::max(left, 5000)));
    QCOMPARE(s.server.received(), Login + Join + "Visitem o site: regras e ajuda\r");
    QVERIFY(quits(s));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
