#include <memory>

#include <QTcpSocket>
#include <QTest>

#include "ChatServer.h"
#include "LineFramer.h"
#include "RawClient.h"
#include "ServerOptions.h"

namespace {

ServerOptions quietOptions()
{
    ServerOptions options;
    options.port = 0;
    options.simulatedUsers = false;
    return options;
}

using Lines = QList<QByteArray>;

} // namespace

class TestServer : public QObject
{
    Q_OBJECT

    std::unique_ptr<ChatServer> m_server;

    quint16 start(const ServerOptions& options = quietOptions())
    {
        m_server = std::make_unique<ChatServer>(options);
        if (!m_server->listen())
            return 0;
        return m_server->port();
    }

    // Logs the client in and reads past its welcome, so later reads see only what follows.
    static bool enter(RawClient& client, const QString& name)
    {
        if (!client.login(name))
            return false;
        client.linesBeforeSync();
        return true;
    }

private Q_SLOTS:
    void cleanup() { m_server.reset(); }

    void framerCutsLines_data()
    {
        QTest::addColumn<Lines>("chunks");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("dropped");
        QTest::addColumn<int>("pending");
        QTest::newRow("cr lf in one chunk") << Lines{"a\r\nb\r\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("cr lf split over chunks")
            << Lines{"a\r", "\nb\r", "\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("lf alone") << Lines{"a\nb\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("cr alone, login shape")
            << Lines{"\x03\x04name\rpass\r\r"} << Lines{"\x03\x04name", "pass", ""} << 0 << 0;
        QTest::newRow("empty password kept")
            << Lines{"name\r\r\r"} << Lines{"name", "", ""} << 0 << 0;
        QTest::newRow("line split mid-word")
            << Lines{"10", "05 x\r\n"} << Lines{"1005 x"} << 0 << 0;
        QTest::newRow("unended line waits") << Lines{"a\r\nbcd"} << Lines{"a"} << 0 << 3;
        QTest::newRow("exactly the limit kept")
            << Lines{QByteArray(16, 'x') + "\r\n"} << Lines{QByteArray(16, 'x')} << 0 << 0;
        QTest::newRow("one past the limit dropped")
            << Lines{QByteArray(17, 'x') + "\r\nok\r\n"} << Lines{"ok"} << 1 << 0;
        QTest::newRow("long line over chunks dropped whole")
            << Lines{QByteArray(10, 'x'), QByteArray(10, 'y'), "zz\r\nok\r"} << Lines{"ok"} << 1
            << 0;
        QTest::newRow("lf of a dropped line's cr lf skipped")
            << Lines{QByteArray(20, 'x'), "\r", "\nok\n"} << Lines{"ok"} << 1 << 0;
        QTest::newRow("nul and high bytes kept") << Lines{QByteArray("a\0\xff", 3) + "\r\n"}
                                                 << Lines{QByteArray("a\0\xff", 3)} << 0 << 0;
    }
    void framerCutsLines()
    {
        QFETCH(Lines, chunks);
        QFETCH(Lines, lines);
        QFETCH(int, dropped);
        QFETCH(int, pending);
        LineFramer framer(16);
        Lines got;
        for (const QByteArray& chunk : chunks)
            got += framer.feed(chunk);
        QCOMPARE(got, lines);
        QCOMPARE(framer.takeDropped(), dropped);
        QCOMPARE(framer.takeDropped(), 0);
        QCOMPARE(framer.pending(), qsizetype(pending));
    }

    void framerHoldsAtMostTheLimitOfAnEndlessLine()
    {
        LineFramer framer(4096);
        const QByteArray chunk(64 * 1024, 'a');
        for (int i = 0; i < 160; ++i) {
            QVERIFY(framer.feed(chunk).isEmpty());
            QVERIFY(framer.pending() <= 4096);
        }
        QCOMPARE(framer.feed("tail\r\nnext\r\n"), Lines{"next"});
        QCOMPARE(framer.takeDropped(), 1);
    }

    void loginAnswersNameChannelAndList_data()
    {
        QTest::addColumn<QByteArray>("login");
        QTest::newRow("cr ends") << QByteArray("\x03\x04"
                                               "ana\rsenha\r\r");
        QTest::newRow("cr lf ends") << QByteArray("\x03\x04"
                                                  "ana\r\nsenha\r\n\r\n");
        QTest::newRow("without the prefix") << QByteArray("ana\rsenha\r\r");
        QTest::newRow("empty password") << QByteArray("\x03\x04"
                                                      "ana\r\r\r");
        QTest::newRow("byte by byte") << QByteArray();
    }
    void loginAnswersNameChannelAndList()
    {
        QFETCH(QByteArray, login);
        const quint16 port = start();
        QVERIFY(port != 0);
        RawClient first(port);
        QVERIFY(first.login(QStringLiteral("bia")));
        first.linesBeforeSync();

        RawClient client(port);
        QVERIFY(client.waitForConnected());
        if (login.isEmpty()) {
            for (const char c : QByteArray("\x03\x04"
                                           "ana\r\nx\r\n\r\n")) {
                client.send(QByteArray(1, c));
                QTest::qWait(1);
            }
        } else {
            client.send(login);
        }
        QCOMPARE(client.next(), QStringLiteral("2010 NAME ana"));
        QCOMPARE(client.next(), QStringLiteral("1007 CHANNEL \"Chat\""));
        QCOMPARE(client.next(), QStringLiteral("1001 USER bia 0000 [CHAT]"));
        QCOMPARE(client.next(), QStringLiteral("1001 USER ana 0000 [CHAT]"));
        QVERIFY(client.next().startsWith(QStringLiteral("1018 INFO ")));
        QCOMPARE(first.next(), QStringLiteral("1002 JOIN ana 0000 [CHAT]"));
        // The trailing CR of the login is not taken as talk.
        QVERIFY(!first.linesBeforeSync().join(QLatin1Char('\n')).contains(QStringLiteral("TALK")));
    }

    void badLoginIsRefusedAndClosed_data()
    {
        QTest::addColumn<QByteArray>("login");
        QTest::newRow("empty name") << QByteArray("\x03\x04\rx\r\r");
        QTest::newRow("only the prefix, cr lf") << QByteArray("\x03\x04\r\n");
        QTest::newRow("name taken") << QByteArray("\x03\x04"
                                                  "bia\rx\r\r");
        QTest::newRow("name taken, other case") << QByteArray("\x03\x04"
                                                              "BIA\rx\r\r");
        QTest::newRow("blank in the name") << QByteArray("\x03\x04"
                                                         "a b\rx\r\r");
        QTest::newRow("name too long") << QByteArray(30, 'n') + "\rx\r\r";
        QTest::newRow("quote in the name") << QByteArray("\x03\x04"
                                                         "a\"b\rx\r\r");
        QTest::newRow("name longer than a line, cut off") << QByteArray(5000, 'n') + "\rx\r\r";
    }
    void badLoginIsRefusedAndClosed()
    {
        QFETCH(QByteArray, login);
        const quint16 port = start();
        RawClient bia(port);
        QVERIFY(enter(bia, QStringLiteral("bia")));

        RawClient client(port);
        QVERIFY(client.waitForConnected());
        client.send(login);
        QVERIFY(client.next().startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(client.waitForDisconnected());
        // Nobody entered, and the one logged in is served as before.
        QVERIFY(bia.linesBeforeSync().isEmpty());
    }

    void halfLoginTimesOut()
    {
        ServerOptions options = quietOptions();
        options.loginTimeoutMs = 200;
        const quint16 port = start(options);
        RawClient client(port);
        QVERIFY(client.waitForConnected());
        client.send("\x03\x04"
                    "ana\r");
        QVERIFY(client.next(10000).startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(client.waitForDisconnected(10000));
        RawClient ana(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
    }

    void clientsBeyondTheLimitAreTurnedAway()
    {
        ServerOptions options = quietOptions();
        options.maxClients = 2;
        const quint16 port = start(options);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));

        // Turned away as soon as it is accepted, before it sends anything.
        RawClient third(port);
        QVERIFY(third.next().startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(third.waitForDisconnected());
        QVERIFY(QTest::qWaitFor([&] { return m_server->sessionCount() == 2; }));

        // A place that frees up can be taken again.
        bia.socket()->abort();
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
        RawClient caio(port);
        QVERIFY(enter(caio, QStringLiteral("caio")));
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN caio 0000 [CHAT]")));
    }

    void talkReachesOthersButIsNotEchoed()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN bia 0000 [CHAT]")));

        ana.sendLine(QStringLiteral("olá, \"bia\" ação €"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"olá, \"bia\" ação €\""));
        QCOMPARE(ana.linesBeforeSync(), QStringList());

        bia.socket()->abort();
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
    }

    void whisperIsDeliveredAndEchoed_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("/w") << QStringLiteral("/w");
        QTest::newRow("/whisper") << QStringLiteral("/whisper");
        QTest::newRow("/m") << QStringLiteral("/m");
        QTest::newRow("upper case") << QStringLiteral("/W");
    }
    void whisperIsDeliveredAndEchoed()
    {
        QFETCH(QString, command);
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        ana.sendLine(command + QStringLiteral(" BIA oi, tudo bem?"));
        QCOMPARE(ana.next(), QStringLiteral("1010 WHISPER bia 0000 \"oi, tudo bem?\""));
        QCOMPARE(bia.next(), QStringLiteral("1004 WHISPER ana 0000 \"oi, tudo bem?\""));

        ana.sendLine(command + QStringLiteral(" ninguem oi"));
        QVERIFY(ana.next().startsWith(QStringLiteral("1019 ERROR ")));
    }

    void friendsWhisperEchoesTheFriendsForm()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.sendLine(QStringLiteral("/f add bia"));
        ana.linesBeforeSync();

        ana.sendLine(QStringLiteral("/f m bora jogar"));
        QCOMPARE(ana.next(), QStringLiteral("1010 WHISPER \"your friends\" 0010 \"bora jogar\""));
        QCOMPARE(bia.next(), QStringLiteral("1004 WHISPER ana 0000 \"bora jogar\""));
    }

    void emoteReachesEveryoneSpeakerIncluded()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        ana.sendLine(QStringLiteral("/me acena"));
        QCOMPARE(ana.next(), QStringLiteral("1023 EMOTE ana 0000 \"acena\""));
        QCOMPARE(bia.next(), QStringLiteral("1023 EMOTE ana 0000 \"acena\""));
    }

