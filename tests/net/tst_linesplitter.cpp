#include <QTest>

#include "net/LineSplitter.h"

namespace {

using Lines = QList<QByteArray>;

Lines feed(LineSplitter& splitter, const QList<QByteArray>& chunks)
{
    Lines lines;
    for (const QByteArray& chunk : chunks) {
        splitter.append(chunk);
        QByteArrayView line;
        while (splitter.takeLine(line))
            lines.append(line.toByteArray());
    }
    return lines;
}

QList<QByteArray> pieces(const QByteArray& stream, qsizetype size)
{
    QList<QByteArray> out;
    for (qsizetype i = 0; i < stream.size(); i += size)
        out.append(stream.mid(i, size));
    return out;
}

} // namespace

class TestLineSplitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every row is checked whole, byte by byte, in pieces of 7 and split at every position, so a
    // terminator, a CR LF pair or the bound falling on a chunk edge is covered each time.
    void cutsTheSameWhateverTheChunks_data()
    {
        QTest::addColumn<qsizetype>("maxLength");
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<Lines>("lines");

        const qsizetype big = 64 * 1024;
        // clang-format off
        QTest::newRow("CR LF pairs")                                 << big << QByteArray("1005 A\r\n1005 B\r\n") << Lines{"1005 A\r", "1005 B\r"};
        QTest::newRow("LF only, the last line at once")              << big << QByteArray("A\nB\n")             << Lines{"A\n", "B\n"};
        QTest::newRow("CR only")                                     << big << QByteArray("A\rB\r")             << Lines{"A\r", "B\r"};
        QTest::newRow("LF CR is two ends, not a pair")               << big << QByteArray("A\n\rB\n")           << Lines{"A\n", "\r", "B\n"};
        QTest::newRow("an LF only pairs with the CR just before it") << big << QByteArray("A\r\r\n\n")          << Lines{"A\r", "\r", "\n"};
        QTest::newRow("lone ends")                                   << big << QByteArray("\n\n")               << Lines{"\n", "\n"};
        QTest::newRow("a line without its end waits")                << big << QByteArray("A\r\n1005 TA")        << Lines{"A\r"};
        QTest::newRow("nothing")                                     << big << QByteArray()                     << Lines{};
        QTest::newRow("NUL is an ordinary byte")                     << big << QByteArray("a\0b\r\n", 5)         << Lines{QByteArray("a\0b\r", 4)};
        QTest::newRow("high bytes")                                  << big << QByteArray("\xe7\xe3o \x80\r\n")   << Lines{"\xe7\xe3o \x80\r"};

        QTest::newRow("a line at the bound is kept")                 << qsizetype(8) << QByteArray("12345678\r\n")         << Lines{"12345678\r"};
        QTest::newRow("one byte over the bound is dropped")          << qsizetype(8) << QByteArray("123456789\nok\n")      << Lines{"ok\n"};
        QTest::newRow("a junk line is dropped whole, even a part that looks like an event") << qsizetype(8) << QByteArray("xxxxxxxxxxxx1018 INFO \"fake\"\r\n1018 ok\r\n") << Lines{"1018 ok\r"};
        QTest::newRow("the LF after a junk line's CR is no line")    << qsizetype(4) << QByteArray("abcdef\r\nok\n")       << Lines{"ok\n"};
        QTest::newRow("a junk line ended by LF")                     << qsizetype(4) << QByteArray("abcdefgh\nok\n")       << Lines{"ok\n"};
        QTest::newRow("lines on both sides of a junk line")          << qsizetype(4) << QByteArray("a\r\nabcdefgh\r\nb\r\n") << Lines{"a\r", "b\r"};
        // clang-format on
    }
    void cutsTheSameWhateverTheChunks()
    {
        QFETCH(qsizetype, maxLength);
        QFETCH(QByteArray, stream);
        QFETCH(Lines, lines);

        {
            LineSplitter splitter(maxLength);
            QCOMPARE(feed(splitter, {stream}), lines);
        }
        {
            LineSplitter splitter(maxLength);
            QCOMPARE(feed(splitter, pieces(stream, 1)), lines);
        }
        {
            LineSplitter splitter(maxLength);
            QCOMPARE(feed(splitter, pieces(stream, 7)), lines);
        }
        for (qsizetype cut = 1; cut < stream.size(); ++cut) {
            LineSplitter splitter(maxLength);
            const Lines got = feed(splitter, {stream.left(cut), stream.mid(cut)});
            if (got != lines)
                QFAIL(qPrintable(QStringLiteral("split at %1").arg(cut)));
        }
    }

    void aLineIsHandedOnWhenItsEndArrives()
    {
        LineSplitter splitter(64);
        QCOMPARE(feed(splitter, {"1005 TA"}), Lines{});
        QCOMPARE(feed(splitter, {"LK x\r"}), Lines{"1005 TALK x\r"});
        QCOMPARE(feed(splitter, {"\n"}), Lines{});
        QCOMPARE(splitter.pendingSize(), 0);
    }

    void aPeerThatNeverEndsALineCannotGrowTheBuffer()
    {
        LineSplitter splitter(16);
        QByteArray junk(1000, 'x');
        for (const QByteArray& chunk : pieces(junk, 7)) {
            QCOMPARE(feed(splitter, {chunk}), Lines{});
            QVERIFY(splitter.pendingSize() <= 16);
        }
        QCOMPARE(feed(splitter, {"\r\nok\r\n"}), Lines{"ok\r"});
    }

    void clearForgetsEverythingAndEndsTheIteration()
    {
        LineSplitter splitter(64);
        splitter.append(QByteArray("A\nB\nC\r"));
        QByteArrayView line;
        QVERIFY(splitter.takeLine(line));
        QCOMPARE(line.toByteArray(), QByteArray("A\n"));
        splitter.clear();
        QVERIFY(!splitter.takeLine(line));

        splitter.append(QByteArray("par"));
        QVERIFY(!splitter.takeLine(line));
        splitter.clear();
        QCOMPARE(splitter.pendingSize(), 0);
        QCOMPARE(feed(splitter, {"D\n"}), Lines{"D\n"});
    }

    void bytesLeftUncutStayInOrder()
    {
        // An owner may append again before taking every line of the previous chunk.
        LineSplitter splitter(64);
        splitter.append(QByteArray("A\nB\nC"));
        QByteArrayView line;
        QVERIFY(splitter.takeLine(line));
        QCOMPARE(feed(splitter, {"D\n"}), (Lines{"B\n", "CD\n"}));
    }

    void stripTerminator_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("noLineFeed");
        QTest::addColumn<bool>("noReturn");
        QTest::addColumn<QByteArray>("stripped");
        // clang-format off
        QTest::newRow("CR removed")            << QByteArray("A\r") << true  << true  << QByteArray("A");
        QTest::newRow("LF removed")            << QByteArray("A\n") << true  << true  << QByteArray("A");
        QTest::newRow("LF kept")               << QByteArray("A\n") << false << true  << QByteArray("A\n");
        QTest::newRow("CR kept")               << QByteArray("A\r") << true  << false << QByteArray("A\r");
        QTest::newRow("lone CR becomes empty") << QByteArray("\r")  << true  << true  << QByteArray();
        QTest::newRow("no terminator")         << QByteArray("A")   << true  << true  << QByteArray("A");
        // clang-format on
    }
    void stripTerminator()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, noLineFeed);
        QFETCH(bool, noReturn);
        QFETCH(QByteArray, stripped);
        QCOMPARE(LineSplitter::stripTerminator(line, noLineFeed, noReturn).toByteArray(), stripped);
    }
};

QTEST_GUILESS_MAIN(TestLineSplitter)
#include "tst_linesplitter.moc"
