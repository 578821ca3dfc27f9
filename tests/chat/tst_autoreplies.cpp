#include "chat/AutoReplies.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "core/SharedRandom.h"
#include "settings/TIniFile.h"

namespace {

// A confs.ini holding the given lines of the Respostas section, and the replies read from it.
struct Fixture
{
    explicit Fixture(const QStringList& keys)
    {
        const QString path = dir.filePath(QStringLiteral("confs.ini"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(("[Respostas]\r\n" + keys.join(QStringLiteral("\r\n")) + "\r\n").toLatin1());
        ini = std::make_unique<TIniFile>(path);
        replies = std::make_unique<AutoReplies>(*ini);
    }

    QTemporaryDir dir;
    std::unique_ptr<TIniFile> ini;
    std::unique_ptr<AutoReplies> replies;
};

} // namespace

class TestAutoReplies : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matching_data();
    void matching();
    void hugeCountReadsOnlyStoredKeys();
    void replace_data();
    void replace();
    void phraseReply_data();
    void phraseReply();
    void drawsFollowTheSharedGenerator();
    void whisperReply_data();
    void whisperReply();
    void versionAnswer_data();
    void versionAnswer();
    void hidesOnlyTheExactEcho_data();
    void hidesOnlyTheExactEcho();
};

void TestAutoReplies::matching_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("phrase");
    QTest::addColumn<int>("whisper");

    // clang-format off
    QTest::newRow("lowest entry wins") << QStringList{"nRF=2", "F1=oi", "F2=oi tudo"} << "oi tudo bem" << 1 << -1;
    QTest::newRow("later entry when the first is absent") << QStringList{"nRF=2", "F1=tchau", "F2=oi tudo"} << "oi tudo bem" << 2 << -1;
    QTest::newRow("ASCII letters fold both ways") << QStringList{"nRF=1", "F1=Oi"} << "FOI" << 1 << -1;
    QTest::newRow("accented capital does not fold") << QStringList{"nRF=1", "F1=É"} << "é" << -1 << -1;
    QTest::newRow("dotted capital I does not fold") << QStringList{"nRF=1", "F1=i"} << "İ" << -1 << -1;
    QTest::newRow("same accented letter matches") << QStringList{"nRF=1", "F1=olá"} << "OLá" << 1 << -1;
    QTest::newRow("empty phrase never matches") << QStringList{"nRF=2", "F1=", "F2=x"} << "x" << 2 << -1;
    QTest::newRow("missing phrase never matches") << QStringList{"nRF=2", "F2=x"} << "x" << 2 << -1;
    QTest::newRow("entry beyond the count ignored") << QStringList{"nRF=1", "F1=a", "F2=x"} << "x" << -1 << -1;
    QTest::newRow("no count, no entries") << QStringList{"F1=x"} << "x" << -1 << -1;
    QTest::newRow("whisper list apart") << QStringList{"nRF=1", "F1=a", "nRW=2", "W1=b", "W2=x"} << "x" << -1 << 2;
    QTest::newRow("key names fold") << QStringList{"NRW=1", "w1=X"} << "x" << -1 << 1;
    // clang-format on
}

void TestAutoReplies::matching()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    Fixture f(keys);
    QTEST(f.replies->numFrase(text), "phrase");
    QTEST(f.replies->numWhisp(text), "whisper");
}

// A count typed by hand far beyond the stored entries must not be walked number by number at
// every line; the stored entries still match, the lowest first.
void TestAutoReplies::hugeCountReadsOnlyStoredKeys()
{
    Fixture f({QStringLiteral("nRF=2147483647"), QStringLiteral("F2000000000=alvo"),
               QStringLiteral("f1999999999=outro alvo"), QStringLiteral("F0=alvo"),
               QStringLiteral("F01=alvo"), QStringLiteral("Fx=alvo")});
    QCOMPARE(f.replies->numFrase(QStringLiteral("alvo")), 2000000000);
    QCOMPARE(f.replies->numFrase(QStringLiteral("o outro alvo")), 1999999999);
    QCOMPARE(f.replies->numFrase(QStringLiteral("nada")), -1);
}

