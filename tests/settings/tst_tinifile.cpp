#include "settings/TIniFile.h"

#include <functional>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "Unprivileged.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

enum class Op
{
    Write,
    WriteInt,
    WriteBool,
    Delete
};

// How a file changes behind the object's back.
enum class Edit
{
    InPlaceOlderTime,
    InPlaceMomentLater,
    Replaced
};

} // namespace

Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(Edit)

class TestTIniFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;

    QString iniPath() const { return m_dir->filePath(QStringLiteral("confs.ini")); }

    void put(const QByteArray& bytes, const QString& path = QString()) const
    {
        QFile file(path.isEmpty() ? iniPath() : path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray contents() const
    {
        QFile file(iniPath());
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray();
        return file.readAll();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void readsText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString def = QStringLiteral("<default>");
        // clang-format off
        QTest::newRow("plain") << QByteArray("[Geral]\r\nLogin=joao\r\n") << "Geral" << "Login" << "joao";
        QTest::newRow("blanks around name and value") << QByteArray("[ Geral ]\r\n \tLogin =  joao da silva \t\r\n") << "Geral" << "Login" << "joao da silva";
        QTest::newRow("double quotes") << QByteArray("[G]\r\nK=\" a b \"\r\n") << "G" << "K" << " a b ";
        QTest::newRow("single quotes") << QByteArray("[G]\r\nK='x'\r\n") << "G" << "K" << "x";
        QTest::newRow("quotes outside blanks") << QByteArray("[G]\r\nK=  \"x\"  \r\n") << "G" << "K" << "x";
        QTest::newRow("quotes that do not match") << QByteArray("[G]\r\nK=\"x'\r\n") << "G" << "K" << "\"x'";
        QTest::newRow("one quote only") << QByteArray("[G]\r\nK=\"\r\n") << "G" << "K" << "\"";
        QTest::newRow("only one pair removed") << QByteArray("[G]\r\nK=\"\"x\"\"\r\n") << "G" << "K" << "\"x\"";
        QTest::newRow("quotes inside") << QByteArray("[G]\r\nK=a \"b\"\r\n") << "G" << "K" << "a \"b\"";
        QTest::newRow("empty value is not the default") << QByteArray("[G]\r\nK=\r\n") << "G" << "K" << "";
        QTest::newRow("empty quotes") << QByteArray("[G]\r\nK=''\r\n") << "G" << "K" << "";
        QTest::newRow("missing key") << QByteArray("[G]\r\nK=1\r\n") << "G" << "L" << def;
        QTest::newRow("missing section") << QByteArray("[G]\r\nK=1\r\n") << "H" << "K" << def;
        QTest::newRow("key in another section") << QByteArray("[G]\r\n[H]\r\nK=1\r\n") << "G" << "K" << def;
        QTest::newRow("names ignore ASCII case") << QByteArray("[gErAl]\r\nLOGIN=x\r\n") << "GERAL" << "login" << "x";
        QTest::newRow("value after the first =") << QByteArray("[G]\r\nK=a=b\r\n") << "G" << "K" << "a=b";
        QTest::newRow("LF line ends") << QByteArray("[G]\nA=1\nK=2\n") << "G" << "K" << "2";
        QTest::newRow("lone CR line ends") << QByteArray("[G]\rA=1\rK=2\r") << "G" << "K" << "2";
        QTest::newRow("no line end at the end") << QByteArray("[G]\r\nK=2") << "G" << "K" << "2";
        QTest::newRow("comment is not a key") << QByteArray("[G]\r\n;K=1\r\n") << "G" << "K" << def;
        QTest::newRow("line without = is skipped") << QByteArray("[G]\r\njust words\r\n\r\nK=1\r\n") << "G" << "K" << "1";
        QTest::newRow("key before any section") << QByteArray("K=1\r\n[G]\r\n") << "G" << "K" << def;
        QTest::newRow("first duplicate key wins") << QByteArray("[G]\r\nK=1\r\nk=2\r\n") << "G" << "K" << "1";
        QTest::newRow("duplicate section is searched too") << QByteArray("[G]\r\nA=1\r\n[H]\r\nK=0\r\n[g]\r\nK=2\r\n") << "G" << "K" << "2";
        QTest::newRow("first section's key wins over a later copy") << QByteArray("[G]\r\nK=1\r\n[G]\r\nK=2\r\n") << "G" << "K" << "1";
        QTest::newRow("Windows-1252 bytes") << QByteArray("[G]\r\nK=a\xe7\xe3o \x80 5\r\n") << "G" << "K" << QStringLiteral("ação € 5");
        QTest::newRow("section name with accents") << QByteArray("[Op\xe7\xf5" "es]\r\nK=1\r\n") << QStringLiteral("Opções") << "K" << "1";
        QTest::newRow("accents do not fold") << QByteArray("[G]\r\n\xc7=1\r\n") << "G" << QStringLiteral("ç") << def;
        QTest::newRow("UTF-8 mark before the first section") << QByteArray("\xEF\xBB\xBF[G]\r\nK=1\r\n") << "G" << "K" << "1";

        const QByteArray longValue(3000, 'v');
        QTest::newRow("cut at 2047") << QByteArray("[G]\r\nK=" + longValue + "\r\n") << "G" << "K" << QString(2047, QLatin1Char('v'));
        QTest::newRow("2047 kept whole") << QByteArray("[G]\r\nK=" + longValue.left(2047) + "\r\n") << "G" << "K" << QString(2047, QLatin1Char('v'));
        QTest::newRow("quotes removed before the cut") << QByteArray("[G]\r\nK=\"" + longValue + "\"\r\n") << "G" << "K" << QString(2047, QLatin1Char('v'));
        // clang-format on
    }
    void readsText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        put(file);
        const TIniFile ini(iniPath());
        QCOMPARE(ini.ReadString(section, key, QStringLiteral("<default>")), expected);
        QCOMPARE(ini.ValueExists(section, key), expected != QStringLiteral("<default>"));
    }

    void missingFileReadsDefaults()
    {
        const TIniFile ini(iniPath());
        QCOMPARE(ini.ReadString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 7), 7);
        QCOMPARE(ini.ReadBool(QStringLiteral("G"), QStringLiteral("K"), true), true);
        QVERIFY(!ini.ValueExists(QStringLiteral("G"), QStringLiteral("K")));
        QVERIFY(!QFile::exists(iniPath()));
    }

    void readsIntegers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");

        const int def = -77;
        // clang-format off
        QTest::newRow("decimal") << QByteArray("42") << 42;
        QTest::newRow("negative") << QByteArray("-42") << -42;
        QTest::newRow("plus sign") << QByteArray("+7") << 7;
        QTest::newRow("leading zeros") << QByteArray("0000000000000000012") << 12;
        QTest::newRow("blanks trimmed") << QByteArray("  12  ") << 12;
        QTest::newRow("quoted") << QByteArray("'12'") << 12;
        QTest::newRow("0x") << QByteArray("0xFF") << 255;
        QTest::newRow("0X") << QByteArray("0Xff") << 255;
        QTest::newRow("$") << QByteArray("$FF") << 255;
        QTest::newRow("x") << QByteArray("xff") << 255;
        QTest::newRow("X") << QByteArray("X1f") << 31;
        QTest::newRow("signed hex") << QByteArray("-$10") << -16;
        QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
        QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
        QTest::newRow("hex is a 32-bit pattern") << QByteArray("$FFFFFFFF") << -1;
        QTest::newRow("above 32 bits") << QByteArray("2147483648") << def;
        QTest::newRow("below 32 bits") << QByteArray("-2147483649") << def;
        QTest::newRow("hex above 32 bits") << QByteArray("0x100000000") << def;
        QTest::newRow("huge") << QByteArray("99999999999999999999999") << def;
        QTest::newRow("word") << QByteArray("red") << def;
        QTest::newRow("empty") << QByteArray("") << def;
        QTest::newRow("trailing letters") << QByteArray("12abc") << def;
        QTest::newRow("inner blank") << QByteArray("1 2") << def;
        QTest::newRow("fraction") << QByteArray("1.5") << def;
        QTest::newRow("sign only") << QByteArray("-") << def;
        QTest::newRow("prefix only") << QByteArray("$") << def;
        QTest::newRow("0x only") << QByteArray("0x") << def;
        QTest::newRow("hex digits without prefix") << QByteArray("ff") << def;
        QTest::newRow("two signs") << QByteArray("--1") << def;
        // clang-format on
    }
    void readsIntegers()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        put("[Aparencia]\r\nCorHora=" + value + "\r\n");
        const TIniFile ini(iniPath());
        QCOMPARE(ini.ReadInteger(QStringLiteral("Aparencia"), QStringLiteral("CorHora"), -77),
                 expected);
    }

    void readsBooleans_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("def");
        QTest::addColumn<bool>("expected");

        // clang-format off
        QTest::newRow("1") << QByteArray("1") << false << true;
        QTest::newRow("2 is true") << QByteArray("2") << false << true;
        QTest::newRow("negative is true") << QByteArray("-1") << false << true;
        QTest::newRow("hex one") << QByteArray("$1") << false << true;
        QTest::newRow("0") << QByteArray("0") << true << false;
        QTest::newRow("hex zero") << QByteArray("0x0") << true << false;
        QTest::newRow("yes gives the default true") << QByteArray("yes") << true << true;
        QTest::newRow("yes gives the default false") << QByteArray("yes") << false << false;
        QTest::newRow("true is no number") << QByteArray("true") << false << false;
        QTest::newRow("empty gives the default") << QByteArray("") << true << true;
        // clang-format on
    }
    void readsBooleans()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, def);
        QFETCH(bool, expected);
        put("[Geral]\r\nJoinPrinc=" + value + "\r\n");
        const TIniFile ini(iniPath());
        QCOMPARE(ini.ReadBool(QStringLiteral("Geral"), QStringLiteral("JoinPrinc"), def), expected);
    }

    void writes_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<Op>("op");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        // clang-format off
        QTest::newRow("first write creates the file") << false << QByteArray() << Op::Write << "Geral" << "Login" << "joao" << QByteArray("[Geral]\r\nLogin=joao\r\n");
        QTest::newRow("empty file") << true << QByteArray() << Op::Write << "G" << "K" << "v" << QByteArray("[G]\r\nK=v\r\n");
        QTest::newRow("replaced in place, other lines kept byte for byte") << true << QByteArray("; mine\n[Geral]\nA = 1 \nLogin = \"x\"\r\n\nB=2\n[F]\n") << Op::Write << "Geral" << "Login" << "y" << QByteArray("; mine\n[Geral]\nA = 1 \nLogin=y\r\n\nB=2\n[F]\n");
        QTest::newRow("replaced line keeps its LF") << true << QByteArray("[G]\nK=1\nL=2\n") << Op::Write << "G" << "K" << "3" << QByteArray("[G]\nK=3\nL=2\n");
        QTest::newRow("replace matches any case, writes our spelling") << true << QByteArray("[geral]\r\nlogin=x\r\n") << Op::Write << "Geral" << "Login" << "y" << QByteArray("[geral]\r\nLogin=y\r\n");
        QTest::newRow("new key after the section's last key, before its blank line") << true << QByteArray("[G]\r\nA=1\r\n\r\n[F]\r\nX=1\r\n") << Op::Write << "G" << "B" << "2" << QByteArray("[G]\r\nA=1\r\nB=2\r\n\r\n[F]\r\nX=1\r\n");
        QTest::newRow("new key before a comment that ends the section") << true << QByteArray("[G]\r\nA=1\r\n; forms\r\n[F]\r\n") << Op::Write << "G" << "B" << "2" << QByteArray("[G]\r\nA=1\r\nB=2\r\n; forms\r\n[F]\r\n");
        QTest::newRow("new key in a section without keys") << true << QByteArray("[G]\r\n[F]\r\nX=1\r\n") << Op::Write << "G" << "B" << "2" << QByteArray("[G]\r\nB=2\r\n[F]\r\nX=1\r\n");
        QTest::newRow("new key in the last section without a final line end") << true << QByteArray("[G]\r\nA=1") << Op::Write << "G" << "B" << "2" << QByteArray("[G]\r\nA=1\r\nB=2\r\n");
        QTest::newRow("new section at the end") << true << QByteArray("[G]\r\nA=1\r\n") << Op::Write << "Form" << "X" << "5" << QByteArray("[G]\r\nA=1\r\n[Form]\r\nX=5\r\n");
        QTest::newRow("new section after a last line without line end") << true << QByteArray("[G]\r\nA=1") << Op::Write << "Form" << "X" << "5" << QByteArray("[G]\r\nA=1\r\n[Form]\r\nX=5\r\n");
        QTest::newRow("key before any section is not the section's") << true << QByteArray("A=1\r\n[G]\r\n") << Op::Write << "G" << "A" << "2" << QByteArray("A=1\r\n[G]\r\nA=2\r\n");
        QTest::newRow("first of duplicate keys replaced") << true << QByteArray("[G]\r\nK=1\r\nK=2\r\n") << Op::Write << "G" << "K" << "9" << QByteArray("[G]\r\nK=9\r\nK=2\r\n");
        QTest::newRow("key in a repeated section replaced there") << true << QByteArray("[G]\r\nA=1\r\n[F]\r\n[G]\r\nB=1\r\n") << Op::Write << "G" << "B" << "2" << QByteArray("[G]\r\nA=1\r\n[F]\r\n[G]\r\nB=2\r\n");
        QTest::newRow("new key goes to the first of repeated sections") << true << QByteArray("[G]\r\nA=1\r\n[G]\r\nB=1\r\n") << Op::Write << "G" << "C" << "3" << QByteArray("[G]\r\nA=1\r\nC=3\r\n[G]\r\nB=1\r\n");
        QTest::newRow("Windows-1252 bytes") << false << QByteArray() << Op::Write << "G" << "K" << QStringLiteral("ação € ok") << QByteArray("[G]\r\nK=a\xe7\xe3o \x80 ok\r\n");
        QTest::newRow("character outside the code page") << false << QByteArray() << Op::Write << "G" << "K" << QStringLiteral("a\u4e2db") << QByteArray("[G]\r\nK=a?b\r\n");
        QTest::newRow("line breaks in a value become blanks") << false << QByteArray() << Op::Write << "Canais" << "c1" << "x\r\n[Geral]\r\nLogin=y\rz\nw" << QByteArray("[Canais]\r\nc1=x [Geral] Login=y z w\r\n");
        QTest::newRow("names are stored trimmed") << false << QByteArray() << Op::Write << " G " << "\tK " << "v" << QByteArray("[G]\r\nK=v\r\n");
        QTest::newRow("value stored as given, never quoted") << false << QByteArray() << Op::Write << "G" << "K" << " 'a' " << QByteArray("[G]\r\nK= 'a' \r\n");
        QTest::newRow("integer") << false << QByteArray() << Op::WriteInt << "G" << "K" << "-2147483648" << QByteArray("[G]\r\nK=-2147483648\r\n");
        QTest::newRow("true") << false << QByteArray() << Op::WriteBool << "G" << "K" << "1" << QByteArray("[G]\r\nK=1\r\n");
        QTest::newRow("false") << true << QByteArray("[G]\r\nK=yes\r\n") << Op::WriteBool << "G" << "K" << "0" << QByteArray("[G]\r\nK=0\r\n");
        QTest::newRow("delete removes the line") << true << QByteArray("[G]\r\nA=1\r\nK=2\nB=3") << Op::Delete << "g" << "k" << "" << QByteArray("[G]\r\nA=1\r\nB=3");
        QTest::newRow("delete removes every copy") << true << QByteArray("[G]\r\nK=1\r\nK=2\r\n[F]\r\nK=0\r\n[G]\r\nK=3\r\n") << Op::Delete << "G" << "K" << "" << QByteArray("[G]\r\n[F]\r\nK=0\r\n[G]\r\n");
        QTest::newRow("delete of a missing key changes nothing") << true << QByteArray("[G]\nA=1") << Op::Delete << "G" << "K" << "" << QByteArray("[G]\nA=1");
        QTest::newRow("delete in a missing file creates none") << false << QByteArray() << Op::Delete << "G" << "K" << "" << QByteArray();
        // clang-format on
    }
    void writes()
    {
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, before);
        QFETCH(Op, op);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        if (fileExists)
            put(before);
        TIniFile ini(iniPath());
        switch (op) {
        case Op::Write:
            ini.WriteString(section, key, value);
            break;
        case Op::WriteInt:
            ini.WriteInteger(section, key, value.toInt());
            break;
        case Op::WriteBool:
            ini.WriteBool(section, key, value == QStringLiteral("1"));
            break;
        case Op::Delete:
            ini.DeleteKey(section, key);
            break;
        }
        QCOMPARE(contents(), after);
        QCOMPARE(QFile::exists(iniPath()), fileExists || op != Op::Delete);

        // What the object reads now is what a fresh look at the file gives.
        QCOMPARE(ini.ValueExists(section, key), op != Op::Delete);
        if (op != Op::Delete) {
            const QString stored = ini.ReadString(section, key, QString());
            put(contents() + "; touched\r\n");
            QCOMPARE(ini.ReadString(section, key, QString()), stored);
        }
    }

    void writtenValuesReadBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readBack");

        // clang-format off
        QTest::newRow("text") << "Tulmo Diablo II BRA-1" << "Tulmo Diablo II BRA-1";
        QTest::newRow("empty stays empty, not the default") << "" << "";
        QTest::newRow("accents") << QStringLiteral("ação €") << QStringLiteral("ação €");
        QTest::newRow("blanks at the ends are lost") << "  x  " << "x";
        QTest::newRow("line break") << "a\nb" << "a b";
        // clang-format on
    }
    void writtenValuesReadBack()
    {
        QFETCH(QString, value);
        QFETCH(QString, readBack);
        TIniFile ini(iniPath());
        ini.WriteString(QStringLiteral("Aparencia"), QStringLiteral("ImgFundoChat"), value);
        QCOMPARE(ini.ReadString(QStringLiteral("Aparencia"), QStringLiteral("ImgFundoChat"),
                                QStringLiteral("bg.bmp")),
                 readBack);
    }

    void unsafeNamesAreNeverStored_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");

        // clang-format off
        QTest::newRow("] in section") << "Ge]ral" << "K";
        QTest::newRow("line break in section") << "G\r\n[H" << "K";
        QTest::newRow("empty section") << "  " << "K";
        QTest::newRow("= in key") << "G" << "a=b";
        QTest::newRow("key like a section") << "G" << "[H]";
        QTest::newRow("key like a comment") << "G" << ";K";
        QTest::newRow("line break in key") << "G" << "K\nL";
        QTest::newRow("empty key") << "G" << "";
        QTest::newRow("key outside the code page") << "G" << QStringLiteral("\u4e2d");
        // clang-format on
    }
    void unsafeNamesAreNeverStored()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        TIniFile ini(iniPath());
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError, ini.WriteString(section, key, "v"));
        ini.DeleteKey(section, key);
        QCOMPARE(contents(), before);
        QCOMPARE(ini.ReadString(section, key, QStringLiteral("d")), QStringLiteral("d"));
        QVERIFY(!ini.ValueExists(section, key));
    }

    void objectsOnOnePathShareWrites()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
        TIniFile a(iniPath());
        const TIniFile b(m_dir->path() + QStringLiteral("/sub/../confs.ini"));
        QCOMPARE(b.ReadString(QStringLiteral("Canais"), QStringLiteral("n"), QStringLiteral("d")),
                 QStringLiteral("d"));
        a.WriteInteger(QStringLiteral("Canais"), QStringLiteral("n"), 2);
        QCOMPARE(b.ReadInteger(QStringLiteral("Canais"), QStringLiteral("n"), 0), 2);
        a.DeleteKey(QStringLiteral("Canais"), QStringLiteral("n"));
        QVERIFY(!b.ValueExists(QStringLiteral("Canais"), QStringLiteral("n")));

        {
            TIniFile dialog(iniPath());
            dialog.WriteString(QStringLiteral("Canais"), QStringLiteral("c1"), QStringLiteral("x"));
        }
        QCOMPARE(b.ReadString(QStringLiteral("Canais"), QStringLiteral("c1"), QString()),
                 QStringLiteral("x"));
        QCOMPARE(b.path(), m_dir->path() + QStringLiteral("/sub/../confs.ini"));
    }

    void reopenedPathReadsTheDisk()
    {
        {
            TIniFile ini(iniPath());
            ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("1"));
        }
        put("[G]\r\nK=22\r\n");
        const TIniFile again(iniPath());
        QCOMPARE(again.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 22);
    }

    void outsideEditIsSeen_data()
    {
        QTest::addColumn<Edit>("edit");
        // clang-format off
        QTest::newRow("edited in place, time set back") << Edit::InPlaceOlderTime;
        QTest::newRow("edited in place a moment later, same size") << Edit::InPlaceMomentLater;
        QTest::newRow("replaced by another file") << Edit::Replaced;
        // clang-format on
    }
    void outsideEditIsSeen()
    {
        QFETCH(Edit, edit);
        TIniFile ini(iniPath());
        ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("1"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 1);
        const QDateTime modified = QFileInfo(iniPath()).lastModified();

        // Same size; only the file's identity or its times tell the versions apart.
        const QByteArray edited("[G]\r\nK=2\r\n");
        QCOMPARE(edited.size(), contents().size());
        switch (edit) {
        case Edit::Replaced: {
            const QString other = m_dir->filePath(QStringLiteral("other.ini"));
            put(edited, other);
            QVERIFY(QFile::remove(iniPath()));
            QVERIFY(QFile::rename(other, iniPath()));
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
            break;
        }
        case Edit::InPlaceOlderTime: {
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.write(edited), edited.size());
            file.flush();
            QVERIFY(file.setFileTime(modified.addSecs(-3600), QFileDevice::FileModificationTime));
            break;
        }
        case Edit::InPlaceMomentLater: {
            // Within the same second as the write before: only times compared finer than
            // seconds see this edit.
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.write(edited), edited.size());
            file.flush();
            QVERIFY(file.setFileTime(modified.addMSecs(30), QFileDevice::FileModificationTime));
            break;
        }
        }

        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 2);
    }

    void writeKeepsAnOutsideEdit()
    {
        TIniFile ini(iniPath());
        ini.WriteString(QStringLiteral("G"), QStringLiteral("A"), QStringLiteral("1"));
        put("[G]\r\nA=1\r\nB=2\r\n");
        ini.WriteString(QStringLiteral("G"), QStringLiteral("C"), QStringLiteral("3"));
        QCOMPARE(contents(), QByteArray("[G]\r\nA=1\r\nB=2\r\nC=3\r\n"));
    }

    void outsideDeletionIsSeen()
    {
        TIniFile ini(iniPath());
        ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("1"));
        QVERIFY(QFile::remove(iniPath()));
        QVERIFY(!ini.ValueExists(QStringLiteral("G"), QStringLiteral("K")));
    }

    void refusedWriteThrowsTheMessage()
    {
        put("not a folder", m_dir->filePath(QStringLiteral("file")));
        const QString path = m_dir->filePath(QStringLiteral("file/confs.ini"));
        TIniFile ini(path);
        try {
            ini.WriteString(QStringLiteral("Geral"), QStringLiteral("Login"), QStringLiteral("x"));
            QFAIL("the write was not refused");
        } catch (const SettingsWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Unable to write to ") + path);
            QCOMPARE(e.path(), path);
        }
        QVERIFY(!ini.ValueExists(QStringLiteral("Geral"), QStringLiteral("Login")));
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.WriteBool(QStringLiteral("G"), QStringLiteral("K"), true));
    }

    void refusedWriteKeepsEarlierWrites()
    {
        const QString folder = m_dir->filePath(QStringLiteral("exe"));
        const QString moved = m_dir->filePath(QStringLiteral("moved"));
        QVERIFY(QDir().mkdir(folder));
        TIniFile ini(folder + QStringLiteral("/confs.ini"));
        ini.WriteString(QStringLiteral("Lista"), QStringLiteral("nL"), QStringLiteral("1"));
        ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QStringLiteral("a"));

        // While a plain file stands where the folder was, the file cannot be written.
        QVERIFY(QDir().rename(folder, moved));
        put("blocker", folder);
        QVERIFY_THROWS_EXCEPTION(
            SettingsWriteError,
            ini.WriteString(QStringLiteral("Lista"), QStringLiteral("Mot1"), QStringLiteral("b")));
        QVERIFY(QFile::remove(folder));
        QVERIFY(QDir().rename(moved, folder));

        QCOMPARE(ini.ReadString(QStringLiteral("Lista"), QStringLiteral("Acc1"), QString()),
                 QStringLiteral("a"));
        QVERIFY(!ini.ValueExists(QStringLiteral("Lista"), QStringLiteral("Mot1")));
    }

    void refusedWriteLeavesTheCopyAsOnDisk()
    {
        // No temporary file fits beside a file whose name is this long, so writing it fails
        // while the file itself stays readable and unchanged.
        const QString path = m_dir->filePath(QString(250, QLatin1Char('c')));
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before, path);
        TIniFile ini(path);
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 1);
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2));
        QVERIFY_THROWS_EXCEPTION(
            SettingsWriteError,
            ini.WriteString(QStringLiteral("G"), QStringLiteral("L"), QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.DeleteKey(QStringLiteral("G"), QStringLiteral("K")));
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0), 1);
        QVERIFY(!ini.ValueExists(QStringLiteral("G"), QStringLiteral("L")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void refusedByPermissions_data()
    {
        QTest::addColumn<QFileDevice::Permissions>("folder");
        QTest::addColumn<QFileDevice::Permissions>("file");
        const QFileDevice::Permissions all = QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                             QFileDevice::ReadOther | QFileDevice::WriteOwner |
                                             QFileDevice::WriteGroup | QFileDevice::WriteOther;
        const QFileDevice::Permissions enter =
            QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        const QFileDevice::Permissions readOnly =
            QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        // Renaming over it would work here, so only a check of the file itself refuses.
        // clang-format off
        QTest::newRow("read-only file in a writable folder") << (all | enter) << readOnly;
        QTest::newRow("writable file in a read-only folder") << (readOnly | enter) << all;
        // clang-format on
    }
    void refusedByPermissions()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork and an unprivileged user");
#else
        QFETCH(QFileDevice::Permissions, folder);
        QFETCH(QFileDevice::Permissions, file);
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        QVERIFY(QFile::setPermissions(iniPath(), file));
        QVERIFY(QFile::setPermissions(m_dir->path(), folder));
        const QString path = iniPath();

        const int outcome = Unprivileged::run([&path] {
            TIniFile ini(path);
            try {
                ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("2"));
                return 1;
            } catch (const SettingsWriteError& e) {
                if (QString::fromUtf8(e.what()) != QStringLiteral("Unable to write to ") + path)
                    return 2;
            }
            return ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 0) == 1 ? 0 : 3;
        });
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner));
        if (outcome == Unprivileged::CannotDropPrivileges)
            QSKIP("this superuser may not take another user's identity");
        QCOMPARE(outcome, 0);
        QCOMPARE(contents(), before);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("confs.ini")});
