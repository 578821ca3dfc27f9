#include <QTest>

#include "WindowSession.h"
#include "chat/UserListModel.h"
#include "core/SharedRandom.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/TfrmMain.h"

namespace {
const QString Respostas = QStringLiteral("[Respostas]");
} // namespace

class TestWindowReplies : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void phraseReplies_data();
    void phraseReplies();
    void randomAccountIsDrawnForEveryReply();
    void entriesAreReadAtEveryLine();
    void whisperReplies_data();
    void whisperReplies();
};

void TestWindowReplies::phraseReplies_data()
{
    QTest::addColumn<QStringList>("keys");  // of [Respostas]
    QTest::addColumn<QString>("line");      // the server's talk line
    QTest::addColumn<QByteArray>("sent");   // what the window sent in answer
    QTest::addColumn<QStringList>("shown"); // the pieces of the reply's line; empty: none

    const QStringList none;
    // clang-format off
    QTest::newRow("lowest entry wins") << QStringList{"RespFrase=1", "nRF=2", "F1=oi", "F2=oi tudo", "RF11=um", "RF21=dois"} << "1005 TALK bob 0000 \"oi tudo bem\"" << QByteArray("um\r") << QStringList{"<visitante> |4", "um|5"};
    QTest::newRow("ASCII capitals match") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "RF11=ola"} << "1005 TALK bob 0000 \"FOI\"" << QByteArray("ola\r") << QStringList{"<visitante> |4", "ola|5"};
    QTest::newRow("accented capital does not match") << QStringList{"RespFrase=1", "nRF=1", "F1=\xC3\x89", "RF11=ola"} << "1005 TALK bob 0000 \"\xC3\xA9\"" << QByteArray() << none;
    QTest::newRow("speaker as received") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "RF11=Ol\xC3\xA1 <user>!"} << "1005 TALK Bob 0000 \"oi\"" << QByteArray("Ol\xE1 Bob!\r") << QStringList{"<visitante> |4", "Ol\xC3\xA1 Bob!|5"};
    QTest::newRow("empty channel list") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "RF11=<random>!"} << "1005 TALK bob 0000 \"oi\"" << QByteArray("!\r") << QStringList{"<visitante> |4", "!|5"};
    QTest::newRow("command reply not shown") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "RF11=/me acena"} << "1005 TALK bob 0000 \"oi\"" << QByteArray("/me acena\r") << none;
    QTest::newRow("count 0 gives reply 1") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "nRF1=0", "RF10=errado", "RF11=certo"} << "1005 TALK bob 0000 \"oi\"" << QByteArray("certo\r") << QStringList{"<visitante> |4", "certo|5"};
    QTest::newRow("empty reply neither sent nor shown") << QStringList{"RespFrase=1", "nRF=1", "F1=oi", "RF11="} << "1005 TALK bob 0000 \"oi\"" << QByteArray() << none;
    QTest::newRow("replies off") << QStringList{"RespFrase=0", "nRF=1", "F1=oi", "RF11=ola"} << "1005 TALK bob 0000 \"oi\"" << QByteArray() << none;
    QTest::newRow("version query answered") << QStringList{} << "1005 TALK adm-ravok 0000 \"\\ac\"" << QByteArray("/w adm-ravok >> ___ >> usando TulmoChat v1.5!\r") << none;
    QTest::newRow("version query with replies off") << QStringList{"RespFrase=0", "nRF=1", "F1=\\ac", "RF11=ola"} << "1005 TALK SPY 0000 \"\\ac\"" << QByteArray("/w SPY >> ___ >> usando TulmoChat v1.5!\r") << none;
    QTest::newRow("version query then phrases") << QStringList{"RespFrase=1", "nRF=1", "F1=\\AC", "RF11=ola"} << "1005 TALK Adm-Taven 0000 \"\\ac\"" << QByteArray("/w Adm-Taven >> ___ >> usando TulmoChat v1.5!\rola\r") << QStringList{"<visitante> |4", "ola|5"};
    QTest::newRow("version query in capitals") << QStringList{} << "1005 TALK adm-ravok 0000 \"\\AC\"" << QByteArray() << none;
    QTest::newRow("version query with a blank") << QStringList{} << "1005 TALK adm-ravok 0000 \"\\ac \"" << QByteArray() << none;
    QTest::newRow("version query from an unlisted account") << QStringList{} << "1005 TALK bob 0000 \"\\ac\"" << QByteArray() << none;
    // clang-format on
}

void TestWindowReplies::phraseReplies()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, line);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, shown);
    WindowSession s(Respostas, keys);
    QVERIFY(s.connect());
    const int before = WindowHarness::paragraphs(s.w->chatPane());
    QVERIFY(s.h.serverLine(line));
    QCOMPARE(s.sentSoFar(), sent);
    // The talk line, the reply if shown, the marker.
    QCOMPARE(WindowHarness::paragraphs(s.w->chatPane()) - before, shown.isEmpty() ? 2 : 3);
    if (!shown.isEmpty())
        QCOMPARE(WindowHarness::lastPieces(s.w->chatPane(), 1), shown);
}

