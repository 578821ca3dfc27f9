#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "RawClient.h"

// The built tulmo-server started as scripts/run.sh starts it: the accounts its command line
// names as operators get the operator flags and may use the operator commands; others do not.
class TestServerCommandLine : public QObject
{
    Q_OBJECT

private:
    // Starts the program on a free port; 0 when it does not say where it listens.
    static quint16 startServer(QProcess& server, const QStringList& arguments)
    {
        server.setProgram(QStringLiteral(TULMO_SERVER_PROGRAM));
        server.setArguments(QStringList{QStringLiteral("--port"), QStringLiteral("0"),
                                        QStringLiteral("--no-bots")} +
                            arguments);
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server.start();
        if (!server.waitForStarted())
            return 0;
        QByteArray said;
        while (!said.contains('\n') && server.waitForReadyRead(10000))
            said += server.readAllStandardOutput();
        const QRegularExpressionMatch port =
            QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\\n"))
                .match(QString::fromLatin1(said));
        return port.hasMatch() ? quint16(port.captured(1).toUInt()) : 0;
    }

    static void stopServer(QProcess& server)
    {
        server.terminate();
        if (!server.waitForFinished())
            server.kill();
    }

private Q_SLOTS:
    void namedAccountsAreOperators_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // clang-format off
        QTest::newRow("one name")          << QStringList{QStringLiteral("--ops"), QStringLiteral("visitante")};
        QTest::newRow("list, other case")  << QStringList{QStringLiteral("--ops"), QStringLiteral(" ana , Visitante")};
        QTest::newRow("option repeated")   << QStringList{QStringLiteral("--ops"), QStringLiteral("VISITANTE"), QStringLiteral("--ops"), QStringLiteral("ana")};
        // clang-format on
    }
    void namedAccountsAreOperators()
    {
        QFETCH(QStringList, arguments);
        QProcess server;
        const quint16 port = startServer(server, arguments);
        QVERIFY(port != 0);
        auto cleanup = qScopeGuard([&] { stopServer(server); });

        RawClient visitante(port);
        QVERIFY(visitante.login(QStringLiteral("visitante")));
        QVERIFY(visitante.waitForLine(QStringLiteral("1001 USER visitante 0008 [CHAT]")));
        visitante.linesBeforeSync();

        RawClient bia(port);
        QVERIFY(bia.login(QStringLiteral("bia")));
        QVERIFY(bia.waitForLine(QStringLiteral("1001 USER visitante 0008 [CHAT]")));
        QVERIFY(bia.waitForLine(QStringLiteral("1001 USER bia 0000 [CHAT]")));
        bia.linesBeforeSync();
        QCOMPARE(visitante.next(), QStringLiteral("1002 JOIN bia 0000 [CHAT]"));

        bia.sendLine(QStringLiteral("/kick visitante"));
        QCOMPARE(bia.next(),
                 QStringLiteral("1019 ERROR \"Você não tem permissão para usar esse comando.\""));
        visitante.sendLine(QStringLiteral("/voice bia"));
        QCOMPARE(visitante.next(), QStringLiteral("1009 USER bia 0004"));
        QCOMPARE(bia.next(), QStringLiteral("1009 USER bia 0004"));
    }

    void withoutTheOptionNobodyIsOperator()
    {
        QProcess server;
        const quint16 port = startServer(server, {});
        QVERIFY(port != 0);
        auto cleanup = qScopeGuard([&] { stopServer(server); });

        RawClient visitante(port);
        QVERIFY(visitante.login(QStringLiteral("visitante")));
        QVERIFY(visitante.waitForLine(QStringLiteral("1001 USER visitante 0000 [CHAT]")));
        visitante.linesBeforeSync();
        visitante.sendLine(QStringLiteral("/voice visitante"));
        QCOMPARE(visitante.next(),
                 QStringLiteral("1019 ERROR \"Você não tem permissão para usar esse comando.\""));
    }
};

QTEST_GUILESS_MAIN(TestServerCommandLine)
#include "tst_server_cmdline.moc"