#endif
    }

    void readOnlyFileIsRefusedAlsoForTheSuperuser()
    {
        // Judged by the file's mode, as Windows judges its read-only flag, not by who asks.
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(iniPath(), readOnly));
        TIniFile ini(iniPath());
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2));
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.DeleteKey(QStringLiteral("G"), QStringLiteral("K")));
        QCOMPARE(contents(), before);
#ifdef Q_OS_WIN
        // Windows keeps a read-only flag, not a mode.
        QVERIFY(!(QFile::permissions(iniPath()) & QFileDevice::WriteOwner));
#else
        QCOMPARE(QFile::permissions(iniPath()) & QFileDevice::Permissions::fromInt(0x7077),
                 readOnly);
#endif
    }

    void rewriteKeepsModeOwnerAndGroup()
    {
#ifndef Q_OS_UNIX
        QSKIP("owners are a Unix matter");
#else
        put("[G]\r\nK=1\r\n");
        const QByteArray path = QFile::encodeName(iniPath());
        QCOMPARE(::chmod(path.constData(), 0640), 0);
        struct stat before;
        QCOMPARE(::stat(path.constData(), &before), 0);
        // Only the superuser may give a file away; anyone else checks the mode.
        if (::geteuid() == 0) {
            QCOMPARE(::chown(path.constData(), Unprivileged::NobodyId, Unprivileged::NobodyId), 0);
            QCOMPARE(::stat(path.constData(), &before), 0);
        }
        TIniFile ini(iniPath());
        ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
        struct stat after;
        QCOMPARE(::stat(path.constData(), &after), 0);
        QVERIFY(after.st_ino != before.st_ino);
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
#endif
    }

    void createdFileIsPrivateExistingKeepsItsMode_data()
    {
        QTest::addColumn<int>("existing");
        QTest::addColumn<bool>("inBatch");
        QTest::addColumn<int>("after");
        // The mode is set, not left to the mask: under a mask of 0 a new file would be 0666.
        // clang-format off
        QTest::newRow("created by a write")   << -1    << false << 0600;
        QTest::newRow("created by a batch")   << -1    << true  << 0600;
        QTest::newRow("existing 0644")        << 0644  << false << 0644;
        QTest::newRow("existing 0666, batch") << 0666  << true  << 0666;
        // clang-format on
    }
    void createdFileIsPrivateExistingKeepsItsMode()
    {
#ifndef Q_OS_UNIX
        QSKIP("modes are a Unix matter");
#else
        QFETCH(int, existing);
        QFETCH(bool, inBatch);
        QFETCH(int, after);
        const QByteArray path = QFile::encodeName(iniPath());
        if (existing >= 0) {
            put("[G]\r\nK=1\r\n");
            QCOMPARE(::chmod(path.constData(), mode_t(existing)), 0);
        }
        const mode_t mask = ::umask(0);
        auto restoreMask = qScopeGuard([mask] { ::umask(mask); });
        TIniFile ini(iniPath());
        if (inBatch) {
            TIniFile::Batch batch(ini);
            ini.WriteString(QStringLiteral("Geral"), QStringLiteral("Senha"), QStringLiteral("s"));
            batch.commit();
        } else {
            ini.WriteString(QStringLiteral("Geral"), QStringLiteral("Senha"), QStringLiteral("s"));
        }
        struct stat written;
        QCOMPARE(::stat(path.constData(), &written), 0);
        QCOMPARE(int(written.st_mode & 07777), after);
        QCOMPARE(ini.ReadString(QStringLiteral("Geral"), QStringLiteral("Senha"), QString()),
                 QStringLiteral("s"));
#endif
    }

    void twoProcessesKeepEachOthersWrites()
    {
        // Each writes its own keys into one section as fast as it can; each write re-reads the
        // file, so without a lock between them either one writes back a version that lacks the
        // other's latest key.
        const int count = 150;
        // Each write syncs the lock file to the disk: a sanitizer build on a busy machine needs
        // far more than the default 30 seconds for all of them.
        const int finishMs = 120000;
        QProcess first;
        QProcess second;
        first.start(QStringLiteral(SETTINGS_WRITER),
                    {iniPath(), QStringLiteral("a"), QString::number(count)});
        second.start(QStringLiteral(SETTINGS_WRITER),
                     {iniPath(), QStringLiteral("b"), QString::number(count)});
        QVERIFY(first.waitForStarted());
        QVERIFY(second.waitForStarted());
        // Both start writing at once.
        first.write("go\n");
        second.write("go\n");
        QVERIFY(first.waitForBytesWritten());
        QVERIFY(second.waitForBytesWritten());
        QVERIFY(first.waitForFinished(finishMs));
        QVERIFY(second.waitForFinished(finishMs));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);

        const TIniFile ini(iniPath());
        QStringList lost;
        for (const QString& prefix : {QStringLiteral("a"), QStringLiteral("b")}) {
            for (int i = 1; i <= count; ++i) {
                const QString key = prefix + QString::number(i);
                if (ini.ReadInteger(QStringLiteral("Sync"), key, 0) != i)
                    lost << key;
            }
        }
        QCOMPARE(lost, QStringList());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("confs.ini")});
    }

    void writeWaitsForAnotherWriterThenGivesUp()
    {
        const QByteArray before("[G]\r\nK=1\r\n");
        put(before);
        // A live writer's lock is never taken over: the write is refused once the wait ends.
        QLockFile other(iniPath() + QStringLiteral(".lock"));
        QVERIFY(other.tryLock(0));
        TIniFile ini(iniPath());
        try {
            ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
            QFAIL("the write did not wait for the lock");
        } catch (const SettingsWriteError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Unable to write to ") + iniPath());
        }
        QCOMPARE(contents(), before);
        other.unlock();
        ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
        QCOMPARE(contents(), QByteArray("[G]\r\nK=2\r\n"));
    }

    void lockOfADeadProcessIsTakenOver()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs fork");
