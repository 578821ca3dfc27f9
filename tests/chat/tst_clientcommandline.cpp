#include "chat/ClientCommandLine.h"

#include <QTest>

using Command = ClientCommandLine::Command;
Q_DECLARE_METATYPE(ClientCommandLine::Command)

class TestClientCommandLine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void separaTokens_data();
    void separaTokens();
    void parse_data();
    void parse();
    void isBlank_data();
    void isBlank();
};

void TestClientCommandLine::separaTokens_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");

    // clang-format off
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("blanks only") << "   " << QStringList();
    QTest::newRow("one word") << "/lock" << QStringList{"/lock"};
    QTest::newRow("runs of blanks") << "/lock  ana   bia" << QStringList{"/lock", "ana", "bia"};
    QTest::newRow("leading blanks skipped") << "  /lock ana" << QStringList{"/lock", "ana"};
    QTest::newRow("tabs and controls separate") << "a\tb\x01" "c\x1f" "d" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("nul separates") << QString::fromLatin1("a\0b", 3) << QStringList{"a", "b"};
    QTest::newRow("quoted word keeps blanks") << "/lock \"ana maria\" bia" << QStringList{"/lock", "ana maria", "bia"};
    QTest::newRow("doubled quote is one quote") << "\"a\"\"b\"" << QStringList{"a\"b"};
    QTest::newRow("quote pair alone") << "\"\"\"\"" << QStringList{"\""};
    QTest::newRow("empty quoted word") << "a \"\" b" << QStringList{"a", "", "b"};
    QTest::newRow("unclosed quote runs to the end") << "a \"b c" << QStringList{"a", "b c"};
    QTest::newRow("unclosed after doubled quote") << "\"\"\"" << QStringList{"\""};
    QTest::newRow("text after closing quote is a new word") << "\"ab\"cd" << QStringList{"ab", "cd"};
    QTest::newRow("quote inside a word is kept") << "ab\"cd ef" << QStringList{"ab\"cd", "ef"};
    QTest::newRow("accented letters") << "ação \"é ó\"" << QStringList{"ação", "é ó"};
    QTest::newRow("no-break space is no separator") << "a\u00a0b" << QStringList{"a\u00a0b"};
    // clang-format on
}

void TestClientCommandLine::separaTokens()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(ClientCommandLine::separaTokens(line), words);
}

void TestClientCommandLine::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Command>("command");
    QTest::addColumn<QStringList>("words");

    // clang-format off
    QTest::newRow("lock") << "/lock ana bia" << Command::Lock << QStringList{"/lock", "ana", "bia"};
    QTest::newRow("mixed case") << "/LoCk a" << Command::Lock << QStringList{"/LoCk", "a"};
    QTest::newRow("ascroll") << "/ASCROLL x" << Command::AScroll << QStringList{"/ASCROLL", "x"};
    QTest::newRow("acset") << "/acset stimers on" << Command::AcSet << QStringList{"/acset", "stimers", "on"};
    QTest::newRow("opmode") << "/opmode" << Command::OpMode << QStringList{"/opmode"};
    QTest::newRow("achelp") << "/achelp lock" << Command::AcHelp << QStringList{"/achelp", "lock"};
    QTest::newRow("leading blank") << " /acset" << Command::AcSet << QStringList{"/acset"};
    QTest::newRow("trailing blanks and controls trimmed") << "/lock ana \t\r\n" << Command::Lock << QStringList{"/lock", "ana"};
    QTest::newRow("trailing blanks inside an open quote go") << "/lock \"ana  " << Command::Lock << QStringList{"/lock", "ana"};
    QTest::newRow("quoted command word") << "\"/lock\" ana" << Command::Lock << QStringList{"/lock", "ana"};
    QTest::newRow("longer word is no command") << "/lockx ana" << Command::None << QStringList{"/lockx", "ana"};
    QTest::newRow("achelpx") << "/achelpx" << Command::None << QStringList{"/achelpx"};
    QTest::newRow("command not first") << "oi /lock ana" << Command::None << QStringList{"oi", "/lock", "ana"};
    QTest::newRow("no slash") << "lock ana" << Command::None << QStringList{"lock", "ana"};
    QTest::newRow("server command") << "/w bob oi" << Command::None << QStringList{"/w", "bob", "oi"};
    // A Unicode upper-casing would turn the dotless i into I.
    QTest::newRow("dotless i is not I") << "/\u0131cset x" << Command::None << QStringList{"/\u0131cset", "x"};
    QTest::newRow("blanks only") << " \t " << Command::None << QStringList();
    QTest::newRow("empty") << QString() << Command::None << QStringList();
    // clang-format on
}

void TestClientCommandLine::parse()
{
    QFETCH(QString, line);
    QFETCH(Command, command);
    QFETCH(QStringList, words);
    const ClientCommandLine parsed = ClientCommandLine::parse(line);
    QCOMPARE(parsed.command(), command);
    QCOMPARE(parsed.words(), words);
}

void TestClientCommandLine::isBlank_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("blank");
    // clang-format off
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blanks") << "   " << true;
    QTest::newRow("controls") << "\x01\t\x1f " << true;
    QTest::newRow("text") << "  a " << false;
    QTest::newRow("no-break space") << "\u00a0" << false;
    // clang-format on
}

void TestClientCommandLine::isBlank()
{
    QFETCH(QString, line);
    QFETCH(bool, blank);
    QCOMPARE(ClientCommandLine::isBlank(line), blank);
}

QTEST_GUILESS_MAIN(TestClientCommandLine)
#include "tst_clientcommandline.moc"
