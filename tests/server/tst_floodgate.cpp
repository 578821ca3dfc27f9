#include <QTest>

#include "FloodGate.h"

namespace {

using Times = QList<qint64>;

// One letter per line: P passed, N dropped and the sender told, D dropped, X disconnected.
QString verdicts(FloodGate& gate, const Times& times)
{
    QString letters;
    for (const qint64 t : times) {
        switch (gate.admit(t)) {
        case FloodGate::Verdict::Pass:
            letters += QLatin1Char('P');
            break;
        case FloodGate::Verdict::DropAndNotify:
            letters += QLatin1Char('N');
            break;
        case FloodGate::Verdict::Drop:
            letters += QLatin1Char('D');
            break;
        case FloodGate::Verdict::Disconnect:
            letters += QLatin1Char('X');
            break;
        }
    }
    return letters;
}

} // namespace

class TestFloodGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void judgesEachLine_data()
    {
        QTest::addColumn<int>("burst");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<Times>("times");
        QTest::addColumn<QString>("expected");
        const qint64 later = qint64(1) << 50;
        // clang-format off
        QTest::newRow("a burst passes at once") << 3 << 1000 << Times{0, 0, 0} << "PPP";
        QTest::newRow("beyond the burst dropped, told once") << 3 << 1000 << Times{0, 0, 0, 0, 0, 0} << "PPPNDD";
        QTest::newRow("one line regained per interval") << 2 << 100 << Times{0, 0, 0, 100, 100, 150, 200} << "PPNPDDP";
        QTest::newRow("told again once the allowance is whole") << 2 << 100 << Times{0, 0, 0, 200, 200, 200} << "PPNPPN";
        QTest::newRow("not told again while still short") << 2 << 100 << Times{0, 0, 0, 150, 150, 150} << "PPNPDD";
        QTest::newRow("five allowances at once disconnect") << 2 << 60000 << Times(11, 0) << "PPNDDDDDDDX";
        QTest::newRow("a long silence refills no more than the burst") << 2 << 100 << Times{0, later, later, later} << "PPPN";
        QTest::newRow("a clock that steps back counts as no time") << 1 << 100 << Times{500, 400, 550} << "PND";
        // clang-format on
    }
    void judgesEachLine()
    {
        QFETCH(int, burst);
        QFETCH(int, intervalMs);
        QFETCH(Times, times);
        QFETCH(QString, expected);
        FloodGate gate(burst, intervalMs);
        QCOMPARE(verdicts(gate, times), expected);
    }

    // Sustained sending for ten minutes at the default limit (ten lines at once, then one a
    // second): the number of lines dropped, of notices, and when the sender is disconnected.
    void sustainedPace_data()
    {
        QTest::addColumn<Times>("times");
        QTest::addColumn<int>("dropped");
        QTest::addColumn<int>("notices");
        QTest::addColumn<qint64>("disconnectedBy");
        Times client = {0, 0, 1}; // the login's closing CR, a first line at once, the next queued
        Times atLimit;
        Times twice;
        Times tenTimes;
        for (qint64 t = 0; t < 600000; t += 100) {
            if (t % 1000 == 0)
                atLimit.append(t);
            if (t % 500 == 0)
                twice.append(t);
            tenTimes.append(t);
        }
        for (qint64 t = 1501; t < 600000; t += 1500)
            client.append(t);
        // clang-format off
        QTest::newRow("the client's own pacing") << client << 0 << 0 << qint64(-1);
        QTest::newRow("at the limit") << atLimit << 0 << 0 << qint64(-1);
        QTest::newRow("twice the limit") << twice << 591 << 1 << qint64(-1);
        QTest::newRow("ten times the limit") << tenTimes << -1 << 1 << qint64(10000);
        // clang-format on
    }
    void sustainedPace()
    {
        QFETCH(Times, times);
        QFETCH(int, dropped);
        QFETCH(int, notices);
        QFETCH(qint64, disconnectedBy);
        FloodGate gate(10, 1000);
        int drops = 0;
        int told = 0;
        qint64 disconnectedAt = -1;
        for (const qint64 t : times) {
            const FloodGate::Verdict verdict = gate.admit(t);
            if (verdict == FloodGate::Verdict::Disconnect) {
                disconnectedAt = t;
                break;
            }
            if (verdict == FloodGate::Verdict::DropAndNotify)
                ++told;
            if (verdict != FloodGate::Verdict::Pass)
                ++drops;
        }
        if (dropped >= 0)
            QCOMPARE(drops, dropped);
        QCOMPARE(told, notices);
        if (disconnectedBy < 0) {
            QCOMPARE(disconnectedAt, qint64(-1));
        } else {
            QVERIFY(disconnectedAt >= 0);
            QVERIFY2(disconnectedAt <= disconnectedBy, qPrintable(QString::number(disconnectedAt)));
        }
    }
};

QTEST_GUILESS_MAIN(TestFloodGate)
#include "tst_floodgate.moc"