// The reply number and then one account are drawn for every matching line, whether the reply
// names a random account or not.
void TestWindowReplies::randomAccountIsDrawnForEveryReply()
{
    WindowSession s(Respostas,
                    {QStringLiteral("RespFrase=1"), QStringLiteral("nRF=2"),
                     QStringLiteral("F1=oi"), QStringLiteral("RF11=ola"), QStringLiteral("F2=vem"),
                     QStringLiteral("RF21=<random> e <random>")});
    QVERIFY(s.connect());
    for (const char* line : {"1007 CHANNEL \"Chat\"", "1001 USER a 0000 [CHAT]",
                             "1001 USER b 0000 [CHAT]", "1001 USER c 0000 [CHAT]"})
        QVERIFY(s.h.serverLine(QString::fromLatin1(line)));
    SharedRandom::reset();
    QVERIFY(s.h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi\"")));
    QVERIFY(s.h.serverLine(QStringLiteral("1005 TALK bob 0000 \"vem\"")));
    SharedRandom::reset();
    SharedRandom::below(1);
    SharedRandom::below(3);
    SharedRandom::below(1);
    const QString name = s.w->users()->at(SharedRandom::below(3)).account;
    QCOMPARE(s.sentSoFar(), ("ola\r" + name + " e " + name + "\r").toLatin1());
}

// A phrase stored while the window runs (another settings object, as the options dialog has)
// answers the next line.
void TestWindowReplies::entriesAreReadAtEveryLine()
{
    WindowSession s(Respostas, {QStringLiteral("RespFrase=1")});
    QVERIFY(s.connect());
    QVERIFY(s.h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi\"")));
    QCOMPARE(s.sentSoFar(), QByteArray());
    TIniFile other(s.h.path(QStringLiteral("confs.ini")));
    Settings::write(other, Keys::Respostas::nRF, 1);
    Settings::write(other, Keys::Respostas::F(1), QStringLiteral("oi"));
    Settings::write(other, Keys::Respostas::RF(1, 1), QStringLiteral("ola"));
    QVERIFY(s.h.serverLine(QStringLiteral("1005 TALK bob 0000 \"oi\"")));
    QCOMPARE(s.sentSoFar(), QByteArray("ola\r"));
}

void TestWindowReplies::whisperReplies_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("shown"); // the last line of the whisper pane

    const QStringList received{"<FROM: bob> |10", "OI|12"};
    // clang-format off
    QTest::newRow("placeholders unchanged") << QStringList{"RespWhisp=1", "nRW=1", "W1=oi", "RW11=Oi <user> <random>"} << "1004 WHISPER bob 0000 \"OI\"" << QByteArray("/w bob Oi <user> <random>\r") << QStringList{"<TO: bob> |9", "Oi <user> <random>|11"};
    QTest::newRow("count 0 gives reply 1") << QStringList{"RespWhisp=1", "nRW=1", "W1=oi", "nRW1=0", "RW10=errado", "RW11=certo"} << "1004 WHISPER bob 0000 \"OI\"" << QByteArray("/w bob certo\r") << QStringList{"<TO: bob> |9", "certo|11"};
    QTest::newRow("empty reply neither sent nor shown") << QStringList{"RespWhisp=1", "nRW=1", "W1=oi"} << "1004 WHISPER bob 0000 \"OI\"" << QByteArray() << received;
    QTest::newRow("replies off") << QStringList{"RespWhisp=0", "nRW=1", "W1=oi", "RW11=x"} << "1004 WHISPER bob 0000 \"OI\"" << QByteArray() << received;
    QTest::newRow("phrases do not answer whispers") << QStringList{"RespFrase=1", "RespWhisp=1", "nRF=1", "F1=oi", "RF11=x"} << "1004 WHISPER bob 0000 \"OI\"" << QByteArray() << received;
    QTest::newRow("whispers do not answer talk") << QStringList{"RespFrase=1", "RespWhisp=1", "nRW=1", "W1=oi", "RW11=x"} << "1005 TALK bob 0000 \"OI\"" << QByteArray() << QStringList{};
    // clang-format on
}

void TestWindowReplies::whisperReplies()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, line);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, shown);
    WindowSession s(Respostas, keys);
    QVERIFY(s.connect());
    QVERIFY(s.h.serverLine(line));
    QCOMPARE(s.sentSoFar(), sent);
    QCOMPARE(WindowHarness::lastPieces(s.w->whisperPane()), shown);
}

QTEST_MAIN(TestWindowReplies)
#include "tst_window_replies.moc"