void TestAutoReplies::replace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QStringList>("replacements");
    QTest::addColumn<QString>("result");

    // clang-format off
    QTest::newRow("every occurrence") << "<user> e <user>" << QStringList{"<user>"} << QStringList{"Bob"} << "Bob e Bob";
    QTest::newRow("case-sensitive") << "<USER> <user>" << QStringList{"<user>"} << QStringList{"Bob"} << "<USER> Bob";
    QTest::newRow("replaced text not searched again") << "aa" << QStringList{"a"} << QStringList{"aa"} << "aaaa";
    QTest::newRow("later pattern sees earlier result") << "ab" << QStringList{"a", "x"} << QStringList{"x", "y"} << "yb";
    QTest::newRow("missing replacements take the first") << "a b c" << QStringList{"a", "b", "c"} << QStringList{"x", "y"} << "x y x";
    QTest::newRow("no replacements delete") << "a b" << QStringList{"a", "b"} << QStringList{} << " ";
    QTest::newRow("empty pattern replaces nothing") << "abc" << QStringList{""} << QStringList{"x"} << "abc";
    QTest::newRow("no patterns") << "abc" << QStringList{} << QStringList{"x"} << "abc";
    // clang-format on
}

void TestAutoReplies::replace()
{
    QFETCH(QString, text);
    QFETCH(QStringList, patterns);
    QFETCH(QStringList, replacements);
    QTEST(AutoReplies::Replace(text, patterns, replacements), "result");
}

void TestAutoReplies::phraseReply_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("random"); // the account every draw gives
    QTest::addColumn<QString>("reply");  // "-": none
    QTest::addColumn<int>("draws");      // how often the random account was drawn

    // clang-format off
    QTest::newRow("user replaced") << QStringList{"nRF=1", "F1=oi", "RF11=Olá <user>!"} << "oi" << "ana" << "Olá Bob!" << 1;
    QTest::newRow("random drawn once for all") << QStringList{"nRF=1", "F1=oi", "RF11=<random> e <random>"} << "oi" << "ana" << "ana e ana" << 1;
    QTest::newRow("random drawn though unused") << QStringList{"nRF=1", "F1=oi", "RF11=ola"} << "oi" << "ana" << "ola" << 1;
    QTest::newRow("user text is not a placeholder") << QStringList{"nRF=1", "F1=oi", "RF11=<user>"} << "oi" << "ana" << "Bob" << 1;
    QTest::newRow("placeholder names are case-sensitive") << QStringList{"nRF=1", "F1=oi", "RF11=<User> <RANDOM>"} << "oi" << "ana" << "<User> <RANDOM>" << 1;
    QTest::newRow("count 0 gives reply 1") << QStringList{"nRF=1", "F1=oi", "nRF1=0", "RF10=errado", "RF11=certo"} << "oi" << "ana" << "certo" << 1;
    QTest::newRow("negative count gives reply 1") << QStringList{"nRF=1", "F1=oi", "nRF1=-4", "RF11=certo"} << "oi" << "ana" << "certo" << 1;
    QTest::newRow("missing reply is empty: nothing") << QStringList{"nRF=1", "F1=oi"} << "oi" << "ana" << "-" << 1;
    QTest::newRow("empty after replacement: nothing") << QStringList{"nRF=1", "F1=oi", "RF11=<random>"} << "oi" << "" << "-" << 1;
    QTest::newRow("no match draws nothing") << QStringList{"nRF=1", "F1=oi", "RF11=x"} << "tchau" << "ana" << "-" << 0;
    QTest::newRow("emote reply as stored") << QStringList{"nRF=1", "F1=oi", "RF11=/me acena para <user>"} << "oi" << "ana" << "/me acena para Bob" << 1;
    // clang-format on
}

void TestAutoReplies::phraseReply()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    QFETCH(QString, random);
    QFETCH(QString, reply);
    Fixture f(keys);
    int draws = 0;
    const std::optional<QString> got = f.replies->phraseReply(QStringLiteral("Bob"), text, [&] {
        ++draws;
        return random;
    });
    QCOMPARE(got.value_or(QStringLiteral("-")), reply);
    QTEST(draws, "draws");
}

