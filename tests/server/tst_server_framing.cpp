#include <QTest>

#include "net/LineSplitter.h"

// The server cuts a client's bytes with LineSplitter and strips both line ends; these are the
// framing rules the login and the length limit rely on.
namespace {

using Lines = QList<QByteArray>;

struct Cut
{
    Lines lines;
    int dropped = 0;
};

// Drives the splitter as the server's session does.
Cut feed(LineSplitter& splitter, const QByteArray& chunk)
{
    Cut cut;
    splitter.append(chunk);
    QByteArrayView line;
    while (splitter.takeLine(line))
        cut.lines.append(LineSplitter::stripTerminator(line, true, true).toByteArray());
    cut.dropped = splitter.takeDropped();
    return cut;
}

} // namespace

class TestServerFraming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cutsLines_data()
    {
        QTest::addColumn<Lines>("chunks");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("dropped");
        QTest::addColumn<int>("pending");
        // clang-format off
        QTest::newRow("cr lf in one chunk") << Lines{"a\r\nb\r\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("cr lf split over chunks") << Lines{"a\r", "\nb\r", "\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("lf alone") << Lines{"a\nb\n"} << Lines{"a", "b"} << 0 << 0;
        QTest::newRow("cr alone, login shape") << Lines{"\x03\x04name\rpass\r\r"} << Lines{"\x03\x04name", "pass", ""} << 0 << 0;
        QTest::newRow("empty password kept") << Lines{"name\r\r\r"} << Lines{"name", "", ""} << 0 << 0;
        QTest::newRow("line split mid-word") << Lines{"10", "05 x\r\n"} << Lines{"1005 x"} << 0 << 0;
        QTest::newRow("unended line waits") << Lines{"a\r\nbcd"} << Lines{"a"} << 0 << 3;
        QTest::newRow("exactly the limit kept") << Lines{QByteArray(16, 'x') + "\r\n"} << Lines{QByteArray(16, 'x')} << 0 << 0;
        QTest::newRow("one past the limit dropped") << Lines{QByteArray(17, 'x') + "\r\nok\r\n"} << Lines{"ok"} << 1 << 0;
        QTest::newRow("long line over chunks dropped whole") << Lines{QByteArray(10, 'x'), QByteArray(10, 'y'), "zz\r\nok\r"} << Lines{"ok"} << 1 << 0;
        QTest::newRow("lf of a dropped line's cr lf skipped") << Lines{QByteArray(20, 'x'), "\r", "\nok\n"} << Lines{"ok"} << 1 << 0;
        QTest::newRow("nul and high bytes kept") << Lines{QByteArray("a\0\xff", 3) + "\r\n"} << Lines{QByteArray("a\0\xff", 3)} << 0 << 0;
        // clang-format on
    }
    void cutsLines()
    {
        QFETCH(Lines, chunks);
        QFETCH(Lines, lines);
        QFETCH(int, dropped);
        QFETCH(int, pending);
        LineSplitter splitter(16);
        Cut all;
        for (const QByteArray& chunk : chunks) {
            const Cut cut = feed(splitter, chunk);
            all.lines += cut.lines;
            all.dropped += cut.dropped;
        }
        QCOMPARE(all.lines, lines);
        QCOMPARE(all.dropped, dropped);
        QCOMPARE(splitter.takeDropped(), 0);
        QCOMPARE(splitter.pendingSize(), qsizetype(pending));
    }

    void holdsAtMostTheLimitOfAnEndlessLine()
    {
        LineSplitter splitter(4096);
        const QByteArray chunk(64 * 1024, 'a');
        int dropped = 0;
        for (int i = 0; i < 160; ++i) {
            const Cut cut = feed(splitter, chunk);
            QVERIFY(cut.lines.isEmpty());
            dropped += cut.dropped;
            QVERIFY(splitter.pendingSize() <= 4096);
        }
        // Counted once, as soon as it outgrew the limit.
        QCOMPARE(dropped, 1);
        const Cut cut = feed(splitter, "tail\r\nnext\r\n");
        QCOMPARE(cut.lines, Lines{"next"});
        QCOMPARE(cut.dropped, 0);
    }
};

QTEST_GUILESS_MAIN(TestServerFraming)
#include "tst_server_framing.moc"
