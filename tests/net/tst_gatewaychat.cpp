#include <QTest>
#include <QTimer>

#include "FakeServer.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"

namespace {

// Records every event of an interpreter as "OnName(arg|arg)".
void watch(TGatewayChat& chat, QStringList& log)
{
    auto talk = [&log](const char* name) {
        return [&log, name](const QString& user, const QString& mess) {
            log << QStringLiteral("%1(%2|%3)").arg(QLatin1String(name), user, mess);
        };
    };
    auto userType = [&log](const char* name) {
        return [&log, name](const QString& user, const QString& flags, const QString& type) {
            log << QStringLiteral("%1(%2|%3|%4)").arg(QLatin1String(name), user, flags, type);
        };
    };
    auto text = [&log](const char* name) {
        return [&log, name](const QString& mess) {
            log << QStringLiteral("%1(%2)").arg(QLatin1String(name), mess);
        };
    };
    chat.OnTalk = talk("OnTalk");
    chat.OnWhisper = talk("OnWhisper");
    chat.OnWhisperSent = talk("OnWhisperSent");
    chat.OnEmote = talk("OnEmote");
    chat.OnShowUser = userType("OnShowUser");
    chat.OnJoin = userType("OnJoin");
    chat.OnLeave = userType("OnLeave");
    chat.OnUserFlags = [&log](const QString& user, const QString& flags) {
        log << QStringLiteral("OnUserFlags(%1|%2)").arg(user, flags);
    };
    chat.OnInfo = text("OnInfo");
    chat.OnBroadcast = text("OnBroadcast");
    chat.OnChannel = text("OnChannel");
    chat.OnChannelFull = text("OnChannelFull");
    chat.OnChanNotExist = text("OnChanNotExist");
    chat.OnRestricted = text("OnRestricted");
    chat.OnError = text("OnError");
    chat.OnUnHandled = text("OnUnHandled");
    chat.OnUniqueName = text("OnUniqueName");
}

// A connected interpreter whose own timer never ticks during a test: ticks are driven by hand.
struct Connected
{
    FakeServer server;
    TChatInterface connection;
    TGatewayChat chat;

    bool open()
    {
        chat.setFloodInterval(3600 * 1000);
        chat.ChatInterface = &connection;
        connection.Address = QStringLiteral("127.0.0.1");
        connection.Port = server.port();
        return connection.Connect() &&
               QTest::qWaitFor([&] { return connection.Connected() && !connection.Connecting(); },
                               10000) &&
               server.waitForClient();
    }

    // What the server holds once it has what we expect, and a moment longer for anything extra.
    QByteArray receivedAfter(const QByteArray& expected)
    {
        server.waitForBytes(expected.size());
        QTest::qWait(50);
        return server.received();
    }
};

} // namespace

