#include "chat/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestSpellChecker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void words_data();
    void words();
    void suggestions();
    void latin1Dictionary();
    void missingFiles();
    void folderNamedOutsideCodePage();

private:
    std::unique_ptr<SpellChecker> m_ptBR;
};

namespace {

const QString SystemFolder = QStringLiteral("/usr/share/hunspell");

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

void TestSpellChecker::initTestCase()
{
    m_ptBR = SpellChecker::find({SystemFolder}, QStringLiteral("pt_BR"));
}

void TestSpellChecker::words_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("correct");
    // clang-format off
    QTest::newRow("ação") << "ação" << true;
    QTest::newRow("você") << "você" << true;
    QTest::newRow("não") << "não" << true;
    QTest::newRow("coração") << "coração" << true;
    QTest::newRow("Você at a sentence start") << "Você" << true;
    QTest::newRow("NÃO in capitals") << "NÃO" << true;
    QTest::newRow("guarda-chuva") << "guarda-chuva" << true;
    QTest::newRow("decomposed não") << QString::fromUtf8("na\xCC\x83o").normalized(QString::NormalizationForm_C) << true;
    QTest::newRow("voçe") << "voçe" << false;
    QTest::newRow("acao without accents") << "acao" << false;
    QTest::newRow("nao without tilde") << "nao" << false;
    QTest::newRow("coracão") << "coracão" << false;
    QTest::newRow("qwzx") << "qwzx" << false;
    QTest::newRow("cyrillic") << "привет" << false;
    // clang-format on
}

void TestSpellChecker::words()
{
    if (!m_ptBR)
        QSKIP("the pt_BR dictionary is not installed");
    QFETCH(QString, word);
    QFETCH(bool, correct);
    QCOMPARE(m_ptBR->encoding(), QStringLiteral("UTF-8"));
    QCOMPARE(m_ptBR->isCorrect(word), correct);
    // The remembered answer is the same.
    QCOMPARE(m_ptBR->isCorrect(word), correct);
}

void TestSpellChecker::suggestions()
{
    if (!m_ptBR)
        QSKIP("the pt_BR dictionary is not installed");
    const QStringList forVoce = m_ptBR->suggestions(QStringLiteral("voçe"));
    QVERIFY2(forVoce.contains(QStringLiteral("você")), qPrintable(forVoce.join(QLatin1Char(','))));
    QVERIFY(forVoce.size() <= SpellChecker::MaxSuggestions);
    QVERIFY(m_ptBR->suggestions(QStringLiteral("acao")).contains(QStringLiteral("ação")));
}

// A dictionary in ISO8859-1 gets its words in that set, and its suggestions come back right; a
// word with a character outside the set is not in it.
void TestSpellChecker::latin1Dictionary()
{
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral("xx.aff")), "SET ISO8859-1\nTRY a\xe7\xe3o\n");
    write(dir.filePath(QStringLiteral("xx.dic")), "2\na\xe7\xe3o\ncora\xe7\xe3o\n");
    const auto checker = SpellChecker::find({dir.path()}, QStringLiteral("xx"));
    QVERIFY(checker);
    QCOMPARE(checker->encoding(), QStringLiteral("ISO8859-1"));
    QVERIFY(checker->isCorrect(QStringLiteral("ação")));
    QVERIFY(checker->isCorrect(QStringLiteral("coração")));
    QVERIFY(!checker->isCorrect(QStringLiteral("acao")));
    QVERIFY(!checker->isCorrect(QStringLiteral("açãoŁ")));
    QVERIFY(checker->suggestions(QStringLiteral("açao")).contains(QStringLiteral("ação")));
    QVERIFY(checker->suggestions(QStringLiteral("açãoŁ")).isEmpty());
}

// Without its two files there is no dictionary, the next folder is tried, and nothing is
// printed.
void TestSpellChecker::missingFiles()
{
    QTemporaryDir dir;
    QVERIFY(!SpellChecker::find({dir.path()}, QStringLiteral("pt_BR")));
    write(dir.filePath(QStringLiteral("pt_BR.aff")), "SET UTF-8\n");
    QVERIFY(!SpellChecker::find({dir.path()}, QStringLiteral("pt_BR")));
    QVERIFY(!SpellChecker::open(dir.filePath(QStringLiteral("pt_BR.aff")),
                                dir.filePath(QStringLiteral("pt_BR.dic"))));
    QTemporaryDir other;
    write(other.filePath(QStringLiteral("xx.aff")), "SET UTF-8\n");
    write(other.filePath(QStringLiteral("xx.dic")), "1\nolá\n");
    const auto found = SpellChecker::find({dir.path(), other.path()}, QStringLiteral("xx"));
    QVERIFY(found);
    QVERIFY(found->isCorrect(QStringLiteral("olá")));
}

// A dictionary in a folder whose name the Windows code page cannot hold (Cyrillic on a Western
// system) is found all the same.
void TestSpellChecker::folderNamedOutsideCodePage()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Дмитрий ação"));
    QVERIFY(QDir().mkpath(folder));
    write(folder + QStringLiteral("/xx.aff"), "SET UTF-8\n");
    write(folder + QStringLiteral("/xx.dic"), "1\nolá\n");
    const auto found = SpellChecker::find({folder}, QStringLiteral("xx"));
    QVERIFY(found);
    QVERIFY(found->isCorrect(QStringLiteral("olá")));
    QVERIFY(!found->isCorrect(QStringLiteral("ola")));
}

QTEST_APPLESS_MAIN(TestSpellChecker)
#include "tst_spellchecker.moc"