#else
        const QString lockPath = iniPath() + QStringLiteral(".lock");
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions::fromInt(0x7777)));
        // The child takes the lock and ends without giving it back, as a killed copy would.
        const int outcome = Unprivileged::run([&lockPath] {
            QLockFile lock(lockPath);
            if (!lock.tryLock(0))
                return 1;
            ::_exit(0);
            return 0;
        });
        QCOMPARE(outcome, 0);
        QVERIFY(QFileInfo::exists(lockPath));
        TIniFile ini(iniPath());
        ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
        QCOMPARE(contents(), QByteArray("[G]\r\nK=2\r\n"));
        QVERIFY(!QFileInfo::exists(lockPath));
#endif
    }

    void writeRemovesTemporaryFilesLeftBehind()
    {
        put("[G]\r\nK=1\r\n");
        // What a process killed in the middle of a save leaves, and files that only look alike.
        const QStringList leftovers = {QStringLiteral("confs.ini.4242-7.tmp"),
                                       QStringLiteral("confs.ini.1-1.tmp")};
        const QStringList others = {QStringLiteral("confs.ini.bak"),
                                    QStringLiteral("outro.ini.4242-7.tmp")};
        for (const QString& name : leftovers + others)
            put("[G]\r\nK=0\r\n", m_dir->filePath(name));
        TIniFile ini(iniPath());
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 5), 1);
        QVERIFY(QFileInfo::exists(m_dir->filePath(leftovers[0])));
        ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
        QStringList expected = others + QStringList{QStringLiteral("confs.ini")};
        expected.sort();
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), expected);
    }

    void aWriteReplacesTheFileWhole()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows replaces no file that another handle holds open: readers take the lock");
