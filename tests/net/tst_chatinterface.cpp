#include <QCoreApplication>
#include <QHostAddress>
#include <QPointer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

#include "FakeServer.h"
#include "core/Cp1252.h"
#include "net/TChatInterface.h"

namespace {

// Records every event of a connection, in order; received lines as "data:<line>".
struct EventLog
{
    QStringList events;

    void watch(TChatInterface& chat)
    {
        chat.OnConnect = [this] { events << QStringLiteral("connect"); };
        chat.OnDisconnect = [this] { events << QStringLiteral("disconnect"); };
        chat.OnSendError = [this] { events << QStringLiteral("senderror"); };
        chat.OnLogin = [this] { events << QStringLiteral("login"); };
        chat.OnSocketError = [this] { events << QStringLiteral("socketerror"); };
        chat.OnConnectClosed = [this] { events << QStringLiteral("closed"); };
        chat.OnConnectFailed = [this](ConnectFailure reason) {
            switch (reason) {
            case ConnectFailure::Refused:
                events << QStringLiteral("failed:refused");
                break;
            case ConnectFailure::HostNotFound:
                events << QStringLiteral("failed:notfound");
                break;
            case ConnectFailure::Unreachable:
                events << QStringLiteral("failed:unreachable");
                break;
            }
        };
        chat.OnDataReceived = [this](const QString& line) {
            events << QStringLiteral("data:") + line;
        };
    }

    QStringList lines() const
    {
        QStringList out;
        for (const QString& event : events) {
            if (event.startsWith(QLatin1String("data:")))
                out << event.mid(5);
        }
        return out;
    }
};

bool connectTo(TChatInterface& chat, FakeServer& server, int client = 0)
{
    chat.Address = QStringLiteral("127.0.0.1");
    chat.Port = server.port();
    if (!chat.Connect())
        return false;
    return QTest::qWaitFor([&] { return chat.Connected() && !chat.Connecting(); }, 10000) &&
           server.waitForClient(client + 1);
}

// Time for bytes already written on loopback to be read by the other side. Used only where
// nothing should happen, so a slow machine makes such a check weaker, never wrong.
void settle()
{
    QTest::qWait(50);
}

// Far more than one socket write takes (the kernel's buffers on loopback grow to a few MB), made
// of every byte a line may carry.
QByteArray bigPayload()
{
    QByteArray bytes(16 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(0x20 + i % 0xE0);
    return bytes;
}

// Sockets the application holds: a closed connection stays there while it writes what it had
// accepted.
QList<QTcpSocket*> closingSockets()
{
    return QCoreApplication::instance()->findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly);
}

} // namespace