class TestGatewayChat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void extractsFields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("mess");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("userType");

        // clang-format off
        QTest::newRow("user in channel")                         << "1001 USER name 0010 [CHAT]"             << "name"     << ""              << "0010"  << "CHAT";
        QTest::newRow("join")                                    << "1002 JOIN name 0000 [D2XP]"             << "name"     << ""              << "0000"  << "D2XP";
        QTest::newRow("leave, no client tag")                    << "1003 LEAVE name 0010"                   << "name"     << ""              << "0010"  << " 001";
        QTest::newRow("flags")                                   << "1009 USER name 0002"                    << "name"     << ""              << "0002"  << " 000";
        QTest::newRow("talk")                                    << "1005 TALK name 0010 \"hello there\""    << "name"     << "hello there"   << "ere\"" << "here";
        QTest::newRow("channel")                                 << "1007 CHANNEL \"Chat\""                  << "\"Chat\"" << "Chat"          << "hat\"" << "Chat";
        QTest::newRow("unique name")                             << "2010 NAME name"                         << "name"     << ""              << "name"  << " nam";
        QTest::newRow("inner quotes stay")                       << "1005 TALK name 0010 \"say \"hi\" now\"" << "name"     << "say \"hi\" now" << "now\"" << " now";
        QTest::newRow("no quote, no message")                    << "1018 INFO text"                         << "text"     << ""              << "text"  << " tex";
        QTest::newRow("an unclosed quote loses the last character") << "1018 INFO \"abc"                    << "\"abc"    << "ab"            << "\"abc" << " \"ab";
        QTest::newRow("a quote at the very end")                 << "1018 INFO \""                           << "\""       << ""              << "FO \"" << "NFO ";
        QTest::newRow("two spaces give no user")                 << "1001 USER  name"                        << ""         << ""              << "name"  << " nam";
        QTest::newRow("no space after the code's")               << "1001 USER"                              << ""         << ""              << "USER"  << " USE";
        QTest::newRow("short line, copies clipped at the start") << "12"                                     << ""         << ""              << "12"    << "12";
        QTest::newRow("short bracketed line")                    << "ab]"                                    << ""         << ""              << "ab]"   << "ab]";
        QTest::newRow("bracket at ten characters")               << "1234567 8]"                             << "8]"       << ""              << "1234"  << "67 8";
        QTest::newRow("empty line")                              << ""                                       << ""         << ""              << ""      << "";
        // clang-format on
    }
    void extractsFields()
    {
        QFETCH(QString, line);
        QFETCH(QString, user);
        QFETCH(QString, mess);
        QFETCH(QString, flags);
        QFETCH(QString, userType);
        TGatewayChat chat;
        QCOMPARE(chat.ExtractUser(line), user);
        QCOMPARE(chat.ExtractMess(line), mess);
        QCOMPARE(chat.ExtractFlags(line), flags);
        QCOMPARE(chat.ExtractUserType(line), userType);
    }

    void firesOneEventPerCode_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("events");

        auto row = [](const char* name, const QString& line, const QString& event) {
            QTest::newRow(name) << line << QStringList{event};
        };
        // clang-format off
        row("1001", "1001 USER name 0010 [CHAT]", "OnShowUser(name|0010|CHAT)");
        row("1002", "1002 JOIN name 0000 [D2XP]", "OnJoin(name|0000|D2XP)");
        row("1003", "1003 LEAVE name 0010", "OnLeave(name|0010| 001)");
        row("1004", "1004 WHISPER name 0010 \"psst\"", "OnWhisper(name|psst)");
        row("1005", "1005 TALK name 0010 \"hello there\"", "OnTalk(name|hello there)");
        row("1006", "1006 BROADCAST \"maintenance\"", "OnBroadcast(maintenance)");
        row("1007", "1007 CHANNEL \"Chat\"", "OnChannel(Chat)");
        row("1009", "1009 USER name 0002", "OnUserFlags(name|0002)");
        row("1010", "1010 WHISPER other 0010 \"hi\"", "OnWhisperSent(other|hi)");
        row("1013", "1013 CHANNELFULL \"Full\"", "OnChannelFull(Full)");
        row("1014", "1014 CHANNELDOESNOTEXIST \"None\"", "OnChanNotExist(None)");
        row("1015", "1015 CHANNELRESTRICTED \"Closed\"", "OnRestricted(Closed)");
        row("1018", "1018 INFO \"Você está aqui\"", "OnInfo(Você está aqui)");
        row("1019", "1019 ERROR \"Nope\"", "OnError(Nope)");
        row("1023", "1023 EMOTE name 0010 \"waves\"", "OnEmote(name|waves)");
        row("2010", "2010 NAME name", "OnUniqueName(name)");
        row("a code without fields", "1001", "OnShowUser(|1001|1001)");
        QTest::newRow("2000 reaches nothing") << "2000 NULL \"x\"" << QStringList{};

        for (const char* line : {"1008 x \"y\"", "1011 x", "1012 x", "1016 x", "1017 x", "1020 x",
                                 "1021 x", "1022 x", "0000 x", "9999 x"})
            row(line, QString::fromLatin1(line), QStringLiteral("OnUnHandled(%1)").arg(line));
        row("fewer than four digits", "12", "OnUnHandled(12)");
        row("not a number", "abcd \"x\"", "OnUnHandled(abcd \"x\")");
        row("a blank before the code", " 1001 USER name 0010 [CHAT]", "OnUnHandled( 1001 USER name 0010 [CHAT])");
        row("a sign", "+100 x", "OnUnHandled(+100 x)");
        row("other digits", QStringLiteral("١٠٠١ x"), QStringLiteral("OnUnHandled(١٠٠١ x)"));
        row("empty", "", "OnUnHandled()");
        // clang-format on
    }
    void firesOneEventPerCode()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, events);
        TGatewayChat chat;
        QStringList log;
        watch(chat, log);
        chat.ProcessLine(line);
        QCOMPARE(log, events);

        TGatewayChat unwired; // events fire only when assigned
        unwired.ProcessLine(line);
    }

    void loginSendsItsBytesInOneGo_data()
    {
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("bytes");
        // clang-format off
        QTest::newRow("name and password") << "tulmo"               << "segredo" << QByteArray("\x03\x04tulmo\rsegredo\r\r");
        QTest::newRow("empty password")    << "tulmo"               << ""        << QByteArray("\x03\x04tulmo\r\r\r");
        QTest::newRow("Windows-1252 name") << QStringLiteral("joão") << "x"       << QByteArray("\x03\x04jo\xe3o\rx\r\r");
        // clang-format on
    }
    void loginSendsItsBytesInOneGo()
    {
        QFETCH(QString, userName);
        QFETCH(QString, password);
        QFETCH(QByteArray, bytes);
        FakeServer server;
        TChatInterface connection;
        TGatewayChat chat;
        chat.ChatInterface = &connection;
        chat.UserName = userName;
        chat.Password = password;
        bool loggedIn = false;
        connection.OnConnect = [&] { loggedIn = chat.Login(); };
        connection.Address = QStringLiteral("127.0.0.1");
        connection.Port = server.port();
        QVERIFY(connection.Connect());
        QVERIFY(server.waitForBytes(bytes.size()));
        QTest::qWait(50); // nothing more arrives
        QCOMPARE(server.received(), bytes);
        QVERIFY(loggedIn);
        QVERIFY(connection.LoggedIn);
        QCOMPARE(connection.LoginScript.size(), 1);
    }

    void loginNeedsAConnection()
    {
        TGatewayChat chat;
        QVERIFY(!chat.Login());

        TChatInterface connection;
        bool fired = false;
        connection.OnLogin = [&] { fired = true; };
        chat.ChatInterface = &connection;
        QVERIFY(!chat.Login());
        QVERIFY(!connection.LoggedIn);
        QVERIFY(!fired);
    }

    void aReplyFromAHandlerReachesTheServer()
    {
        // The whole road of a received line: connection, interpreter, handler, paced send.
        Connected c;
        c.connection.OnDataReceived = [&](const QString& line) { c.chat.ProcessLine(line); };
        c.chat.OnTalk = [&](const QString& user, const QString& mess) {
            c.chat.SendLine(QStringLiteral("/w %1 %2!\r").arg(user, mess));
        };
        QVERIFY(c.open());
        c.server.sendLine(QStringLiteral("1005 TALK ana 0010 \"olá\""));
        QVERIFY(c.server.waitForData("/w ana ol\xe1!\r"));
    }

    void pacesLinesOnePerTick()
    {
        Connected c;
        QVERIFY(c.open());
        c.chat.SendLine(QStringLiteral("1\r"));
        c.chat.SendLine(QStringLiteral("2\r"));
        c.chat.SendLine(QStringLiteral("3\r"));
        QCOMPARE(c.receivedAfter("1\r"), QByteArray("1\r"));
        QCOMPARE(c.chat.queuedCount(), 2);
        QVERIFY(!c.chat.CanSend());

        c.chat.FloodTimerTick();
        QCOMPARE(c.receivedAfter("1\r2\r"), QByteArray("1\r2\r"));
        c.chat.FloodTimerTick();
        QCOMPARE(c.receivedAfter("1\r2\r3\r"), QByteArray("1\r2\r3\r"));
        QVERIFY(!c.chat.CanSend());

        c.chat.FloodTimerTick(); // finds the queue empty
        QVERIFY(c.chat.CanSend());
        c.chat.SendLine(QStringLiteral("4\r"));
        QCOMPARE(c.receivedAfter("1\r2\r3\r4\r"), QByteArray("1\r2\r3\r4\r"));
    }

    // A line the gate holds back is dropped, not queued for later: it neither goes out nor
    // takes the pacing's free slot; the login's own bytes never pass the gate.
    void aHeldLineIsDropped()
    {
        Connected c;
        QVERIFY(c.open());
        QStringList asked;
        bool hold = true;
        c.chat.OnHoldLine = [&](const QString& line) {
            asked << line;
            return hold;
        };
        c.chat.UserName = QStringLiteral("ana");
        QVERIFY(c.chat.Login());
        c.chat.SendLine(QStringLiteral("/whois bob\r"));
        QVERIFY(c.chat.CanSend());
        QCOMPARE(c.chat.queuedCount(), 0);
        hold = false;
        c.chat.SendLine(QStringLiteral("oi\r"));
        c.chat.FloodTimerTick();
        const QByteArray login("\x03\x04" "ana\r\r\r");
        QCOMPARE(c.receivedAfter(login + "oi\r"), login + "oi\r");
        QCOMPARE(asked, (QStringList{"/whois bob\r", "oi\r"}));
    }

    void aLineWhilePacedWaitsForTheTick()
    {
        Connected c;
        QVERIFY(c.open());
        c.chat.SendLine(QStringLiteral("a\r"));
        QCOMPARE(c.receivedAfter("a\r"), QByteArray("a\r"));
        c.chat.SendLine(QStringLiteral("b\r")); // paced, queue empty: still not at once
        QCOMPARE(c.receivedAfter("a\r"), QByteArray("a\r"));
        c.chat.FloodTimerTick();
        QCOMPARE(c.receivedAfter("a\rb\r"), QByteArray("a\rb\r"));
    }

    void queuedLinesAreDroppedOnceDisconnected()
    {
        Connected c;
        QVERIFY(c.open());
        c.chat.SendLine(QStringLiteral("1\r"));
        c.chat.SendLine(QStringLiteral("2\r"));
        c.chat.SendLine(QStringLiteral("3\r"));
        QVERIFY(c.server.waitForBytes(2));
        c.connection.Disconnect();
        c.chat.FloodTimerTick();
        QCOMPARE(c.chat.queuedCount(), 0);
        QVERIFY(c.chat.CanSend());
        QVERIFY(c.server.waitForDisconnect());
        QCOMPARE(c.server.received(), QByteArray("1\r"));
    }

    // A quick reconnection comes before the tick that would empty the queue; the login starts a
    // new session, and nothing queued before it, for the old connection or for none, follows.
    void aNewLoginDropsWhatWasQueuedBefore()
    {
        Connected c;
        QVERIFY(c.open());
        c.chat.SendLine(QStringLiteral("1\r"));
        c.chat.SendLine(QStringLiteral("2\r"));
        QVERIFY(c.server.waitForData("1\r"));
        c.server.closeClient();
        QVERIFY(QTest::qWaitFor([&] { return !c.connection.Connected(); }));
        c.chat.SendLine(QStringLiteral("3\r"));
        QVERIFY(c.open());
        QVERIFY(c.server.waitForClient(2));
        QVERIFY(c.chat.Login());
        c.chat.FloodTimerTick();
        c.chat.SendLine(QStringLiteral("4\r"));
        QVERIFY(c.server.waitForData("4\r", 5000, 1));
        QCOMPARE(c.server.received(1), QByteArray("\x03\x04Guest\r\r\r4\r"));
        QCOMPARE(c.server.received(0), QByteArray("1\r"));
    }

    void sendLineWhileNotConnected()
    {
        TChatInterface connection;
        bool reported = false;
        connection.OnSendError = [&] { reported = true; };
        TGatewayChat chat;
        chat.setFloodInterval(3600 * 1000);
        chat.ChatInterface = &connection;

        chat.SendLine(QStringLiteral("a\r")); // refused by the connection, yet paced
        QVERIFY(!chat.CanSend());
        chat.SendLine(QStringLiteral("b\r"));
        QCOMPARE(chat.queuedCount(), 1);
        chat.FloodTimerTick();
        QCOMPARE(chat.queuedCount(), 0);
        QVERIFY(chat.CanSend());
        QVERIFY(!reported);
    }

    void sendLineWithoutAConnectionDropsTheLine()
    {
        TGatewayChat chat;
        chat.setFloodInterval(3600 * 1000);
        chat.SendLine(QStringLiteral("a\r"));
        chat.SendLine(QStringLiteral("b\r"));
        QVERIFY(chat.CanSend());
        QCOMPARE(chat.queuedCount(), 0);
        chat.FloodTimerTick();
        QVERIFY(chat.CanSend());
    }

    void sendingNeverRestartsTheFloodTimer()
    {
        // The timer runs from construction, connected or not, and a send does not touch it: the
        // first queued line leaves anywhere within one interval of the line sent at once.
        Connected c;
        auto* timer = c.chat.findChild<QTimer*>();
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QVERIFY(c.open());
        const int interval = c.chat.FloodInterval();
        QTRY_VERIFY(timer->remainingTime() <= interval - 150);
        c.chat.SendLine(QStringLiteral("a\r"));
        c.chat.SendLine(QStringLiteral("b\r"));
        QVERIFY(timer->isActive());
        QVERIFY2(timer->remainingTime() <= interval - 150,
                 qPrintable(QString::number(timer->remainingTime())));
    }

    void theFreeRunningTimerEmptiesTheQueueInOrder()
    {
        Connected c;
        QCOMPARE(c.chat.FloodInterval(), 1500);
        QVERIFY(c.open());
        c.chat.setFloodInterval(50);
        QByteArray expected;
        for (int i = 1; i <= 5; ++i) {
            c.chat.SendLine(QStringLiteral("line %1\r").arg(i));
            expected += "line " + QByteArray::number(i) + "\r";
        }
        QVERIFY(c.server.waitForBytes(expected.size(), 20000));
        QCOMPARE(c.server.received(), expected);
        QTRY_VERIFY_WITH_TIMEOUT(c.chat.CanSend(), 20000);
    }
};

QTEST_GUILESS_MAIN(TestGatewayChat)
#include "tst_gatewaychat.moc"