#endif
        // A reader that opened the file before the write still reads the old file whole: the new
        // one is made beside it and renamed over it, never written into it.
        put("[G]\r\nK=1\r\n");
        QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup);
        QFile reader(iniPath());
        QVERIFY(reader.open(QIODevice::ReadOnly));
        TIniFile ini(iniPath());
        ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("22"));
        QCOMPARE(reader.readAll(), QByteArray("[G]\r\nK=1\r\n"));
        QCOMPARE(contents(), QByteArray("[G]\r\nK=22\r\n"));
        // The owner, group and other bits stay as they were.
        QCOMPARE(QFile::permissions(iniPath()) & QFileDevice::Permissions::fromInt(0x7077),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("confs.ini")});
    }

    void aFolderOfThatNameIsNeverWritten()
    {
        QVERIFY(QDir().mkdir(iniPath()));
        TIniFile ini(iniPath());
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 5), 5);
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2));
        QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                 ini.DeleteKey(QStringLiteral("G"), QStringLiteral("K")));
        QVERIFY(QFileInfo(iniPath()).isDir());
    }

    void largeFileIsReadAndOnlyRewrittenWithinTheLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("writable");
        const qint64 limit = qint64(64) * 1024 * 1024;
        // clang-format off
        QTest::newRow("5 MiB")                   << qint64(5) * 1024 * 1024 << true;
        QTest::newRow("at the limit")            << limit                   << true;
        QTest::newRow("one byte past the limit") << limit + 1               << false;
        // clang-format on
    }
    void largeFileIsReadAndOnlyRewrittenWithinTheLimit()
    {
        QFETCH(qint64, size);
        QFETCH(bool, writable);
        {
            // Sparse: costs no disk and no time.
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write("[G]\r\nK=1\r\n") > 0);
            QVERIFY(file.resize(size));
        }
        TIniFile ini(iniPath());
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 5), 1);
        if (writable) {
            ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2);
            QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 5), 2);
        } else {
            // What lies past the limit was never read, so a rewrite would lose it.
            QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                     ini.WriteInteger(QStringLiteral("G"), QStringLiteral("K"), 2));
            QVERIFY_THROWS_EXCEPTION(SettingsWriteError,
                                     ini.DeleteKey(QStringLiteral("G"), QStringLiteral("K")));
            QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("K"), 5), 1);
        }
        QCOMPARE(QFileInfo(iniPath()).size(), size);
    }

    void writeThatWouldOutgrowTheLimitIsRefused()
    {
        {
            QFile file(iniPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write("[G]\r\nA=1\r\n") > 0);
            QVERIFY(file.resize(qint64(64) * 1024 * 1024 - 4));
        }
        TIniFile ini(iniPath());
        QVERIFY_THROWS_EXCEPTION(
            SettingsWriteError,
            ini.WriteString(QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("x")));
        QVERIFY(!ini.ValueExists(QStringLiteral("G"), QStringLiteral("K")));
        QCOMPARE(QFileInfo(iniPath()).size(), qint64(64) * 1024 * 1024 - 4);
        ini.WriteString(QStringLiteral("G"), QStringLiteral("A"), QStringLiteral("2"));
        QCOMPARE(ini.ReadInteger(QStringLiteral("G"), QStringLiteral("A"), 0), 2);
    }

    void parseIntegerIsStrict_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");

        // clang-format off
        QTest::newRow("number") << "120" << true << 120;
        QTest::newRow("hex") << "$78" << true << 120;
        QTest::newRow("leading blank") << " 120" << false << 0;
        QTest::newRow("trailing blank") << "120 " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("full-width digits") << QStringLiteral("１２") << false << 0;
        // clang-format on
    }
    void parseIntegerIsStrict()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const std::optional<int> parsed = TIniFile::parseInteger(text);
        QCOMPARE(parsed.has_value(), ok);
        if (ok)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(TestTIniFile)
#include "tst_tinifile.moc"
