#include <QTest>

#include "RawClient.h"
#include "ServerFixture.h"

// Talk, whispers, emotes and channels between accounts of the trial server.
class TestServerChannels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void talkReachesOthersButIsNotEchoed()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        ana.sendLine(QStringLiteral("olá, \"bia\" ação €"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"olá, \"bia\" ação €\""));
        QCOMPARE(ana.linesBeforeSync(), QStringList());

        bia.socket()->abort();
        QVERIFY(ana.waitForLine(QStringLiteral("1003 LEAVE bia 0000")));
    }

    void whisperIsDeliveredAndEchoed_data()
    {
        QTest::addColumn<QString>("command");
        // clang-format off
        QTest::newRow("/w") << QStringLiteral("/w");
        QTest::newRow("/whisper") << QStringLiteral("/whisper");
        QTest::newRow("/m") << QStringLiteral("/m");
        QTest::newRow("upper case") << QStringLiteral("/W");
        // clang-format on
    }
    void whisperIsDeliveredAndEchoed()
    {
        QFETCH(QString, command);
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        ana.sendLine(command + QStringLiteral(" BIA oi, tudo bem?"));
        QCOMPARE(ana.next(), QStringLiteral("1010 WHISPER bia 0000 \"oi, tudo bem?\""));
        QCOMPARE(bia.next(), QStringLiteral("1004 WHISPER ana 0000 \"oi, tudo bem?\""));

        ana.sendLine(command + QStringLiteral(" ninguem oi"));
        QVERIFY(ana.next().startsWith(QStringLiteral("1019 ERROR ")));
    }

    void friendsWhisperEchoesTheFriendsForm()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();
        ana.sendLine(QStringLiteral("/f add bia"));
        ana.linesBeforeSync();

        ana.sendLine(QStringLiteral("/f m bora jogar"));
        QCOMPARE(ana.next(), QStringLiteral("1010 WHISPER \"your friends\" 0010 \"bora jogar\""));
        QCOMPARE(bia.next(), QStringLiteral("1004 WHISPER ana 0000 \"bora jogar\""));
    }

    void emoteReachesEveryoneSpeakerIncluded()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        ana.sendLine(QStringLiteral("/me acena"));
        QCOMPARE(ana.next(), QStringLiteral("1023 EMOTE ana 0000 \"acena\""));
        QCOMPARE(bia.next(), QStringLiteral("1023 EMOTE ana 0000 \"acena\""));
    }

    void joinMovesAndLists()
    {
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();
        RawClient caio(f.port());
        QVERIFY(ServerFixture::enter(caio, QStringLiteral("caio")));
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
        // clang-format off
        QTest::newRow("name too long") << QStringLiteral("/join ") + QString(40, QLatin1Char('c')) << QStringLiteral("1014 ");
        QTest::newRow("control character") << QStringLiteral("/join a\x01") + QStringLiteral("b") << QStringLiteral("1014 ");
        QTest::newRow("the void by name") << QStringLiteral("/join vazio") << QStringLiteral("1014 ");
        QTest::newRow("operators' channel") << QStringLiteral("/join Op ana") << QStringLiteral("1015 ");
        QTest::newRow("no name") << QStringLiteral("/join") << QStringLiteral("1019 ERROR ");
        // clang-format on
    }
    void joinRefusals()
    {
        QFETCH(QString, line);
        QFETCH(QString, answer);
        ServerFixture f;
        QVERIFY(f.startWithTwo());
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();

        ana.sendLine(line);
        QVERIFY(ana.next().startsWith(answer));
        // Still in Chat: bia hears her.
        ana.sendLine(QStringLiteral("ainda aqui"));
        QCOMPARE(bia.next(), QStringLiteral("1005 TALK ana 0000 \"ainda aqui\""));
    }

    void fullChannelAnswersAndSendsToTheVoid()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.channelLimit = 2;
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& bia = f.bia();

        RawClient caio(f.port());
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

    void moderatedChannelSilencesTheUnvoiced_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("heard");
        // clang-format off
        QTest::newRow("talk") << QStringLiteral("oi") << QStringLiteral("1005 TALK bia 0004 \"oi\"");
        QTest::newRow("emote") << QStringLiteral("/me acena") << QStringLiteral("1023 EMOTE bia 0004 \"acena\"");
        // clang-format on
    }
    void moderatedChannelSilencesTheUnvoiced()
    {
        QFETCH(QString, line);
        QFETCH(QString, heard);
        ServerOptions options = ServerFixture::quietOptions();
        options.operators = {QStringLiteral("op")};
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient op(f.port());
        RawClient bia(f.port());
        QVERIFY(ServerFixture::enter(op, QStringLiteral("op")));
        QVERIFY(ServerFixture::enter(bia, QStringLiteral("bia")));
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
        // clang-format off
        QTest::newRow("ordinary") << false << QStringLiteral("0020") << QStringLiteral("0000");
        QTest::newRow("voiced") << true << QStringLiteral("0024") << QStringLiteral("0004");
        // clang-format on
    }
    void squelchChangesFlagsForTheSquelcherOnly()
    {
        QFETCH(bool, voiced);
        QFETCH(QString, squelched);
        QFETCH(QString, restored);
        ServerOptions options = ServerFixture::quietOptions();
        options.operators = {QStringLiteral("op")};
        ServerFixture f;
        QVERIFY(f.startWithTwo(options));
        RawClient& ana = f.ana();
        RawClient& bia = f.bia();
        RawClient op(f.port());
        QVERIFY(ServerFixture::enter(op, QStringLiteral("op")));
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

    void simulatedAccountsKeepTheChannelAlive()
    {
        ServerOptions options = ServerFixture::quietOptions();
        options.simulatedUsers = true;
        options.botIntervalMs = 20;
        options.admins = {QStringLiteral("adm")};
        ServerFixture f;
        QVERIFY(f.start(options));
        RawClient adm(f.port());
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

QTEST_GUILESS_MAIN(TestServerChannels)
#include "tst_server_channels.moc"
