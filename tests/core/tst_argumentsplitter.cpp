#include "core/ArgumentSplitter.h"

#include <QTest>

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class TestArgumentSplitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowsRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        // clang-format off
        QTest::newRow("words")                                << text("-w -ns")                         << QStringList{"-w", "-ns"};
        QTest::newRow("spaces and tabs around and between")   << text("  -w \t -ns \t")                 << QStringList{"-w", "-ns"};
        QTest::newRow("empty")                                << QString()                              << QStringList{};
        QTest::newRow("blanks only")                          << text(" \t ")                           << QStringList{};
        QTest::newRow("quoted blank")                         << text("-title \"Meu jogo\"")            << QStringList{"-title", "Meu jogo"};
        QTest::newRow("empty quoted argument kept")           << text("-title \"\"")                    << QStringList{"-title", ""};
        QTest::newRow("empty quoted argument in the middle")  << text("a \"\" b")                       << QStringList{"a", "", "b"};
        QTest::newRow("path keeps its backslashes")           << text("-path C:\\Jogos\\D2 \\\\srv\\x") << QStringList{"-path", "C:\\Jogos\\D2", "\\\\srv\\x"};
        QTest::newRow("quoted folder ending in two")          << text("\"C:\\Meus jogos\\\\\" -w")      << QStringList{"C:\\Meus jogos\\", "-w"};
        QTest::newRow("quoted folder ending in one: literal") << text("\"C:\\Meus jogos\\\" -w")        << QStringList{"C:\\Meus jogos\" -w"};
        QTest::newRow("one backslash, quote")                 << text("a\\\"b")                         << QStringList{"a\"b"};
        QTest::newRow("four backslashes, quote opens")        << text("a\\\\\\\\\"b c\"")               << QStringList{"a\\\\b c"};
        QTest::newRow("three backslashes, literal quote")     << text("a\\\\\\\"b c")                   << QStringList{"a\\\"b", "c"};
        QTest::newRow("doubled quote inside quotes")          << text("\"a\"\"b\" c")                   << QStringList{"a\"b", "c"};
        QTest::newRow("doubled quote keeps the part open")    << text("\"a\"\" b\"")                    << QStringList{"a\" b"};
        QTest::newRow("doubled quote outside: empty part")    << text("a\"\"b")                         << QStringList{"ab"};
        QTest::newRow("quotes inside a word join")            << text("a\"b c\"d")                      << QStringList{"ab cd"};
        QTest::newRow("open quote runs to the end")           << text("-t \"Meu jogo ")                 << QStringList{"-t", "Meu jogo "};
        QTest::newRow("single quotes are plain characters")   << text("'Meu jogo'")                     << QStringList{"'Meu", "jogo'"};
        QTest::newRow("nothing expanded")                     << text("%PATH% *.txt $x ~")              << QStringList{"%PATH%", "*.txt", "$x", "~"};
        QTest::newRow("accented letters")                     << text("-título \"Ação\"")               << QStringList{text("-título"), text("Ação")};
        // clang-format on
    }
    void windowsRules()
    {
        QFETCH(QString, text);
        QTEST(ArgumentSplitter::windows(text), "arguments");
    }

    void posixRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("arguments");
        // clang-format off
        QTest::newRow("words")                                  << text("-w -ns")                  << QStringList{"-w", "-ns"};
        QTest::newRow("spaces, tabs and newlines")              << text(" -w\t\t-ns\n-x ")         << QStringList{"-w", "-ns", "-x"};
        QTest::newRow("empty")                                  << QString()                       << QStringList{};
        QTest::newRow("blanks only")                            << text(" \t\n")                   << QStringList{};
        QTest::newRow("double quoted blank")                    << text("-title \"Meu jogo\"")     << QStringList{"-title", "Meu jogo"};
        QTest::newRow("single quoted blank")                    << text("-title 'Meu jogo'")       << QStringList{"-title", "Meu jogo"};
        QTest::newRow("empty double quoted argument kept")      << text("-title \"\"")             << QStringList{"-title", ""};
        QTest::newRow("empty single quoted argument kept")      << text("-title '' -w")            << QStringList{"-title", "", "-w"};
        QTest::newRow("single quotes keep everything")          << text("'a\\b\"c $d'")            << QStringList{"a\\b\"c $d"};
        QTest::newRow("double quotes: the escapable five")      << text("\"a\\\"b\\\\c\\$d\\`e\"") << QStringList{"a\"b\\c$d`e"};
        QTest::newRow("double quotes: other backslashes stay")  << text("\"a\\nb\\'c\\ d\"")       << QStringList{"a\\nb\\'c\\ d"};
        QTest::newRow("double quotes: backslash newline joins") << text("\"a\\\nb\"")              << QStringList{"ab"};
        QTest::newRow("single quote inside double quotes")      << text("\"it's\"")                << QStringList{"it's"};
        QTest::newRow("backslash escapes a blank")              << text("Meu\\ jogo -w")           << QStringList{"Meu jogo", "-w"};
        QTest::newRow("backslash escapes a quote")              << text("\\'a \\\"b")              << QStringList{"'a", "\"b"};
        QTest::newRow("backslash escapes a backslash")          << text("a\\\\b")                  << QStringList{"a\\b"};
        QTest::newRow("backslash before a letter drops")        << text("C:\\Jogos")               << QStringList{"C:Jogos"};
        QTest::newRow("trailing backslash stays")               << text("a \\")                    << QStringList{"a", "\\"};
        QTest::newRow("backslash newline joins the word")       << text("a\\\nb")                  << QStringList{"ab"};
        QTest::newRow("backslash newline alone: no argument")   << text("a \\\n b")                << QStringList{"a", "b"};
        QTest::newRow("quoted parts join into one word")        << text("a'b c'\"d e\"f")          << QStringList{"ab cd ef"};
        QTest::newRow("nothing expanded, no comment")           << text("$HOME ~ *.txt #x a;b")    << QStringList{"$HOME", "~", "*.txt", "#x", "a;b"};
        QTest::newRow("open single quote runs to the end")      << text("-t 'Meu jogo")            << QStringList{"-t", "Meu jogo"};
        QTest::newRow("open double quote runs to the end")      << text("-t \"Meu \\\"jogo")       << QStringList{"-t", "Meu \"jogo"};
        QTest::newRow("accented letters")                       << text("-título 'Ação'")          << QStringList{text("-título"), text("Ação")};
        // clang-format on
    }
    void posixRules()
    {
        QFETCH(QString, text);
        QTEST(ArgumentSplitter::posix(text), "arguments");
    }
};

QTEST_GUILESS_MAIN(TestArgumentSplitter)
#include "tst_argumentsplitter.moc"