    void joinMovesAndLists()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        RawClient caio(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        QVERIFY(enter(caio, QStringLiteral("caio")));
        ana.linesBeforeSync();
        bia.linesBeforeSync();

        ana.sendLine(QStringLiteral("/join Sala Dois"));
        QCOMPARE(ana.next(), QStringLiteral("1007 CHANNEL \"Sala Dois\""));
        QCOMPARE(ana.next(), QStringLiteral("1001 USER ana 0000 [CHAT]"));
        QCOMPARE(bia.next(), QStringLiteral("1003 LEAVE ana 0000"));

        bia.sendLine(QStringLiteral("/JOIN sala dois"));
        QCOMPARE(bia.next(), QStringLiteral("1007 CHANNEL \"Sala Dois\""));
        QCOMPARE(bia.next(), QStringLiteral("1001 USER ana 0000 [CHAT]"));
        QCOMPARE(bia.next(), QStringLiteral("1001 USER bia 0000 [CHAT]"));
        QCOMPARE(ana.next(), QStringLiteral("1002 JOIN bia 0000 [CHAT]"));

        bia.sendLine(QStringLiteral("só aqui"));
        QCOMPARE(ana.next(), QStringLiteral("1005 TALK bia 0000 \"só aqui\""));
        const QStringList caioSaw = caio.linesBeforeSync();
        QCOMPARE(caioSaw, QStringList({QStringLiteral("1003 LEAVE ana 0000"),
                                       QStringLiteral("1003 LEAVE bia 0000")}));

        // Joining the channel one is in lists it again and tells nobody.
        ana.sendLine(QStringLiteral("/join Sala Dois"));
        QCOMPARE(ana.next(), QStringLiteral("1007 CHANNEL \"Sala Dois\""));
        QCOMPARE(bia.linesBeforeSync(), QStringList());
    }

