#include "chat/SpellWords.h"

#include <QStringList>
#include <QTest>

#include "core/AsciiCase.h"

class TestSpellWords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checkable_data();
    void checkable();
    void wordAt_data();
    void wordAt();
};

namespace {

// The channel of the table: these accounts, letter case ignored.
bool channelAccount(const QString& name)
{
    static const QStringList accounts{QStringLiteral("joao"), QStringLiteral("[BR]Maria"),
                                      QStringLiteral("xX_Pedro_Xx"), QStringLiteral("ze.ninguem")};
    for (const QString& account : accounts) {
        if (AsciiCase::toLower(account) == AsciiCase::toLower(name))
            return true;
    }
    return false;
}

QString wordsOf(const QString& line)
{
    QStringList words;
    for (const SpellWords::Range& range : SpellWords::checkable(line, channelAccount))
        words << line.mid(range.start, range.length);
    return words.join(QLatin1Char('|'));
}

} // namespace

// words: the words to check, in order, joined by "|".
void TestSpellWords::checkable_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("words");
    // clang-format off
    QTest::newRow("plain") << "oi tudo bem" << "oi|tudo|bem";
    QTest::newRow("punctuation") << "oi, tudo bem? (sim!)" << "oi|tudo|bem|sim";
    QTest::newRow("accents") << "ação você não voçe" << "ação|você|não|voçe";
    QTest::newRow("decomposed accent") << QString::fromUtf8("nao\xCC\x83 sei") << QString::fromUtf8("nao\xCC\x83|sei");
    QTest::newRow("hyphen and apostrophe inside") << "guarda-chuva d'água fazê-lo" << "guarda-chuva|d'água|fazê-lo";
    QTest::newRow("hyphen and apostrophe outside") << "-bem 'oi' mal- --" << "bem|oi|mal";
    QTest::newRow("digits and underscores") << "abc123 2x x_y 100 ok" << "ok";
    QTest::newRow("command") << "/away estou fora" << "estou|fora";
    QTest::newRow("me") << "/me dança" << "dança";
    QTest::newRow("whisper names its account") << "/w fulano tudo certo" << "tudo|certo";
    QTest::newRow("join names its channel") << "/join Canalzinho" << "";
    QTest::newRow("slash word inside") << "veja /help agora" << "veja|agora";
    QTest::newRow("slash later is no command") << "oi /w fulano" << "oi|fulano";
    QTest::newRow("http address") << "veja http://tulmo.example/pagina?x=erro agora" << "veja|agora";
    QTest::newRow("www address") << "veja www.exemplo.com.br/coisa" << "veja";
    QTest::newRow("bare host") << "entra em tulmo.example hoje" << "entra|em|hoje";
    QTest::newRow("mail address") << "escreve para fulano@exemplo.com" << "escreve|para";
    QTest::newRow("sentence end is no host") << "fim. Outra frase." << "fim|Outra|frase";
    QTest::newRow("account") << "joao vem aqui" << "vem|aqui";
    QTest::newRow("account, other case") << "JOAO: vem" << "vem";
    QTest::newRow("account with brackets") << "[br]maria, oi" << "oi";
    QTest::newRow("account with underscores") << "xX_Pedro_Xx." << "";
    QTest::newRow("account with dot") << "oi ze.ninguem" << "oi";
    QTest::newRow("completed account") << "joao: tudo" << "tudo";
    QTest::newRow("not an account") << "joaozinho vem" << "joaozinho|vem";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks only") << " \t  " << "";
    // clang-format on
}

void TestSpellWords::checkable()
{
    QFETCH(QString, line);
    QFETCH(QString, words);
    QCOMPARE(wordsOf(line), words);
}

// at: the caret position; word: the word there, or empty.
void TestSpellWords::wordAt_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("at");
    QTest::addColumn<QString>("word");
    // clang-format off
    QTest::newRow("before the word") << "oi voçe aqui" << 3 << "voçe";
    QTest::newRow("inside the word") << "oi voçe aqui" << 5 << "voçe";
    QTest::newRow("after the word") << "oi voçe aqui" << 7 << "voçe";
    QTest::newRow("on an address") << "oi www.x.com" << 6 << "";
    QTest::newRow("on an account") << "oi joao" << 5 << "";
    QTest::newRow("past the end") << "oi" << 9 << "";
    // clang-format on
}

void TestSpellWords::wordAt()
{
    QFETCH(QString, line);
    QFETCH(int, at);
    QFETCH(QString, word);
    const SpellWords::Range range = SpellWords::wordAt(line, at, channelAccount);
    QCOMPARE(line.mid(range.start, range.length), word);
}

QTEST_APPLESS_MAIN(TestSpellWords)
#include "tst_spellwords.moc"
