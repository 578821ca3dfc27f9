#include <algorithm>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QTcpSocket>
#include <QTest>

#include "ChatServer.h"
#include "Hub.h"
#include "RawClient.h"
#include "ReopeningClients.h"
#include "ServerFixture.h"

// What keeps the trial server serving: caps on connections, the login deadline, the line length
// limit, slow readers, garbage and the flood limit.
namespace {

// Closed by the server (the lines it sent before are kept for reading).
bool closedByServer(RawClient& client)
{
    return client.waitForDisconnected(0);
}

// Two more loopback addresses, so that connections can come from several.
const QHostAddress Attacker(QStringLiteral("127.0.0.2"));
const QHostAddress Players(QStringLiteral("127.0.0.3"));

const QString TooManyWaiting =
    QStringLiteral("1019 ERROR \"Conexões demais aguardando login; tente mais tarde.\"");
const QString TooManyWaitingHere = QStringLiteral(
    "1019 ERROR \"Conexões demais aguardando login deste endereço; tente mais tarde.\"");
const QString LoginTimedOut = QStringLiteral("1019 ERROR \"Tempo de login esgotado.\"");

// Opens `count` connections from `from`, one at a time so that the server takes them in order.
bool openFrom(std::vector<std::unique_ptr<RawClient>>& into, quint16 port, const QHostAddress& from,
              int count)
{
    for (int i = 0; i < count; ++i) {
        into.push_back(std::make_unique<RawClient>(port, from));
        if (!into.back()->waitForConnected())
            return false;
    }
    return true;
}

// A connection from `from` that the server turns away at once with `error`.
bool turnedAway(quint16 port, const QHostAddress& from, const QString& error)
{
    RawClient client(port, from);
    return client.next() == error && client.waitForDisconnected();
}

} // namespace

