#include <QCoreApplication>
#include <QTest>

#include "RawClient.h"
#include "ServerFixture.h"

class TestServerLogin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loginAnswersNameChannelAndList_data()
    {
        QTest::addColumn<QByteArray>("login");
        // clang-format off
        QTest::newRow("cr ends") << QByteArray("\x03\x04" "ana\rsenha\r\r");
        QTest::newRow("cr lf ends") << QByteArray("\x03\x04" "ana\r\nsenha\r\n\r\n");
        QTest::newRow("without the prefix") << QByteArray("ana\rsenha\r\r");
        QTest::newRow("empty password") << QByteArray("\x03\x04" "ana\r\r\r");
        QTest::newRow("byte by byte") << QByteArray();
        // clang-format on
    }
    void loginAnswersNameChannelAndList()
    {
        QFETCH(QByteArray, login);
        ServerFixture f;
        QVERIFY(f.start());
        RawClient first(f.port());
        QVERIFY(first.login(QStringLiteral("bia")));
        first.linesBeforeSync();

        RawClient client(f.port());
        QVERIFY(client.waitForConnected());
        if (login.isEmpty()) {
            // Each byte gets its own turn of the event loop, so the server reads them apart.
            for (const char c : QByteArray("\x03\x04"
                                           "ana\r\nx\r\n\r\n")) {
                client.send(QByteArray(1, c));
                QCoreApplication::processEvents();
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
        // clang-format off
        QTest::newRow("empty name") << QByteArray("\x03\x04\rx\r\r");
        QTest::newRow("only the prefix, cr lf") << QByteArray("\x03\x04\r\n");
        QTest::newRow("name taken") << QByteArray("\x03\x04" "bia\rx\r\r");
        QTest::newRow("name taken, other case") << QByteArray("\x03\x04" "BIA\rx\r\r");
        QTest::newRow("blank in the name") << QByteArray("\x03\x04" "a b\rx\r\r");
        QTest::newRow("name too long") << QByteArray(30, 'n') + "\rx\r\r";
        QTest::newRow("quote in the name") << QByteArray("\x03\x04" "a\"b\rx\r\r");
        QTest::newRow("name longer than a line, cut off") << QByteArray(5000, 'n') + "\rx\r\r";
        QTest::newRow("prefix bytes swapped") << QByteArray("\x04\x03" "ana\rx\r\r");
        // clang-format on
    }
    void badLoginIsRefusedAndClosed()
    {
        QFETCH(QByteArray, login);
        ServerFixture f;
        QVERIFY(f.start());
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));

        RawClient client(f.port());
        QVERIFY(client.waitForConnected());
        client.send(login);
        QVERIFY(client.next().startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(client.waitForDisconnected());
        // Nobody entered, and the one logged in is served as before.
        QVERIFY(bia.linesBeforeSync().isEmpty());
    }

    void halfLoginTimesOut()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.loginTimeoutMs = 200;
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient client(f.port());
        QVERIFY(client.waitForConnected());
        client.send("\x03\x04"
                    "ana\r");
        QVERIFY(client.next(10000).startsWith(QStringLiteral("1019 ERROR \"")));
        QVERIFY(client.waitForDisconnected(10000));
        RawClient ana(f.port());
        QVERIFY(ServerFixture::enter(ana, QStringLiteral("ana")));
    }
};

QTEST_GUILESS_MAIN(TestServerLogin)
#include "tst_server_login.moc"