class TestChatInterface : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cutsLinesAsTheyArrive_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<bool>("noLineFeed");
        QTest::addColumn<bool>("noReturn");
        // The lines handed on once each chunk has arrived.
        QTest::addColumn<QList<QStringList>>("after");

        const QByteArray junk(40000, 'x');
        const QByteArray longest(TChatInterface::MaxLineLength, 'y');
        // clang-format off
        QTest::newRow("A CR LF B CR LF in one chunk, then C") << QList<QByteArray>{"1005 A\r\n1005 B\r\n", "1005 C\r\n"} << true << true << QList<QStringList>{{"1005 A", "1005 B"}, {"1005 A", "1005 B", "1005 C"}};
        QTest::newRow("A LF B LF: both at once")              << QList<QByteArray>{"A\nB\n"} << true << true << QList<QStringList>{{"A", "B"}};
        QTest::newRow("a line split in its code")             << QList<QByteArray>{"10", "05 TALK x 0010 \"oi\"\r\n"} << true << true << QList<QStringList>{{}, {"1005 TALK x 0010 \"oi\""}};
        QTest::newRow("a chunk ending at a CR")               << QList<QByteArray>{"A\r", "\nB\r\n"} << true << true << QList<QStringList>{{"A"}, {"A", "B"}};
        QTest::newRow("a chunk ending at an LF")              << QList<QByteArray>{"A\n", "B\n"} << true << true << QList<QStringList>{{"A"}, {"A", "B"}};
        QTest::newRow("lone CR and LF are no lines")          << QList<QByteArray>{"\r", "\n", "\r\n\n\r", "A\r\n"} << true << true << QList<QStringList>{{}, {}, {}, {"A"}};
        QTest::newRow("NoLineFeed false keeps an LF end")     << QList<QByteArray>{"A\n", "B\r\n"} << false << true << QList<QStringList>{{"A\n"}, {"A\n", "B"}};
        QTest::newRow("NoReturn false keeps a CR end")        << QList<QByteArray>{"A\r\n"} << true << false << QList<QStringList>{{"A\r"}};
        QTest::newRow("bytes are Windows-1252")               << QList<QByteArray>{"\xe7\xe3o \x80 \x93x\x94\r\n"} << true << true << QList<QStringList>{{QStringLiteral("ção € “x”")}};
        QTest::newRow("a junk line is dropped whole, with a tail that looks like an event") << QList<QByteArray>{junk, junk, "1018 INFO \"fake\"\r\n1018 INFO \"real\"\r\n"} << true << true << QList<QStringList>{{}, {}, {"1018 INFO \"real\""}};
        QTest::newRow("junk and a real line in one chunk")    << QList<QByteArray>{QByteArray(70000, 'x') + "\r\n1005 ok\r\n"} << true << true << QList<QStringList>{{"1005 ok"}};
        QTest::newRow("a line at the bound arrives")          << QList<QByteArray>{longest.left(30000), longest.mid(30000) + "\r\n"} << true << true << QList<QStringList>{{}, {QString::fromLatin1(longest)}};
        QTest::newRow("a megabyte without an end, then a line") << QList<QByteArray>{QByteArray(1 << 20, 'z'), "\r\nok\r\n"} << true << true << QList<QStringList>{{}, {"ok"}};
        // clang-format on
    }
    void cutsLinesAsTheyArrive()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(bool, noLineFeed);
        QFETCH(bool, noReturn);
        QFETCH(QList<QStringList>, after);

        FakeServer server;
        TChatInterface chat;
        chat.NoLineFeed = noLineFeed;
        chat.NoReturn = noReturn;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));

        for (int i = 0; i < chunks.size(); ++i) {
            server.send(chunks[i]);
            const qsizetype before = i > 0 ? after[i - 1].size() : 0;
            if (after[i].size() > before)
                QTRY_VERIFY(log.lines().size() >= after[i].size());
            else
                settle();
            QCOMPARE(log.lines(), after[i]);
        }
        QCOMPARE(log.events.first(), QStringLiteral("connect"));
        QCOMPARE(log.events.size(), after.last().size() + 1);
    }

    void isNumericAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("numeric");
        // clang-format off
        QTest::newRow("dotted")                           << "127.0.0.1"  << true;
        QTest::newRow("empty")                            << ""           << true;
        QTest::newRow("digits only")                      << "2130706433" << true;
        QTest::newRow("a letter after a numeric address") << "127.0.0.1a" << false;
        QTest::newRow("a name")                           << "localhost"  << false;
        QTest::newRow("a blank")                          << " 127.0.0.1" << false;
        // clang-format on
    }
    void isNumericAddress()
    {
        QFETCH(QString, address);
        QFETCH(bool, numeric);
        QCOMPARE(TChatInterface::isNumericAddress(address), numeric);
    }

    void connectsAndLogsInFromOnConnect()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        bool connectedInside = false;
        bool connectingInside = false;
        chat.OnConnect = [&] {
            log.events << QStringLiteral("connect");
            connectedInside = chat.Connected();
            connectingInside = chat.Connecting();
            chat.LoginScript = QStringList{QStringLiteral("a"), QStringLiteral("b")};
            QVERIFY(chat.RunLoginScript());
        };
        chat.Address = QStringLiteral("localhost");
        chat.Port = server.port();
        QVERIFY(chat.Connect());
        QVERIFY(chat.Connecting());
        QVERIFY(log.events.isEmpty());

        QVERIFY(server.waitForData("a\rb\r"));
        QVERIFY(connectedInside);
        QVERIFY(connectingInside);
        QVERIFY(!chat.Connecting());
        QVERIFY(chat.LoggedIn);
        QCOMPARE(log.events, (QStringList{"connect", "login"}));
        QCOMPARE(server.received(), QByteArray("a\rb\r"));
    }

    void aFailedAttemptIsToldWithItsReason_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("closedPort");
        QTest::addColumn<QString>("event");
        // The .invalid domain never resolves; without a network the lookup fails as well.
        // clang-format off
        QTest::newRow("numeric address")                      << "127.0.0.1"          << true  << "failed:refused";
        QTest::newRow("localhost, over IPv4")                 << "localhost"          << true  << "failed:refused";
        QTest::newRow("digits and dots that make no address") << "999.1.1.1"          << false << "failed:notfound";
        QTest::newRow("no address")                           << ""                   << false << "failed:notfound";
        QTest::newRow("a name that does not resolve")         << "nao-existe.invalid" << false << "failed:notfound";
        // clang-format on
    }
    void aFailedAttemptIsToldWithItsReason()
    {
        QFETCH(QString, address);
        QFETCH(bool, closedPort);
        QFETCH(QString, event);
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Address = address;
        chat.Port = closedPort ? FakeServer::closedPort() : server.port();

        QVERIFY(chat.Connect());
        QVERIFY(log.events.isEmpty()); // nothing fires from inside Connect
        QTRY_VERIFY_WITH_TIMEOUT(!log.events.isEmpty(), 30000);
        QCOMPARE(log.events, QStringList{event});
        QVERIFY(!chat.Connecting());
        QVERIFY(!chat.Connected());
        QVERIFY(!chat.LoggedIn);
        QVERIFY(!chat.SendData(QStringLiteral("x")));

        // The attempt is over: a new one is accepted.
        QVERIFY(connectTo(chat, server));
        QCOMPARE(log.events, (QStringList{event, "connect"}));
    }

    void aSecondConnectWhileConnectingChangesNothing()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Address = QStringLiteral("127.0.0.1");
        chat.Port = server.port();
        QVERIFY(chat.Connect());
        QVERIFY(!chat.Connect());
        QTRY_VERIFY(chat.Connected() && !chat.Connecting());
        settle();
        QCOMPARE(log.events, QStringList{"connect"});
        QCOMPARE(server.clientCount(), 1);
    }

    void cancelConnectThenConnectAgain_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("letItStart");
        // clang-format off
        QTest::newRow("numeric, before it starts") << "127.0.0.1" << false;
        QTest::newRow("numeric, once started")     << "127.0.0.1" << true;
        QTest::newRow("name, during the lookup")   << "localhost" << true;
        // clang-format on
    }
    void cancelConnectThenConnectAgain()
    {
        QFETCH(QString, address);
        QFETCH(bool, letItStart);
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Address = address;
        chat.Port = server.port();
        QVERIFY(chat.Connect());
        if (letItStart) {
            QCoreApplication::processEvents();
            if (chat.Connected())
                QSKIP("the loopback connection was made within one pass of the event loop");
        }
        chat.CancelConnect();
        QVERIFY(!chat.Connecting());
        QVERIFY(!chat.Connected());
        settle();
        QVERIFY(log.events.isEmpty()); // the cancelled socket never reports

        QVERIFY(chat.Connect());
        QTRY_VERIFY(chat.Connected() && !chat.Connecting());
        settle();
        QCOMPARE(log.events, QStringList{"connect"});
    }

    void disconnectWhileConnectingEndsTheAttempt()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Address = QStringLiteral("127.0.0.1");
        chat.Port = server.port();
        QVERIFY(chat.Connect());
        chat.Disconnect();
        QCOMPARE(log.events, QStringList{"disconnect"});
        QVERIFY(!chat.Connecting());
        QVERIFY(connectTo(chat, server));
    }

    void sendDataNeedsAConnection()
    {
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(!chat.SendData(QStringLiteral("hello\r")));
        QVERIFY(!chat.RunLoginScript());
        QVERIFY(!chat.LoggedIn);
        QVERIFY(log.events.isEmpty());
    }

    void sendDataSendsEveryByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray big = bigPayload();
        // clang-format off
        QTest::newRow("Windows-1252")    << QStringLiteral("ação € “ok”\r") << QByteArray("a\xe7\xe3o \x80 \x93ok\x94\r");
        QTest::newRow("nothing to send") << QString() << QByteArray();
        QTest::newRow("16 MB")           << Cp1252::decode(big) << big;
        // clang-format on
    }
    void sendDataSendsEveryByte()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));

        QVERIFY(chat.SendData(text));
        QVERIFY(chat.SendData(QStringLiteral("END")));
        QVERIFY(server.waitForBytes(bytes.size() + 3, 20000));
        QCOMPARE(server.received(), bytes + "END");
        QCOMPARE(log.events, QStringList{"connect"});
    }

    void anEmptyLoginScriptStillLogsIn()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));
        QVERIFY(chat.RunLoginScript());
        QVERIFY(chat.LoggedIn);
        QCOMPARE(log.events, (QStringList{"connect", "login"}));
        QVERIFY(chat.SendData(QStringLiteral("z")));
        QVERIFY(server.waitForBytes(1));
        QCOMPARE(server.received(), QByteArray("z"));
    }

    void theServerClosing()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));
        QVERIFY(chat.RunLoginScript());

        // The last complete line before the close still arrives; a line without its end does not.
        server.send("1019 ERROR \"bye\"\r\n1018 INF");
        server.closeClient();
        QTRY_VERIFY(log.events.contains(QStringLiteral("closed")));
        QCOMPARE(log.events,
                 (QStringList{"connect", "login", "data:1019 ERROR \"bye\"", "closed"}));
        QVERIFY(!chat.Connected());
        QVERIFY(!chat.Connecting());
        QVERIFY(!chat.LoggedIn);
        QVERIFY(!chat.SendData(QStringLiteral("x")));

        QVERIFY(connectTo(chat, server, 1));
        QCOMPARE(log.events.last(), QStringLiteral("connect"));
    }

    void disconnectFiresOnceAndClosesTheSocket()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Disconnect();
        QVERIFY(log.events.isEmpty()); // no socket, nothing to report

        QVERIFY(connectTo(chat, server));
        QVERIFY(chat.RunLoginScript());
        chat.Disconnect();
        chat.Disconnect();
        QVERIFY(server.waitForDisconnect());
        settle();
        QCOMPARE(log.events, (QStringList{"connect", "login", "disconnect"}));
        QVERIFY(!chat.Connected());
        QVERIFY(!chat.LoggedIn);
    }

    // What SendData accepted reaches the server even when the connection is closed right after,
    // though it is far more than the system takes at once; the close itself happens at once.
    void aClosedConnectionStillWritesWhatItAccepted_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<QStringList>("events");
        // clang-format off
        QTest::newRow("Disconnect")                                   << "Disconnect" << QStringList{"connect", "disconnect"};
        QTest::newRow("destruction")                                  << "destroy"    << QStringList{"connect"};
        QTest::newRow("Disconnect from a line handler, lines unread") << "handler"    << QStringList{"connect", "data:go", "disconnect"};
        // clang-format on
    }
    void aClosedConnectionStillWritesWhatItAccepted()
    {
        QFETCH(QString, close);
        QFETCH(QStringList, events);
        FakeServer server;
        auto chat = std::make_unique<TChatInterface>();
        EventLog log;
        log.watch(*chat);
        QVERIFY(connectTo(*chat, server));
        const QByteArray payload = bigPayload() + "END";
        const QString text = Cp1252::decode(payload);

        if (close == QLatin1String("handler")) {
            chat->OnDataReceived = [&](const QString& line) {
                log.events << QStringLiteral("data:") + line;
                chat->SendData(text);
                chat->Disconnect();
            };
            // The lines after the first are never read: they must not turn the close into a reset.
            server.send("go\r\n" + QByteArray(1 << 20, 'x') + "\r\nmore\r\n");
            QTRY_VERIFY(!chat->Connected());
        } else {
            QVERIFY(chat->SendData(text));
            if (close == QLatin1String("Disconnect"))
                chat->Disconnect();
            else
                chat.reset();
        }
        QCOMPARE(log.events, events);
        if (chat) {
            QVERIFY(!chat->Connected());
            QVERIFY(!chat->SendData(QStringLiteral("x")));
        }

        QVERIFY(server.waitForBytes(payload.size(), 60000));
        QVERIFY(server.received() == payload);
        QVERIFY(server.waitForDisconnect());
        settle();
        QCOMPARE(log.events, events);
    }

    // The old socket still writing in the background never reaches the new connection.
    void aNewConnectionIsNotDisturbedByTheOldOneClosing_data()
    {
        QTest::addColumn<bool>("disconnectFirst");
        QTest::addColumn<QStringList>("events");
        // clang-format off
        QTest::newRow("Disconnect, then Connect") << true  << QStringList{"connect", "disconnect", "connect", "data:new"};
        QTest::newRow("Connect while connected")  << false << QStringList{"connect", "connect", "data:new"};
        // clang-format on
    }
    void aNewConnectionIsNotDisturbedByTheOldOneClosing()
    {
        QFETCH(bool, disconnectFirst);
        QFETCH(QStringList, events);
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));
        const QByteArray payload = bigPayload();
        QVERIFY(chat.SendData(Cp1252::decode(payload)));
        if (disconnectFirst)
            chat.Disconnect();
        QVERIFY(connectTo(chat, server, 1));

        // The old server side talks while the old socket is still writing; only the new one counts.
        server.sendLine(QStringLiteral("old"), 0);
        server.sendLine(QStringLiteral("new"), 1);
        QVERIFY(chat.SendData(QStringLiteral("new\r")));
        QVERIFY(server.waitForData("new\r", 5000, 1));

        QVERIFY(server.waitForBytes(payload.size(), 60000, 0));
        QVERIFY(server.received(0) == payload);
        QVERIFY(server.waitForDisconnect(5000, 0));
        settle();
        QCOMPARE(log.events, events);
        QVERIFY(chat.Connected());
        QVERIFY(server.clientConnected(1));
        QVERIFY(chat.SendData(QStringLiteral("still\r")));
        QVERIFY(server.waitForData("new\rstill\r", 5000, 1));
    }

    void aServerThatTakesNothingCannotHoldAClosedConnection()
    {
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost, 0));
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.Address = QStringLiteral("127.0.0.1");
        chat.Port = listener.serverPort();
        QVERIFY(chat.Connect());
        QTRY_VERIFY(chat.Connected() && listener.hasPendingConnections());
        std::unique_ptr<QTcpSocket> peer(listener.nextPendingConnection());
        peer->setReadBufferSize(1); // takes one byte and then nothing

        const QByteArray payload = bigPayload();
        QVERIFY(chat.SendData(Cp1252::decode(payload)));
        const QList<QTcpSocket*> before = closingSockets();
        chat.Disconnect();
        QCOMPARE(log.events, (QStringList{"connect", "disconnect"}));
        QPointer<QTcpSocket> closing;
        for (QTcpSocket* socket : closingSockets()) {
            if (!before.contains(socket))
                closing = socket;
        }
        QVERIFY(closing); // still writing in the background
        QTRY_VERIFY_WITH_TIMEOUT(closing.isNull(), 10000);

        // Reading again, the server finds the connection ended short of the payload.
        QByteArray received;
        peer->setReadBufferSize(0);
        QTRY_VERIFY_WITH_TIMEOUT(
            (received += peer->readAll(), peer->state() == QAbstractSocket::UnconnectedState),
            10000);
        QVERIFY(received.size() < payload.size());
        QCOMPARE(log.events, (QStringList{"connect", "disconnect"}));
    }

    void aLineHandlerThatEndsTheConnectionDropsTheRestOfTheChunk_data()
    {
        QTest::addColumn<bool>("reconnect");
        QTest::addColumn<QStringList>("events");
        // clang-format off
        QTest::newRow("Disconnect")    << false << QStringList{"connect", "data:A", "disconnect"};
        QTest::newRow("a new Connect") << true  << QStringList{"connect", "data:A", "connect"};
        // clang-format on
    }
    void aLineHandlerThatEndsTheConnectionDropsTheRestOfTheChunk()
    {
        QFETCH(bool, reconnect);
        QFETCH(QStringList, events);
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        chat.OnDataReceived = [&](const QString& line) {
            log.events << QStringLiteral("data:") + line;
            if (reconnect)
                QVERIFY(chat.Connect());
            else
                chat.Disconnect();
        };
        QVERIFY(connectTo(chat, server));
        // Nothing may read from the closed socket, nor from a new one before it is open.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        server.send(QByteArray("A\r\nB\r\n") + QByteArray(100000, 'x') + "\r\nC\r\n");
        QVERIFY(server.waitForDisconnect(5000, 0));
        if (reconnect)
            QTRY_VERIFY(chat.Connected() && !chat.Connecting());
        settle();
        QCOMPARE(log.events, events);
    }

    void connectWhileConnectedReplacesTheConnectionQuietly()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        QVERIFY(connectTo(chat, server));
        QVERIFY(chat.RunLoginScript());
        QVERIFY(chat.Connect());
        QVERIFY(!chat.LoggedIn);
        QVERIFY(server.waitForDisconnect(5000, 0));
        QTRY_VERIFY(chat.Connected() && !chat.Connecting());
        QCOMPARE(log.events, (QStringList{"connect", "login", "connect"}));
    }

    void anAttemptStartedFromOnConnectStaysUnderWay()
    {
        FakeServer server;
        TChatInterface chat;
        EventLog log;
        log.watch(chat);
        int connects = 0;
        bool connectingAfter = false;
        bool anotherConnectRefused = false;
        chat.OnConnect = [&] {
            log.events << QStringLiteral("connect");
            if (++connects == 1) {
                chat.Disconnect();
                QVERIFY(chat.Connect());
                // Looks once the notification has returned, before the new attempt can end.
                QMetaObject::invokeMethod(
                    &chat,
                    [&] {
                        connectingAfter = chat.Connecting();
                        anotherConnectRefused = !chat.Connect();
                    },
                    Qt::QueuedConnection);
            }
        };
        chat.Address = QStringLiteral("127.0.0.1");
        chat.Port = server.port();
        QVERIFY(chat.Connect());
        QTRY_COMPARE(connects, 2);
        QVERIFY(connectingAfter);
        QVERIFY(anotherConnectRefused);
        QVERIFY(chat.Connected() && !chat.Connecting());
        QCOMPARE(log.events, (QStringList{"connect", "disconnect", "connect"}));
    }

    void destructionClosesWithoutOnDisconnect()
    {
        FakeServer server;
        auto chat = std::make_unique<TChatInterface>();
        EventLog log;
        log.watch(*chat);
        QVERIFY(connectTo(*chat, server));
        chat.reset();
        QVERIFY(server.waitForDisconnect());
        QCOMPARE(log.events, QStringList{"connect"});
    }

    void destructionWhileConnectingReportsNothing()
    {
        FakeServer server;
        auto chat = std::make_unique<TChatInterface>();
        EventLog log;
        log.watch(*chat);
        chat->Address = QStringLiteral("127.0.0.1");
        chat->Port = server.port();
        QVERIFY(chat->Connect());
        chat.reset();
        settle();
        QVERIFY(log.events.isEmpty());
        QCOMPARE(server.clientCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestChatInterface)
#include "tst_chatinterface.moc"
