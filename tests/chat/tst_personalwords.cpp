#include "chat/PersonalWords.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Unprivileged.h"

class TestPersonalWords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsUtf8Lines();
    void letterCase_data();
    void letterCase();
    void addWritesTheWholeList();
    void addKeepsWordsOthersAdded();
    void unreadableFileIsNeverWrittenOver();

private:
    static QByteArray contents(const QString& path);
    static void write(const QString& path, const QByteArray& bytes);
};

QByteArray TestPersonalWords::contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestPersonalWords::write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A byte order mark, CR LF line ends, blanks around words and empty lines are not words.
void TestPersonalWords::readsUtf8Lines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dicionario.txt"));
    write(path, "\xEF\xBB\xBFtulmo\r\n  açaízeiro \n\n\r\nTulmoNet\n");
    PersonalWords words(path);
    QVERIFY(words.load());
    QCOMPARE(words.words(), (QStringList{QStringLiteral("tulmo"), QStringLiteral("açaízeiro"),
                                         QStringLiteral("TulmoNet")}));
    QVERIFY(words.contains(QStringLiteral("açaízeiro")));

    PersonalWords missing(dir.filePath(QStringLiteral("nenhum.txt")));
    QVERIFY(missing.load());
    QVERIFY(missing.words().isEmpty());
}

// listed: the word on the list; word: as typed.
void TestPersonalWords::letterCase_data()
{
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("known");
    // clang-format off
    QTest::newRow("as listed") << "tulmo" << "tulmo" << true;
    QTest::newRow("capital first") << "tulmo" << "Tulmo" << true;
    QTest::newRow("capitals") << "tulmo" << "TULMO" << true;
    QTest::newRow("mixed") << "tulmo" << "tUlmo" << false;
    QTest::newRow("listed capitalised, typed lower") << "Tulmo" << "tulmo" << false;
    QTest::newRow("listed capitalised, capitals") << "Tulmo" << "TULMO" << true;
    QTest::newRow("accented capitals") << "ação" << "AÇÃO" << true;
    QTest::newRow("accented capital first") << "élfico" << "Élfico" << true;
    QTest::newRow("inner capital kept") << "TulmoNet" << "TulmoNet" << true;
    QTest::newRow("inner capital lost") << "TulmoNet" << "Tulmonet" << false;
    QTest::newRow("other word") << "tulmo" << "tulmos" << false;
    // clang-format on
}

void TestPersonalWords::letterCase()
{
    QFETCH(QString, listed);
    QFETCH(QString, word);
    QFETCH(bool, known);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dicionario.txt"));
    write(path, listed.toUtf8() + '\n');
    PersonalWords words(path);
    QVERIFY(words.load());
    QCOMPARE(words.contains(word), known);
}

void TestPersonalWords::addWritesTheWholeList()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dicionario.txt"));
    PersonalWords words(path);
    QVERIFY(words.load());
    QVERIFY(words.add(QStringLiteral("tulmo")));
    QVERIFY(words.add(QStringLiteral("açaí")));
    QVERIFY(words.add(QStringLiteral("tulmo")));
    QCOMPARE(contents(path), QByteArray("tulmo\naçaí\n"));
    QVERIFY(words.contains(QStringLiteral("açaí")));
}

// Two windows of the program each add a word: the file ends with both.
void TestPersonalWords::addKeepsWordsOthersAdded()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dicionario.txt"));
    PersonalWords first(path);
    PersonalWords second(path);
    first.load();
    second.load();
    QVERIFY(first.add(QStringLiteral("primeira")));
    QVERIFY(second.add(QStringLiteral("segunda")));
    QCOMPARE(contents(path), QByteArray("primeira\nsegunda\n"));
    QVERIFY(second.contains(QStringLiteral("primeira")));
}

// A file the program may replace but not read: writing the list would lose the words in it.
void TestPersonalWords::unreadableFileIsNeverWrittenOver()
{
#ifndef Q_OS_UNIX
    QSKIP("needs fork and an unprivileged user");
#else
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dicionario.txt"));
    write(path, "guardada\n");
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions::fromInt(0x7777)));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions::fromInt(0x2222)));
    const int outcome = Unprivileged::run([&] {
        PersonalWords words(path);
        const bool loaded = words.load();
        const bool added = words.add(QStringLiteral("nova"));
        return !loaded && !added && words.contains(QStringLiteral("nova")) ? 0 : 1;
    });
    if (outcome == Unprivileged::CannotDropPrivileges)
        QSKIP("this superuser may not take another user's identity");
    QCOMPARE(outcome, 0);
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions::fromInt(0x6600)));
    QCOMPARE(contents(path), QByteArray("guardada\n"));
#endif
}

QTEST_APPLESS_MAIN(TestPersonalWords)
#include "tst_personalwords.moc"
