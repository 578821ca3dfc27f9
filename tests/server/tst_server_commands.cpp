#include <QTest>

#include "RawClient.h"
#include "ServerFixture.h"

// The trial server's slash commands: moderation by operators, information, away and dnd.
class TestServerCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void operatorCommandsRefusedToOthers_data()
    {
        QTest::addColumn<QString>("line");
        // clang-format off
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
        // clang-format on
    }
    void operatorCommandsRefusedToOthers()
    {
        QFETCH(QString, line);
        ServerOptions options = ServerFixture::quietOptions();
        options.operators = {QStringLiteral("bia")};
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        ana.sendLine(line);
        QCOMPARE(ana.next(),
                 QStringLiteral("1019 ERROR \"Você não tem permissão para usar esse comando.\""));
        QCOMPARE(bia.linesBeforeSync(), QStringList());
        QVERIFY(bia.isConnected());
    }

    void voiceAndDevoiceByAnOperator()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.operators = {QStringLiteral("Ana")};
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient ana(f.port());
        RawClient bia(f.port());
        QVERIFY(ana.login(QStringLiteral("ana")));
        QVERIFY(ana.waitForLine(QStringLiteral("1001 USER ana 0008 [CHAT]")));
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
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

    void kickBanAndKill()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.operators = {QStringLiteral("op"), QStringLiteral("op2")};
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();
        RawClient op(f.port());
        QVERIFY(ServerFixture::enter(op, QStringLiteral("op")));

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
        RawClient op2(f.port());
        QVERIFY(ServerFixture::enter(op2, QStringLiteral("op2")));
        op.linesBeforeSync();
        op.sendLine(QStringLiteral("/kick op2"));
        QCOMPARE(op.next(), QStringLiteral("1019 ERROR \"Você não pode expulsar op2.\""));
        op.sendLine(QStringLiteral("/kick op"));
        QCOMPARE(op.next(), QStringLiteral("1019 ERROR \"Você não pode expulsar a si mesmo.\""));
    }

    void unknownCommandIsAnError()
    {
        ServerFixture f;
        QVERIFY(f.start());
        RawClient ana(f.port());
        QVERIFY(ServerFixture::enter(ana, QStringLiteral("ana")));
        ana.sendLine(QStringLiteral("/voar alto"));
        QCOMPARE(ana.next(), QStringLiteral("1019 ERROR \"Comando desconhecido: /voar\""));
    }

    void informationCommandsAnswer_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("answer");
        // clang-format off
        QTest::newRow("users") << QStringLiteral("/users") << QStringLiteral("1018 INFO \"Há 2 usuários conectados em 1 canais.\"");
        QTest::newRow("whois") << QStringLiteral("/whois BIA") << QStringLiteral("1018 INFO \"bia está usando CHAT no canal \"Chat\".\"");
        QTest::newRow("whois unknown") << QStringLiteral("/whois zé") << QStringLiteral("1019 ERROR \"Usuário desconhecido.\"");
        QTest::newRow("channels") << QStringLiteral("/chs all") << QStringLiteral("1018 INFO \"Canais abertos:\"");
        QTest::newRow("tag") << QStringLiteral("/tag chat") << QStringLiteral("1018 INFO \"Usando CHAT neste canal: ana, bia\"");
        QTest::newRow("banned none") << QStringLiteral("/lusers") << QStringLiteral("1018 INFO \"Ninguém está banido em Chat.\"");
        QTest::newRow("games hell") << QStringLiteral("/games d2xp hell") << QStringLiteral("1018 INFO \"Jogos de D2XP abertos (Inferno):\"");
        QTest::newRow("games bad level") << QStringLiteral("/games d2xp facil") << QStringLiteral("1019 ERROR ");
        QTest::newRow("away") << QStringLiteral("/away almoço") << QStringLiteral("1018 INFO \"Você está ausente: almoço\"");
        QTest::newRow("dnd") << QStringLiteral("/dnd") << QStringLiteral("1018 INFO \"Você não quer ser incomodado: ");
        // clang-format on
    }
    void informationCommandsAnswer()
    {
        QFETCH(QString, line);
        QFETCH(QString, answer);
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();

        ana.sendLine(line);
        QVERIFY2(ana.next().startsWith(answer), qPrintable(answer));
    }

    void awayAndDndShapeWhispers()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

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
};

QTEST_GUILESS_MAIN(TestServerCommands)
#include "tst_server_commands.moc"
