#include "chat/TimeStampText.h"

#include <QDateTime>
#include <QTest>

namespace {

// 2024-03-05 12:34:56 UTC, in milliseconds since the epoch.
constexpr qint64 Noon = 1709642096000;

// A stamp read from a clock the test sets by hand.
struct Fixture
{
    qint64 now = Noon;
    TimeStampText stamp{[this] { return now; }};
};

} // namespace

class TestTimeStampText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // Local time three hours behind UTC all year round, whatever the machine's zone.
        qputenv("TZ", "<-03>3");
    }

    void localTime_data()
    {
        QTest::addColumn<qint64>("msecs");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("afternoon")               << Noon                  << "[09:34:56] ";
        QTest::newRow("milliseconds dropped")    << Noon + 999            << "[09:34:56] ";
        QTest::newRow("single digits padded")    << qint64(1709640309000) << "[09:05:09] ";
        QTest::newRow("local midnight")          << qint64(1709607600000) << "[00:00:00] ";
        QTest::newRow("last second of the day")  << qint64(1709607599999) << "[23:59:59] ";
        QTest::newRow("the epoch")               << qint64(0)             << "[21:00:00] ";
        QTest::newRow("millisecond before it")   << qint64(-1)            << "[20:59:59] ";
        // clang-format on
    }
    void localTime()
    {
        QFETCH(qint64, msecs);
        QFETCH(QString, text);
#ifdef Q_OS_WIN
        if (msecs < 0)
            QSKIP("Windows converts no time before 1970 to local time");
#endif
        Fixture f;
        f.now = msecs;
        QCOMPARE(f.stamp.text(), text);
    }

    void renewedWhenTheSecondChanges()
    {
        Fixture f;
        QCOMPARE(f.stamp.text(), QStringLiteral("[09:34:56] "));
        f.now = Noon + 999;
        QCOMPARE(f.stamp.text(), QStringLiteral("[09:34:56] "));
        f.now = Noon + 1000;
        QCOMPARE(f.stamp.text(), QStringLiteral("[09:34:57] "));
        f.now = Noon + 61 * 60 * 1000;
        QCOMPARE(f.stamp.text(), QStringLiteral("[10:35:56] "));
        // A clock set back is followed too.
        f.now = Noon - 3600 * 1000;
        QCOMPARE(f.stamp.text(), QStringLiteral("[08:34:56] "));
    }

    // A line keeps the stamp it was given when the text is renewed for a later line.
    void earlierCopiesKeepTheirTime()
    {
        Fixture f;
        const QString first = f.stamp.text();
        f.now = Noon + 1000;
        const QString second = f.stamp.text();
        f.now = Noon + 2000;
        QCOMPARE(f.stamp.text(), QStringLiteral("[09:34:58] "));
        QCOMPARE(first, QStringLiteral("[09:34:56] "));
        QCOMPARE(second, QStringLiteral("[09:34:57] "));
    }

    // Local time as Qt converts it: on Windows the zone set above reaches that conversion but not
    // the system's clock that QTime::currentTime() reads.
    void defaultClockIsTheLocalWallClock()
    {
        const auto localNow = [] {
            return QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch())
                .toString(QStringLiteral("[HH:mm:ss] "));
        };
        TimeStampText stamp;
        const QString before = localNow();
        const QString text = stamp.text();
        const QString after = localNow();
        QVERIFY2(text == before || text == after, qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestTimeStampText)
#include "tst_timestamptext.moc"
