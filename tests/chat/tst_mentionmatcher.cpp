#include "chat/MentionMatcher.h"

#include <QTest>

class TestMentionMatcher : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void accountName_data();
    void accountName();
    void highlightWords_data();
    void highlightWords();
    void splitWords_data();
    void splitWords();
    void ownLinesAndNoName();
    void nameCaseIsAsciiOnly();
};

// The account is "rafa" throughout; speaker is another account.
void TestMentionMatcher::accountName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mentioned");
    // clang-format off
    QTest::newRow("alone") << "rafa" << true;
    QTest::newRow("at the start") << "rafa, vem jogar" << true;
    QTest::newRow("at the end") << "vem jogar rafa" << true;
    QTest::newRow("in the middle") << "oi rafa tudo bem" << true;
    QTest::newRow("other letter case") << "oi RaFa" << true;
    QTest::newRow("second occurrence whole") << "rafael e rafa" << true;
    QTest::newRow("inside a longer word") << "o rafael chegou" << false;
    QTest::newRow("end of a longer word") << "girafa" << false;
    QTest::newRow("followed by a digit") << "rafa2 entrou" << false;
    QTest::newRow("after an underscore") << "x_rafa" << false;
    QTest::newRow("before a hyphen") << "rafa-bot" << false;
    QTest::newRow("in brackets") << "[rafa]" << false;
    QTest::newRow("a longer name with a dot") << "rafa.bot" << false;
    QTest::newRow("after a dot") << "oi.rafa" << false;
    QTest::newRow("ending a sentence") << "tchau rafa." << true;
    QTest::newRow("ending a sentence, dots") << "rafa... oi" << true;
    QTest::newRow("dots then a bracket") << "(rafa.)" << true;
    QTest::newRow("comma") << "rafa, oi" << true;
    QTest::newRow("question mark") << "cadê o rafa?" << true;
    QTest::newRow("parentheses") << "(rafa)" << true;
    QTest::newRow("quotes") << "\"rafa\"" << true;
    QTest::newRow("at sign") << "@rafa" << true;
    QTest::newRow("colon") << "rafa: oi" << true;
    QTest::newRow("slash") << "ana/rafa" << true;
    QTest::newRow("accented letter after") << "rafaé" << false;
    QTest::newRow("accented letter before") << "árafa" << false;
    QTest::newRow("cedilla after") << "rafaç" << false;
    QTest::newRow("combining accent after") << QString("rafa") + QChar(0x0301) << false;
    QTest::newRow("no-break space") << QString("oi") + QChar(0x00A0) + "rafa" << true;
    QTest::newRow("not there") << "boa noite" << false;
    QTest::newRow("empty text") << "" << false;
    // clang-format on
}

void TestMentionMatcher::accountName()
{
    QFETCH(QString, text);
    MentionMatcher matcher;
    matcher.setAccount(QStringLiteral("rafa"));
    QTEST(matcher.mentions(QStringLiteral("carol"), text), "mentioned");
}

void TestMentionMatcher::highlightWords_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mentioned");
    // clang-format off
    QTest::newRow("one word") << "torneio" << "quem vai no torneio?" << true;
    QTest::newRow("second of the list") << "torneio, clã" << "entra no clã" << true;
    QTest::newRow("blanks around commas") << "  torneio ,  clã  " << "o CLÃ venceu" << true;
    QTest::newRow("accented capitals") << "ação" << "AÇÃO agora" << true;
    QTest::newRow("inside a longer word") << "clã" << "clãs" << false;
    QTest::newRow("a phrase") << "boa noite" << "boa noite, gente" << true;
    QTest::newRow("a phrase cut") << "boa noite" << "boa noites" << false;
    QTest::newRow("empty list") << "" << "qualquer coisa" << false;
    QTest::newRow("only commas") << " , ," << "a, b" << false;
    QTest::newRow("none there") << "torneio" << "nada" << false;
    // clang-format on
}

// The account is unknown here: the words alone.
void TestMentionMatcher::highlightWords()
{
    QFETCH(QString, words);
    QFETCH(QString, text);
    MentionMatcher matcher;
    matcher.setHighlightWords(words);
    QTEST(matcher.mentions(QStringLiteral("carol"), text), "mentioned");
}

void TestMentionMatcher::splitWords_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("words");
    // clang-format off
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("blanks only") << "   " << QStringList{};
    QTest::newRow("trimmed, empties skipped") << " a ,, b c ,  d," << QStringList{"a", "b c", "d"};
    // clang-format on
}

void TestMentionMatcher::splitWords()
{
    QFETCH(QString, list);
    QTEST(MentionMatcher::splitWords(list), "words");
}

// Our own lines are never mentions, whatever they hold; without a confirmed name only the
// highlight words count.
void TestMentionMatcher::ownLinesAndNoName()
{
    MentionMatcher matcher;
    matcher.setHighlightWords(QStringLiteral("torneio"));
    matcher.setAccount(QStringLiteral("Rafa"));
    QVERIFY(!matcher.mentions(QStringLiteral("RAFA"), QStringLiteral("rafa e o torneio")));
    QVERIFY(matcher.mentions(QStringLiteral("carol"), QStringLiteral("rafa")));
    matcher.setAccount(QString());
    QVERIFY(!matcher.mentions(QStringLiteral("carol"), QStringLiteral("rafa")));
    QVERIFY(!matcher.mentions(QStringLiteral("carol"), QString()));
    QVERIFY(matcher.mentions(QStringLiteral("carol"), QStringLiteral("o torneio")));
}

// The Kelvin sign folds to "k" in any letter case rule but ASCII's: it names no account.
void TestMentionMatcher::nameCaseIsAsciiOnly()
{
    MentionMatcher matcher;
    matcher.setAccount(QStringLiteral("kiko"));
    QVERIFY(!matcher.mentions(QStringLiteral("carol"), QChar(0x212A) + QStringLiteral("iko")));
    QVERIFY(matcher.mentions(QStringLiteral("carol"), QStringLiteral("KIKO")));
}

QTEST_GUILESS_MAIN(TestMentionMatcher)
#include "tst_mentionmatcher.moc"