    void joinRefusals_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("answer");
        QTest::newRow("name too long")
            << QStringLiteral("/join ") + QString(40, QLatin1Char('c')) << QStringLiteral("1014 ");
        QTest::newRow("control character")
            << QStringLiteral("/join a\x01") + QStringLiteral("b") << QStringLiteral("1014 ");
        QTest::newRow("the void by name")
            << QStringLiteral("/join vazio") << QStringLiteral("1014 ");
        QTest::newRow("operators' channel")
            << QStringLiteral("/join Op ana") << QStringLiteral("1015 ");
        QTest::newRow("no name") << QStringLiteral("/join") << QStringLiteral("1019 ERROR ");
    }
    void joinRefusals()
    {
        QFETCH(QString, line);
        QFETCH(QString, answer);
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        ana.sendLine(line);
        QVERIFY(ana.next().startsWith(answer));
        // Still in Chat: bia hears her.
        ana.sendLine(QStringLiteral("ainda aqui"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"ainda aqui\""));
    }

    void fullChannelAnswersAndSendsToTheVoid()
    {
        ServerOptions options = quietOptions();
        options.channelLimit = 2;
        const quint16 port = start(options);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));

        RawClient caio(port);
        QVERIFY(caio.login(QStringLiteral("caio")));
        QVERIFY(caio.next().startsWith(QStringLiteral("1013 ")));
        QCOMPARE(caio.next(), QStringLiteral("1007 CHANNEL \"Vazio\""));
        QCOMPARE(caio.next(), QStringLiteral("1001 USER caio 0000 [CHAT]"));
        caio.linesBeforeSync();

        caio.sendLine(QStringLiteral("/join chat"));
        QVERIFY(caio.next().startsWith(QStringLiteral("1013 ")));
        bia.sendLine(QStringLiteral("/join outro"));
        QVERIFY(bia.waitForLine(QStringLiteral("1007 CHANNEL \"outro\"")));
        caio.sendLine(QStringLiteral("/join chat"));
        QCOMPARE(caio.next(), QStringLiteral("1007 CHANNEL \"Chat\""));
    }

    void operatorCommandsRefusedToOthers_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("kick") << QStringLiteral("/kick bia");
        QTest::newRow("ban") << QStringLiteral("/ban bia chato");
        QTest::newRow("unban") << QStringLiteral("/unban bia");
        QTest::newRow("kill") << QStringLiteral("/kill bia");
        QTest::newRow("voice") << QStringLiteral("/voice bia");
        QTest::newRow("devoice") << QStringLiteral("/devoice bia");
        QTest::newRow("moderate") << QStringLiteral("/moderate");
        QTest::newRow("con") << QStringLiteral("/con");
        QTest::newRow("con all") << QStringLiteral("/con all");
        QTest::newRow("broadcast") << QStringLiteral("/broadcast oi");
    }
    void operatorCommandsRefusedToOthers()
    {
        QFETCH(QString, line);
        ServerOptions options = quietOptions();
        options.operators = {QStringLiteral("bia")};
        const quint16 port = start(options);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        ana.sendLine(line);
        QCOMPARE(ana.next(),
                 QStringLiteral("1019 ERROR \"Você não tem permissão para usar esse comando.\""));
        QCOMPARE(bia.linesBeforeSync(), QStringList());
        QVERIFY(bia.isConnected());
    }

    void voiceAndDevoiceByAnOperator()
    {
        ServerOptions options = quietOptions();
        options.operators = {QStringLiteral("Ana")};
        const quint16 port = start(options);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(ana.login(QStringLiteral("ana")));
        QVERIFY(ana.waitForLine(QStringLiteral("1001 USER ana 0008 [CHAT]")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        ana.sendLine(QStringLiteral("/voice bia"));
        QCOMPARE(ana.next(), QStringLiteral("1009 USER bia 0004"));
        QCOMPARE(bia.next(), QStringLiteral("1009 USER bia 0004"));
        ana.sendLine(QStringLiteral("/devoice bia"));
        QCOMPARE(ana.next(), QStringLiteral("1009 USER bia 0000"));
        QCOMPARE(bia.next(), QStringLiteral("1009 USER bia 0000"));

        ana.sendLine(QStringLiteral("/voice ninguem"));
        QVERIFY(ana.next().startsWith(QStringLiteral("1019 ERROR ")));
    }

    void moderatedChannelSilencesTheUnvoiced_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("heard");
        QTest::newRow("talk") << QStringLiteral("oi")
                              << QStringLiteral("1005 TALK bia 0004 \"oi\"");
        QTest::newRow("emote") << QStringLiteral("/me acena")
                               << QStringLiteral("1023 EMOTE bia 0004 \"acena\"");
    }
    void moderatedChannelSilencesTheUnvoiced()
    {
        QFETCH(QString, line);
        QFETCH(QString, heard);
        ServerOptions options = quietOptions();
        options.operators = {QStringLiteral("op")};
        const quint16 port = start(options);
        RawClient op(port);
        RawClient bia(port);
        QVERIFY(enter(op, QStringLiteral("op")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        op.linesBeforeSync();

        op.sendLine(QStringLiteral("/moderate"));
        QCOMPARE(bia.next(), QStringLiteral("1018 INFO \"op moderou o canal.\""));
        bia.sendLine(line);
        QCOMPARE(bia.next(), QStringLiteral("1019 ERROR \"Este canal está moderado.\""));
        op.linesBeforeSync();

        op.sendLine(QStringLiteral("/voice bia"));
        QVERIFY(bia.waitForLine(QStringLiteral("1009 USER bia 0004")));
        op.linesBeforeSync();
        bia.sendLine(line);
        QCOMPARE(op.next(), heard);

        op.sendLine(QStringLiteral("/moderate"));
        QVERIFY(bia.waitForLine(QStringLiteral("1018 INFO \"op liberou o canal.\"")));
    }

    void squelchChangesFlagsForTheSquelcherOnly_data()
    {
        QTest::addColumn<bool>("voiced");
        QTest::addColumn<QString>("squelched");
        QTest::addColumn<QString>("restored");
        QTest::newRow("ordinary") << false << QStringLiteral("0020") << QStringLiteral("0000");
        QTest::newRow("voiced") << true << QStringLiteral("0024") << QStringLiteral("0004");
    }
    void squelchChangesFlagsForTheSquelcherOnly()
    {
        QFETCH(bool, voiced);
        QFETCH(QString, squelched);
        QFETCH(QString, restored);
        ServerOptions options = quietOptions();
        options.operators = {QStringLiteral("op")};
        const quint16 port = start(options);
        RawClient op(port);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(op, QStringLiteral("op")));
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        if (voiced) {
            op.sendLine(QStringLiteral("/voice bia"));
            QVERIFY(ana.waitForLine(QStringLiteral("1009 USER bia 0004")));
        }
        ana.linesBeforeSync();
        bia.linesBeforeSync();

        ana.sendLine(QStringLiteral("/squelch bia"));
        QCOMPARE(ana.next(), QStringLiteral("1009 USER bia ") + squelched);
        ana.linesBeforeSync();
        QCOMPARE(bia.linesBeforeSync(), QStringList());

        // What bia says and whispers no longer reaches ana; the others still hear her.
        bia.sendLine(QStringLiteral("psiu"));
        bia.sendLine(QStringLiteral("/w ana psiu"));
        QVERIFY(op.waitForLine(QStringLiteral("1005 TALK bia ") + restored +
                               QStringLiteral(" \"psiu\"")));
        QVERIFY(bia.waitForLine(QStringLiteral("1010 WHISPER ana 0000 \"psiu\"")));
        QCOMPARE(ana.linesBeforeSync(), QStringList());

        // Re-entering lists bia with the squelch mark.
        ana.sendLine(QStringLiteral("/rejoin"));
        QVERIFY(ana.waitForLine(QStringLiteral("1001 USER bia ") + squelched +
                                QStringLiteral(" [CHAT]")));
        ana.linesBeforeSync();

        ana.sendLine(QStringLiteral("/unsquelch bia"));
        QCOMPARE(ana.next(), QStringLiteral("1009 USER bia ") + restored);
    }

    void kickBanAndKill()
    {
        ServerOptions options = quietOptions();
        options.operators = {QStringLiteral("op"), QStringLiteral("op2")};
        const quint16 port = start(options);
        RawClient op(port);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(op, QStringLiteral("op")));
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        op.linesBeforeSync();

        op.sendLine(QStringLiteral("/kick ana flood"));
        QVERIFY(ana.waitForLine(QStringLiteral("1007 CHANNEL \"Vazio\"")));
        QVERIFY(op.waitForLine(QStringLiteral("1003 LEAVE ana 0000")));
        ana.sendLine(QStringLiteral("/join Chat"));
        QVERIFY(op.waitForLine(QStringLiteral("1002 JOIN ana 0000 [CHAT]")));

        op.sendLine(QStringLiteral("/ban ana"));
        QVERIFY(op.waitForLine(QStringLiteral("1003 LEAVE ana 0000")));
        ana.linesBeforeSync();
        ana.sendLine(QStringLiteral("/join chat"));
        QVERIFY(ana.next().startsWith(QStringLiteral("1019 ERROR ")));
        op.sendLine(QStringLiteral("/lusers"));
        QCOMPARE(op.next(), QStringLiteral("1018 INFO \"Banidos em Chat: ana\""));

        op.sendLine(QStringLiteral("/kill bia"));
        QVERIFY(bia.waitForDisconnected());
        QVERIFY(op.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));

        // Only an administrator acts on another operator.
        RawClient op2(port);
        QVERIFY(enter(op2, QStringLiteral("op2")));
        op.linesBeforeSync();
        op.sendLine(QStringLiteral("/kick op2"));
        QCOMPARE(op.next(), QStringLiteral("1019 ERROR \"Você não pode expulsar op2.\""));
        op.sendLine(QStringLiteral("/kick op"));
        QCOMPARE(op.next(), QStringLiteral("1019 ERROR \"Você não pode expulsar a si mesmo.\""));
    }

    void unknownCommandIsAnError()
    {
        const quint16 port = start();
        RawClient ana(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        ana.sendLine(QStringLiteral("/voar alto"));
        QCOMPARE(ana.next(), QStringLiteral("1019 ERROR \"Comando desconhecido: /voar\""));
    }

    void informationCommandsAnswer_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("answer");
        QTest::newRow("users") << QStringLiteral("/users")
                               << QStringLiteral(
                                      "1018 INFO \"Há 2 usuários conectados em 1 canais.\"");
        QTest::newRow("whois") << QStringLiteral("/whois BIA")
                               << QStringLiteral(
                                      "1018 INFO \"bia está usando CHAT no canal \"Chat\".\"");
        QTest::newRow("whois unknown") << QStringLiteral("/whois zé")
                                       << QStringLiteral("1019 ERROR \"Usuário desconhecido.\"");
        QTest::newRow("channels") << QStringLiteral("/chs all")
                                  << QStringLiteral("1018 INFO \"Canais abertos:\"");
        QTest::newRow("tag") << QStringLiteral("/tag chat")
                             << QStringLiteral("1018 INFO \"Usando CHAT neste canal: ana, bia\"");
        QTest::newRow("banned none")
            << QStringLiteral("/lusers")
            << QStringLiteral("1018 INFO \"Ninguém está banido em Chat.\"");
        QTest::newRow("games hell")
            << QStringLiteral("/games d2xp hell")
            << QStringLiteral("1018 INFO \"Jogos de D2XP abertos (Inferno):\"");
        QTest::newRow("games bad level")
            << QStringLiteral("/games d2xp facil") << QStringLiteral("1019 ERROR ");
        QTest::newRow("away") << QStringLiteral("/away almoço")
                              << QStringLiteral("1018 INFO \"Você está ausente: almoço\"");
        QTest::newRow("dnd") << QStringLiteral("/dnd")
                             << QStringLiteral("1018 INFO \"Você não quer ser incomodado: ");
    }
    void informationCommandsAnswer()
    {
        QFETCH(QString, line);
        QFETCH(QString, answer);
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();
        ana.sendLine(line);
        QVERIFY2(ana.next().startsWith(answer), qPrintable(answer));
    }

    void awayAndDndShapeWhispers()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        bia.sendLine(QStringLiteral("/away já volto"));
        bia.linesBeforeSync();
        ana.sendLine(QStringLiteral("/w bia oi"));
        QCOMPARE(ana.next(), QStringLiteral("1010 WHISPER bia 0000 \"oi\""));
        QCOMPARE(ana.next(), QStringLiteral("1018 INFO \"bia está ausente: já volto\""));
        QCOMPARE(bia.next(), QStringLiteral("1004 WHISPER ana 0000 \"oi\""));
        bia.sendLine(QStringLiteral("/away"));
        QCOMPARE(bia.next(), QStringLiteral("1018 INFO \"Você não está mais ausente.\""));

        bia.sendLine(QStringLiteral("/dnd"));
        bia.linesBeforeSync();
        ana.sendLine(QStringLiteral("/w bia oi de novo"));
        QVERIFY(ana.next().startsWith(QStringLiteral("1019 ERROR \"bia não quer ser incomodado")));
        QCOMPARE(bia.linesBeforeSync(), QStringList());
    }

    void endlessLineHurtsNobody()
    {
        const quint16 port = start();
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));
        ana.linesBeforeSync();

        const QByteArray chunk(256 * 1024, 'z');
        for (int i = 0; i < 32; ++i) {
            bia.send(chunk);
            QTest::qWait(1);
        }
        // bia is still served while her line goes on.
        ana.sendLine(QStringLiteral("ainda de pé?"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"ainda de pé?\""));

        bia.send("\r\ndepois\r\n");
        QVERIFY(!bia.waitForPrefix(QStringLiteral("1019 ERROR \"Linha longa demais")).isNull());
        QCOMPARE(ana.next(), QStringLiteral("1005 TALK bia 0000 \"depois\""));
    }

    void clientThatNeverReadsIsDisconnected()
    {
        ServerOptions options = quietOptions();
        options.maxPendingOutput = 256 * 1024;
        const quint16 port = start(options);
        RawClient ana(port);
        RawClient bia(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));
        QVERIFY(enter(bia, QStringLiteral("bia")));

        // sleepy logs in and then never reads again.
        QTcpSocket sleepy;
        sleepy.setReadBufferSize(1);
        sleepy.connectToHost(QStringLiteral("127.0.0.1"), port);
        QVERIFY(sleepy.waitForConnected(5000));
        sleepy.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        sleepy.write("\x03\x04sleepy\rx\r\r");
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN sleepy 0000 [CHAT]")));

        const QString text(3000, QLatin1Char('b'));
        bool gone = false;
        for (int round = 0; round < 4000 && !gone; ++round) {
            for (int i = 0; i < 20; ++i)
                ana.sendLine(text);
            QTest::qWait(1);
            bia.drain();
            gone = m_server->sessionCount() == 2;
        }
        QVERIFY(gone);
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE sleepy 0000"), 30000));
        ana.sendLine(QStringLiteral("fim"));
        QVERIFY(bia.waitForLine(QStringLiteral("1005 TALK ana 0000 \"fim\""), 30000));
    }

    void garbageAndCutConnectionsDoNotHurtTheServer()
    {
        const quint16 port = start();
        RawClient ana(port);
        QVERIFY(enter(ana, QStringLiteral("ana")));

        QByteArray garbage;
        for (int i = 0; i < 20000; ++i)
            garbage.append(char((i * 7919 + 13) % 256));
        {
            RawClient noise(port);
            QVERIFY(noise.waitForConnected());
            noise.send(garbage);
            QVERIFY(noise.waitForDisconnected());
        }
        {
            RawClient half(port);
            QVERIFY(half.waitForConnected());
            half.send("\x03\x04meio");
        }
        {
            RawClient midLine(port);
            QVERIFY(enter(midLine, QStringLiteral("bia")));
            midLine.send(garbage);
            midLine.send("/w ana metade");
        }
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
        RawClient bia(port);
        QVERIFY(enter(bia, QStringLiteral("bia")));
        bia.sendLine(QStringLiteral("/users"));
        QCOMPARE(bia.next(), QStringLiteral("1018 INFO \"Há 2 usuários conectados em 1 canais.\""));
    }

    void simulatedAccountsKeepTheChannelAlive()
    {
        ServerOptions options = quietOptions();
        options.simulatedUsers = true;
        options.botIntervalMs = 20;
        options.admins = {QStringLiteral("adm")};
        const quint16 port = start(options);
        RawClient adm(port);
        QVERIFY(adm.login(QStringLiteral("adm")));
        QCOMPARE(adm.next(), QStringLiteral("1007 CHANNEL \"Chat\""));
        QStringList list;
        for (QString line = adm.next(); line.startsWith(QStringLiteral("1001 ")); line = adm.next())
            list.append(line);
        QVERIFY(list.contains(QStringLiteral("1001 USER Mod-Rita 0002 [W3XP]")));
        QVERIFY(list.contains(QStringLiteral("1001 USER Adm-Lua 0001 [CHAT]")));
        QVERIFY(list.contains(QStringLiteral("1001 USER Bia_Voz 0004 [STAR]")));
        QCOMPARE(list.last(), QStringLiteral("1001 USER adm 0001 [CHAT]"));

        bool talked = false;
        bool whispered = false;
        for (QString line = adm.next(10000); !line.isNull() && !(talked && whispered);
             line = adm.next(10000)) {
            talked = talked || line.startsWith(QStringLiteral("1005 TALK "));
            whispered = whispered || line.startsWith(QStringLiteral("1004 WHISPER "));
        }
        QVERIFY(talked);
        QVERIFY(whispered);

        // They may be sent away; the schedule brings them back.
        adm.sendLine(QStringLiteral("/kick Zefa"));
        adm.sendLine(QStringLiteral("/kill Mod-Rita"));
        QVERIFY(adm.waitForLine(QStringLiteral("1003 LEAVE Zefa 0000")));
        QStringList back = {QStringLiteral("1002 JOIN Zefa 0000 [D2XP]"),
                            QStringLiteral("1002 JOIN Mod-Rita 0002 [W3XP]")};
        for (QString line = adm.next(10000); !line.isNull() && !back.isEmpty();
             line = back.isEmpty() ? QString() : adm.next(10000))
            back.removeAll(line);
        QVERIFY2(back.isEmpty(), qPrintable(back.join(QLatin1Char('|'))));
    }
};

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"