// The reply number is drawn first, then the random account, from the one shared generator.
void TestAutoReplies::drawsFollowTheSharedGenerator()
{
    Fixture f({QStringLiteral("nRF=1"), QStringLiteral("F1=oi"), QStringLiteral("nRF1=3"),
               QStringLiteral("RF11=1 <random>"), QStringLiteral("RF12=2 <random>"),
               QStringLiteral("RF13=3 <random>")});
    const QStringList users = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                               QStringLiteral("d"), QStringLiteral("e")};
    auto randomUser = [&] { return users[SharedRandom::below(int(users.size()))]; };
    SharedRandom::reset();
    QStringList got;
    for (int i = 0; i < 20; ++i)
        got << f.replies->phraseReply(QStringLiteral("Bob"), QStringLiteral("oi"), randomUser)
                   .value_or(QString());
    SharedRandom::reset();
    QStringList expected;
    for (int i = 0; i < 20; ++i) {
        const int k = SharedRandom::below(3) + 1;
        expected << QString::number(k) + QLatin1Char(' ') + users[SharedRandom::below(5)];
    }
    QCOMPARE(got, expected);
    // The replies vary, so the comparison shows the order of the draws.
    QVERIFY(QSet<QString>(got.begin(), got.end()).size() > 3);
}

void TestAutoReplies::whisperReply_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reply"); // "-": none

    // clang-format off
    QTest::newRow("placeholders go out as stored") << QStringList{"nRW=1", "W1=oi", "RW11=Oi <user> <random>"} << "OI" << "Oi <user> <random>";
    QTest::newRow("count 0 gives reply 1") << QStringList{"nRW=1", "W1=oi", "nRW1=0", "RW10=errado", "RW11=certo"} << "oi" << "certo";
    QTest::newRow("phrase list not used") << QStringList{"nRF=1", "F1=oi", "RF11=x"} << "oi" << "-";
    QTest::newRow("empty reply: nothing") << QStringList{"nRW=1", "W1=oi", "RW11="} << "oi" << "-";
    // clang-format on
}

void TestAutoReplies::whisperReply()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, text);
    Fixture f(keys);
    QTEST(f.replies->whisperReply(text).value_or(QStringLiteral("-")), "reply");
}

void TestAutoReplies::versionAnswer_data()
{
    QTest::addColumn<QString>("speaker");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opMode");
    QTest::addColumn<QString>("line"); // "-": none

    // clang-format off
    QTest::newRow("listed account in small letters") << "adm-ravok" << "\\ac" << false << "/w adm-ravok >> ___ >> usando TulmoChat v1.5!";
    QTest::newRow("operator mode") << "SPY" << "\\ac" << true << "/w SPY >> ___ >> usando TulmoChat v1.5! - OPMODE ON";
    QTest::newRow("each listed account") << "Adm-Bimo" << "\\ac" << false << "/w Adm-Bimo >> ___ >> usando TulmoChat v1.5!";
    QTest::newRow("query in capitals") << "ADM-RAVOK" << "\\AC" << false << "-";
    QTest::newRow("query with a trailing blank") << "ADM-RAVOK" << "\\ac " << false << "-";
    QTest::newRow("query with a leading blank") << "ADM-RAVOK" << " \\ac" << false << "-";
    QTest::newRow("query inside a line") << "ADM-RAVOK" << "x \\ac" << false << "-";
    QTest::newRow("unlisted account") << "bob" << "\\ac" << false << "-";
    QTest::newRow("listed name with more") << "ADM-RAVOKS" << "\\ac" << false << "-";
    QTest::newRow("name that folds to a listed one outside ASCII") << QString::fromUtf8("\xC5\xBFpy") << "\\ac" << false << "-";
    // clang-format on
}

void TestAutoReplies::versionAnswer()
{
    QFETCH(QString, speaker);
    QFETCH(QString, text);
    QFETCH(bool, opMode);
    QTEST(AutoReplies::versionAnswer(speaker, text, opMode).value_or(QStringLiteral("-")), "line");
}

void TestAutoReplies::hidesOnlyTheExactEcho_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hidden");

    // clang-format off
    QTest::newRow("answer") << ">> ___ >> usando TulmoChat v1.5!" << true;
    QTest::newRow("operator answer") << ">> ___ >> usando TulmoChat v1.5! - OPMODE ON" << true;
    QTest::newRow("with the leading blank") << " >> ___ >> usando TulmoChat v1.5!" << false;
    QTest::newRow("text before") << "x >> ___ >> usando TulmoChat v1.5!" << false;
    QTest::newRow("text after") << ">> ___ >> usando TulmoChat v1.5!x" << false;
    QTest::newRow("other case") << ">> ___ >> USANDO TulmoChat v1.5!" << false;
    // clang-format on
}

void TestAutoReplies::hidesOnlyTheExactEcho()
{
    QFETCH(QString, text);
    QTEST(AutoReplies::hidesEcho(text), "hidden");
}

QTEST_GUILESS_MAIN(TestAutoReplies)
#include "tst_autoreplies.moc"
