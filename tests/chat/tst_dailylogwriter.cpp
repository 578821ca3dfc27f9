#include "chat/DailyLogWriter.h"

#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate Day(2026, 12, 11);
const QDate NextDay(2026, 12, 12);

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("(missing)");
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("could not write %s", qPrintable(path));
}

// The history as "date|line" rows, oldest first.
QStringList flattened(const LogHistory& history)
{
    QStringList rows;
    for (const LogHistoryDay& day : history) {
        for (const QString& line : day.lines)
            rows << day.date.toString(Qt::ISODate) + QLatin1Char('|') + line;
    }
    return rows;
}

} // namespace

class TestDailyLogWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void linesGoToTheFileOfTheirStreamAndDay();
    void linesLeftOutAreCounted();
    void anUnwritablePlaceStopsWritingOnce_data();
    void anUnwritablePlaceStopsWritingOnce();
    void readHistory_data();
    void readHistory();
    void historyIsReadBeforeAnythingIsWritten();
};

// Two streams, a line after midnight, and a file of an earlier run that is appended to. The
// files are the owner's only, and so is the folder made for them.
void TestDailyLogWriter::linesGoToTheFileOfTheirStreamAndDay()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("logs"));
    {
        DailyLogWriter writer(folder, {QStringLiteral("chat"), QStringLiteral("whisps")}, 0);
        QVERIFY(writer.append(0, Day, QByteArray("antes")));
    }
    {
        DailyLogWriter writer(folder, {QStringLiteral("chat"), QStringLiteral("whisps")}, 0);
        QVERIFY(writer.append(0, Day, QByteArray("[23:59:59] <ana> olá")));
        QVERIFY(writer.append(1, Day, QByteArray("<FROM: bia> psiu")));
        QVERIFY(writer.append(0, NextDay, QByteArray("[00:00:00] <ana> meia-noite")));
        QVERIFY(writer.append(1, Day, QByteArray("<TO: bia> oi")));
    }
    QCOMPARE(fileBytes(folder + QStringLiteral("/chat-2026-12-11.txt")),
             QByteArray("antes\r\n[23:59:59] <ana> ol\xc3\xa1\r\n"));
    QCOMPARE(fileBytes(folder + QStringLiteral("/chat-2026-12-12.txt")),
             QByteArray("[00:00:00] <ana> meia-noite\r\n"));
    QCOMPARE(fileBytes(folder + QStringLiteral("/whisps-2026-12-11.txt")),
             QByteArray("<FROM: bia> psiu\r\n<TO: bia> oi\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
#ifndef Q_OS_WIN // there the user's own folders keep others out, not modes
    const auto owner = QFile::ReadOwner | QFile::WriteOwner;
    const auto everyone = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(folder).permissions() & (owner | QFile::ExeOwner | everyone),
             owner | QFile::ExeOwner);
    QCOMPARE(QFileInfo(folder + QStringLiteral("/chat-2026-12-12.txt")).permissions() &
                 (owner | QFile::ExeOwner | everyone),
             owner);
#endif
}

// A line larger than the whole queue never fits, whenever the thread drains it: such lines are
// left out, and the file says how many at the point of loss, in the file of their day, also
// when nothing follows them.
void TestDailyLogWriter::linesLeftOutAreCounted()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QByteArray huge(200, 'x');
    {
        DailyLogWriter writer(folder, {QStringLiteral("chat")}, 0, 100);
        QVERIFY(writer.append(0, Day, QByteArray("um")));
        QVERIFY(!writer.append(0, Day, huge));
        QVERIFY(writer.append(0, Day, QByteArray("dois")));
        QVERIFY(!writer.append(0, Day, huge));
        QVERIFY(!writer.append(0, Day, huge));
        QVERIFY(!writer.append(0, Day, huge));
        QVERIFY(writer.append(0, NextDay, QByteArray("tr\xc3\xaas")));
        QVERIFY(!writer.append(0, NextDay, huge));
        QVERIFY(!writer.append(0, NextDay, huge));
    }
    QCOMPARE(fileBytes(folder + QStringLiteral("/chat-2026-12-11.txt")),
             QByteArray("um\r\n[1 linha n\xc3\xa3o gravada]\r\ndois\r\n"
                        "[3 linhas n\xc3\xa3o gravadas]\r\n"));
    QCOMPARE(fileBytes(folder + QStringLiteral("/chat-2026-12-12.txt")),
             QByteArray("tr\xc3\xaas\r\n[2 linhas n\xc3\xa3o gravadas]\r\n"));
}