class TestServerLimits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clientsBeyondTheLimitAreTurnedAway()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.maxClients = 2;
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        // Turned away as soon as it is accepted, before it sends anything.
        RawClient third(f.port());
        QVERIFY(third.next().startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(third.waitForDisconnected());
        QTRY_COMPARE(f.server().sessionCount(), 2);

        // A place that frees up can be taken again.
        bia.socket()->abort();
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
        RawClient caio(f.port());
        QVERIFY(ServerFixture::enter(caio, QStringLiteral("caio")));
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN caio 0000 [CHAT]")));
    }

    void connectionsNotLoggedInHaveACapOfTheirOwn()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.maxClients = 3;
        options.maxAnonymous = 4;
        options.loginTimeoutMs = 10 * 60 * 1000;
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        // 210 connections that never log in: four are held, the others turned away at once.
        std::vector<std::unique_ptr<RawClient>> idle;
        for (int i = 0; i < 210; ++i) {
            // One at a time, so the server takes each before the kernel's backlog overflows.
            idle.push_back(std::make_unique<RawClient>(f.port()));
            QVERIFY(idle.back()->waitForConnected());
        }
        const auto closedCount = [&idle] {
            return int(std::count_if(idle.begin(), idle.end(),
                                     [](const auto& client) { return closedByServer(*client); }));
        };
        QTRY_COMPARE_WITH_TIMEOUT(closedCount(), 206, 30000);
        std::vector<RawClient*> held;
        for (const auto& client : idle) {
            if (closedByServer(*client)) {
                QCOMPARE(client->next(0), TooManyWaiting);
            } else {
                held.push_back(client.get());
            }
        }
        QCOMPARE(held.size(), size_t(4));

        // The accounts logged in are served throughout.
        ana.sendLine(QStringLiteral("ainda aqui"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"ainda aqui\""));

        // A newcomer is turned away while the four wait; one of them may still log in.
        RawClient caio(f.port());
        QVERIFY(caio.next().startsWith(QStringLiteral("1019 ERROR \"Conexões demais")));
        QVERIFY(caio.waitForDisconnected());
        QVERIFY(ServerFixture::enter(*held.front(), QStringLiteral("dani")));
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN dani 0000 [CHAT]")));

        // The last logged-in place is taken: a login that completes now is refused as full.
        QVERIFY(!held.back()->login(QStringLiteral("edu")));
        QVERIFY(held.back()->waitForDisconnected());
        QCOMPARE(f.server().hub().members().size(), qsizetype(3));
    }

    void oneAddressHoldsOnlyAFewConnectionsNotLoggedIn_data()
    {
        // 0 leaves the option at its default.
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("limit");
        // clang-format off
        QTest::newRow("default") << 0 << 4;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("six") << 6 << 6;
        // clang-format on
    }
    void oneAddressHoldsOnlyAFewConnectionsNotLoggedIn()
    {
        QFETCH(int, setting);
        QFETCH(int, limit);
        ServerOptions options = ServerFixture::quietOptions();
        if (setting > 0)
            options.maxAnonymousPerAddress = setting;
        options.loginTimeoutMs = 10 * 60 * 1000;
        ServerFixture f;
        QVERIFY(f.start(options));

        std::vector<std::unique_ptr<RawClient>> waiting;
        QVERIFY(openFrom(waiting, f.port(), Attacker, limit));
        QVERIFY(turnedAway(f.port(), Attacker, TooManyWaitingHere));
        QVERIFY(turnedAway(f.port(), Attacker, TooManyWaitingHere));
        RawClient caio(f.port(), Players);
        QVERIFY(ServerFixture::enter(caio, QStringLiteral("caio")));

        // Those held may log in, and each login makes room for another from the same address:
        // accounts logged in are not limited per address.
        std::vector<std::unique_ptr<RawClient>> loggedIn;
        for (int round = 0; round < 2; ++round) {
            if (round > 0)
                QVERIFY(openFrom(waiting, f.port(), Attacker, limit));
            for (auto& client : waiting) {
                QVERIFY(ServerFixture::enter(*client,
                                             QStringLiteral("conta%1").arg(int(loggedIn.size()))));
                loggedIn.push_back(std::move(client));
            }
            waiting.clear();
        }
        QCOMPARE(f.server().hub().members().size(), qsizetype(2 * limit + 1));

        // A connection that goes away before logging in makes room as well.
        QVERIFY(openFrom(waiting, f.port(), Attacker, limit));
        QVERIFY(turnedAway(f.port(), Attacker, TooManyWaitingHere));
        waiting.back()->socket()->abort();
        QTRY_COMPARE(f.server().sessionCount(), 2 * limit + 1 + limit - 1);
        RawClient last(f.port(), Attacker);
        QVERIFY(ServerFixture::enter(last, QStringLiteral("ultima")));
    }

    void capOnAllConnectionsNotLoggedInStays()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.maxAnonymous = 3;
        options.maxAnonymousPerAddress = 2;
        options.loginTimeoutMs = 10 * 60 * 1000;
        ServerFixture f;
        QVERIFY(f.start(options));

        std::vector<std::unique_ptr<RawClient>> waiting;
        QVERIFY(openFrom(waiting, f.port(), Attacker, 2));
        QVERIFY(turnedAway(f.port(), Attacker, TooManyWaitingHere));
        QVERIFY(openFrom(waiting, f.port(), Players, 1));
        QVERIFY(turnedAway(f.port(), Players, TooManyWaiting));
        QVERIFY(ServerFixture::enter(*waiting.back(), QStringLiteral("ana")));
    }

    void reopeningAttackerLeavesRoomForOthers()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.loginTimeoutMs = 2000;
        ServerFixture f;
        QVERIFY(f.start(options));

        // As many connections as the whole cap, from one address, reopening whatever is closed.
        ReopeningClients attacker(Attacker, f.port(), options.maxAnonymous);
        // The deadline has closed held connections of its own, which it opened again at once.
        QTRY_VERIFY_WITH_TIMEOUT(
            attacker.received(LoginTimedOut) >= 2 * options.maxAnonymousPerAddress, 30000);

        std::vector<std::unique_ptr<RawClient>> players;
        for (int i = 0; i < 9; ++i) {
            players.push_back(std::make_unique<RawClient>(f.port(), Players));
            QVERIFY(ServerFixture::enter(*players.back(), QStringLiteral("jogador%1").arg(i)));
        }
        QCOMPARE(f.server().hub().members().size(), qsizetype(9));
        // It never held more than its address may, so the cap on all of them was never reached.
        QVERIFY(attacker.received(TooManyWaitingHere) > 0);
        QCOMPARE(attacker.received(TooManyWaiting), 0);
    }

    void loginDeadlineFreesThePlaces()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.maxAnonymous = 2;
        options.loginTimeoutMs = 200;
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient idle1(f.port());
        RawClient idle2(f.port());
        QVERIFY(idle1.waitForConnected());
        QVERIFY(idle2.waitForConnected());
        idle2.send("\x03\x04"
                   "meio");

        for (RawClient* idle : {&idle1, &idle2}) {
            QCOMPARE(idle->next(10000), QStringLiteral("1019 ERROR \"Tempo de login esgotado.\""));
            QVERIFY(idle->waitForDisconnected(10000));
        }
        RawClient ana(f.port());
        QVERIFY(ServerFixture::enter(ana, QStringLiteral("ana")));
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
    }

    void floodIsDroppedAndToldOnce()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.floodBurst = 5;
        options.floodIntervalMs = 10 * 60 * 1000;
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
        // The login's closing CR is a line too: caio has four lines left.
        RawClient caio(f.port());
        QVERIFY(caio.login(QStringLiteral("caio")));
        QVERIFY(bia.waitForLine(QStringLiteral("1002 JOIN caio 0000 [CHAT]")));

        QByteArray flood;
        for (int i = 1; i <= 12; ++i)
            flood += "linha " + QByteArray::number(i) + '\r';
        caio.send(flood);
        QVERIFY(!caio.waitForPrefix(QStringLiteral("1019 ERROR \"Linhas demais em pouco tempo"))
                     .isNull());
        QCOMPARE(bia.linesBeforeSync(),
                 QStringList({QStringLiteral("1005 TALK caio 0000 \"linha 1\""),
                              QStringLiteral("1005 TALK caio 0000 \"linha 2\""),
                              QStringLiteral("1005 TALK caio 0000 \"linha 3\""),
                              QStringLiteral("1005 TALK caio 0000 \"linha 4\"")}));

        // One notice for the whole flood; bia's whisper marks the end of what caio was sent.
        bia.sendLine(QStringLiteral("/w caio fim"));
        QStringList after;
        for (QString line = caio.next(); !line.isNull() && !line.contains(QStringLiteral("fim"));
             line = caio.next())
            after.append(line);
        QCOMPARE(after, QStringList());
        QVERIFY(caio.isConnected());
    }

    void floodAtTenTimesTheLimitDisconnects()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.floodBurst = 2;
        options.floodIntervalMs = 10 * 60 * 1000;
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
        RawClient caio(f.port());
        QVERIFY(caio.login(QStringLiteral("caio")));
        QVERIFY(bia.waitForLine(QStringLiteral("1002 JOIN caio 0000 [CHAT]")));

        QByteArray flood;
        for (int i = 1; i <= 40; ++i)
            flood += "linha " + QByteArray::number(i) + '\r';
        caio.send(flood);
        QVERIFY(caio.waitForPrefix(QStringLiteral("1019 ERROR \"Linhas demais")).size() > 0);
        QCOMPARE(caio.next(), QStringLiteral("1019 ERROR \"Desconectado por excesso de linhas "
                                             "(flood).\""));
        QVERIFY(caio.waitForDisconnected());

        QStringList heard;
        for (QString line = bia.next();
             !line.isNull() && line != QStringLiteral("1003 LEAVE caio 0000"); line = bia.next())
            heard.append(line);
        QCOMPARE(heard, QStringList{QStringLiteral("1005 TALK caio 0000 \"linha 1\"")});
        QVERIFY(bia.isConnected());
    }

    void floodLimitCanBeSwitchedOff()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.floodLimit = false;
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        QByteArray flood;
        for (int i = 1; i <= 200; ++i)
            flood += "linha " + QByteArray::number(i) + '\r';
        ana.send(flood);
        QVERIFY(bia.waitForLine(QStringLiteral("1005 TALK ana 0000 \"linha 200\"")));
        QCOMPARE(ana.linesBeforeSync(), QStringList());
    }

    void endlessLineHurtsNobody()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        const QByteArray chunk(256 * 1024, 'z');
        for (int i = 0; i < 32; ++i) {
            bia.send(chunk);
            QCoreApplication::processEvents();
        }
        // Told as soon as the line outgrows the limit, and still served while it goes on.
        QCOMPARE(bia.next(),
                 QStringLiteral("1019 ERROR \"Linha longa demais (mais de 4096 bytes); 1 "
                                "descartada(s).\""));
        ana.sendLine(QStringLiteral("ainda de pé?"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"ainda de pé?\""));

        // Its end is not told again, and the next line is heard.
        bia.send("\r\ndepois\r\n");
        QCOMPARE(ana.next(), QStringLiteral("1005 TALK bia 0000 \"depois\""));
        QCOMPARE(bia.linesBeforeSync(), QStringList());
    }

    void clientThatNeverReadsIsDisconnected()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.maxPendingOutput = 256 * 1024;
        // ana talks far faster than any flood limit would let her.
        options.floodLimit = false;
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        // sleepy logs in and then never reads again.
        QTcpSocket sleepy;
        sleepy.setReadBufferSize(1);
        sleepy.connectToHost(QStringLiteral("127.0.0.1"), f.port());
        QVERIFY(sleepy.waitForConnected(5000));
        sleepy.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        sleepy.write("\x03\x04sleepy\rx\r\r");
        QVERIFY(ana.waitForLine(QStringLiteral("1002 JOIN sleepy 0000 [CHAT]")));

        const QString text(3000, QLatin1Char('b'));
        bool gone = false;
        for (int round = 0; round < 4000 && !gone; ++round) {
            for (int i = 0; i < 20; ++i)
                ana.sendLine(text);
            QCoreApplication::processEvents();
            bia.drain();
            gone = f.server().sessionCount() == 2;
        }
        QVERIFY(gone);
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE sleepy 0000"), 30000));
        ana.sendLine(QStringLiteral("fim"));
        QVERIFY(bia.waitForLine(QStringLiteral("1005 TALK ana 0000 \"fim\""), 30000));
    }

    void garbageAndCutConnectionsDoNotHurtTheServer()
    {
        ServerFixture f;
        QVERIFY(f.start());
        RawClient ana(f.port());
        QVERIFY(ServerFixture::enter(ana, QStringLiteral("ana")));

        QByteArray garbage;
        for (int i = 0; i < 20000; ++i)
            garbage.append(char((i * 7919 + 13) % 256));
        {
            RawClient noise(f.port());
            QVERIFY(noise.waitForConnected());
            noise.send(garbage);
            QVERIFY(noise.waitForDisconnected());
        }
        {
            RawClient half(f.port());
            QVERIFY(half.waitForConnected());
            half.send("\x03\x04meio");
        }
        {
            RawClient midLine(f.port());
            QVERIFY(ServerFixture::enter(midLine, QStringLiteral("bia")));
            midLine.send(garbage);
            midLine.send("/w ana metade");
        }
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
        bia.sendLine(QStringLiteral("/users"));
        QCOMPARE(bia.next(), QStringLiteral("1018 INFO \"Há 2 usuários conectados em 1 canais.\""));
    }
};

QTEST_GUILESS_MAIN(TestServerLimits)
#include "tst_server_limits.moc"