// place: where the logs should go. "under a file": a regular file stands where the folder's
// parent should be (the tests may run as root, whom permissions do not stop). "full disk": the
// day's file is the device that is always full.
void TestDailyLogWriter::anUnwritablePlaceStopsWritingOnce_data()
{
    QTest::addColumn<QString>("place");
    QTest::newRow("under a file") << "under a file";
    QTest::newRow("full disk") << "full disk";
}

void TestDailyLogWriter::anUnwritablePlaceStopsWritingOnce()
{
    QFETCH(QString, place);
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("logs"));
    QString expected = folder;
    if (place == QLatin1String("under a file")) {
        writeFile(dir.filePath(QStringLiteral("arquivo")), "x");
        folder = dir.filePath(QStringLiteral("arquivo/logs"));
        expected = folder;
    } else {
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("this system has no /dev/full");
        QVERIFY(QDir().mkdir(folder));
        expected = folder + QStringLiteral("/chat-2026-12-11.txt");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), expected));
    }
    DailyLogWriter writer(folder, {QStringLiteral("chat")}, 0);
    QSignalSpy failed(&writer, &DailyLogWriter::failed);
    QVERIFY(writer.append(0, Day, QByteArray("primeira")));
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), QDir::toNativeSeparators(expected));
    QVERIFY(!failed.at(0).at(1).toString().isEmpty());
    // Writing has stopped: nothing more is taken, and nothing more is reported.
    QVERIFY(!writer.append(0, Day, QByteArray("segunda")));
    QVERIFY(!writer.append(0, NextDay, QByteArray("terceira")));
    QCOMPARE(failed.size(), 1);
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("logs/chat-2026-12-12.txt"))));
}

// The folder holds three days of the channel, one of whispers and a file of another name; the
// last day's file ends without a line end, as a crash may leave it.
void TestDailyLogWriter::readHistory_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QStringList>("expected");
    // clang-format off
    QTest::newRow("within the last day") << "chat" << 2 << QStringList{"2026-12-11|c5", "2026-12-11|c6 ç"};
    QTest::newRow("the whole last day") << "chat" << 3 << QStringList{"2026-12-11|", "2026-12-11|c5", "2026-12-11|c6 ç"};
    QTest::newRow("back two days") << "chat" << 5 << QStringList{"2026-12-09|c2", "2026-12-10|c3", "2026-12-11|", "2026-12-11|c5", "2026-12-11|c6 ç"};
    QTest::newRow("more than there are") << "chat" << 200 << QStringList{"2026-12-09|c1", "2026-12-09|c2", "2026-12-10|c3", "2026-12-11|", "2026-12-11|c5", "2026-12-11|c6 ç"};
    QTest::newRow("another stream") << "whisps" << 200 << QStringList{"2026-11-30|w1"};
    QTest::newRow("no files") << "outro" << 200 << QStringList{};
    // clang-format on
}

void TestDailyLogWriter::readHistory()
{
    QFETCH(QString, prefix);
    QFETCH(int, lines);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("chat-2026-12-09.txt")), "c1\r\nc2\r\n");
    writeFile(dir.filePath(QStringLiteral("chat-2026-12-10.txt")), "c3\r\n");
    writeFile(dir.filePath(QStringLiteral("chat-2026-12-11.txt")), "\r\nc5\r\nc6 \xc3\xa7");
    writeFile(dir.filePath(QStringLiteral("chat-2026-12-12.txt.bak")), "fora\r\n");
    writeFile(dir.filePath(QStringLiteral("chat-hoje.txt")), "fora\r\n");
    writeFile(dir.filePath(QStringLiteral("whisps-2026-11-30.txt")), "w1\r\n");
    QCOMPARE(flattened(DailyLogWriter::readHistory(dir.path(), prefix, lines)), expected);
}

// A line appended at once does not come back as history, though it goes to the same file.
void TestDailyLogWriter::historyIsReadBeforeAnythingIsWritten()
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("chat-2026-12-11.txt")), "ontem\r\n");
    LogHistory history;
    int reports = 0;
    {
        DailyLogWriter writer(dir.path(), {QStringLiteral("chat"), QStringLiteral("whisps")}, 200);
        connect(&writer, &DailyLogWriter::historyRead, this,
                [&](int stream, const LogHistory& read) {
                    ++reports;
                    if (stream == 0)
                        history = read;
                });
        QVERIFY(writer.append(0, Day, QByteArray("agora")));
        QTRY_COMPARE(reports, 2);
    }
    QCOMPARE(flattened(history), QStringList{QStringLiteral("2026-12-11|ontem")});
    QCOMPARE(fileBytes(dir.filePath(QStringLiteral("chat-2026-12-11.txt"))),
             QByteArray("ontem\r\nagora\r\n"));
}

QTEST_GUILESS_MAIN(TestDailyLogWriter)
#include "tst_dailylogwriter.moc"
