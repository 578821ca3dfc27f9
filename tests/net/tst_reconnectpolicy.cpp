#include <QTest>

#include <algorithm>
#include <limits>
#include <random>

#include "net/ReconnectPolicy.h"

namespace {
using End = ReconnectPolicy::End;

// One end per word: "lost:MS" (a confirmed session up MS milliseconds), "failed", "name",
// "refused", "user", or "stop" for the user taking over; each end gives the wait that follows,
// "-" for none.
QStringList run(ReconnectPolicy& policy, const QString& ends)
{
    QStringList waits;
    for (const QString& word : ends.split(QLatin1Char(' '))) {
        if (word == QLatin1String("stop")) {
            policy.stop();
            continue;
        }
        End end = End::ByUser;
        qint64 up = -1;
        if (word.startsWith(QLatin1String("lost:"))) {
            end = End::SessionLost;
            up = word.mid(5).toLongLong();
        } else if (word == QLatin1String("failed")) {
            end = End::AttemptFailed;
        } else if (word == QLatin1String("name")) {
            end = End::NameNotFound;
        } else if (word == QLatin1String("refused")) {
            end = End::LoginRefused;
        }
        const std::optional<int> wait = policy.next(end, up);
        waits << (wait ? QString::number(*wait) : QStringLiteral("-"));
    }
    return waits;
}
} // namespace

class TestReconnectPolicy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void series_data();
    void series();
    void attemptsAreCounted();
    void spread_data();
    void spread();
    void longOutageStaysAtAMinute();
};

void TestReconnectPolicy::series_data()
{
    QTest::addColumn<QString>("ends");
    QTest::addColumn<QString>("waits");
    // clang-format off
    QTest::newRow("a lost session, then a long outage") << "lost:600000 failed failed failed failed failed" << "5000 10000 20000 40000 60000 60000";
    QTest::newRow("a first attempt the server never answered") << "failed failed" << "5000 10000";
    QTest::newRow("the user's own end") << "user" << "-";
    QTest::newRow("a refused login") << "refused" << "-";
    QTest::newRow("a refusal ends the series") << "lost:0 failed refused failed" << "5000 10000 - 5000";
    QTest::newRow("the user ends the series") << "lost:0 failed user lost:0" << "5000 10000 - 5000";
    QTest::newRow("the user takes over a wait") << "lost:0 failed stop lost:0" << "5000 10000 5000";
    QTest::newRow("a misspelt name at first") << "name" << "-";
    QTest::newRow("a name lost within a series") << "lost:0 name name" << "5000 10000 20000";
    QTest::newRow("accepted and closed at once") << "lost:0 lost:0 lost:0 lost:0" << "5000 10000 20000 40000";
    QTest::newRow("just short of steady") << "lost:0 lost:59999" << "5000 10000";
    QTest::newRow("a steady session starts over") << "lost:0 lost:0 lost:60000" << "5000 10000 5000";
    QTest::newRow("steady only once confirmed") << "failed failed lost:-1" << "5000 10000 20000";
    // clang-format on
}

void TestReconnectPolicy::series()
{
    QFETCH(QString, ends);
    QFETCH(QString, waits);
    ReconnectPolicy policy;
    QCOMPARE(run(policy, ends).join(QLatin1Char(' ')), waits);
}

// The pane numbers the attempts of a series; a new series counts from 1 again.
void TestReconnectPolicy::attemptsAreCounted()
{
    ReconnectPolicy policy;
    QVERIFY(!policy.running());
    run(policy, QStringLiteral("lost:0 failed failed"));
    QVERIFY(policy.running());
    QCOMPARE(policy.attempt(), 3);
    run(policy, QStringLiteral("lost:0"));
    QCOMPARE(policy.attempt(), 4);
    run(policy, QStringLiteral("lost:60000"));
    QCOMPARE(policy.attempt(), 1);
    run(policy, QStringLiteral("refused"));
    QVERIFY(!policy.running());
    QCOMPARE(policy.attempt(), 0);
}

void TestReconnectPolicy::spread_data()
{
    QTest::addColumn<double>("draw");
    QTest::addColumn<QString>("waits"); // after "lost:0 failed failed failed failed"
    // clang-format off
    QTest::newRow("lowest draw")           << 0.0    << "4000 8000 16000 32000 48000";
    QTest::newRow("middle draw")           << 0.5    << "5000 10000 20000 40000 60000";
    QTest::newRow("highest draw")          << 0.9999 << "6000 12000 23999 47998 71998";
    QTest::newRow("a draw above the range") << 7.0   << "6000 12000 24000 48000 72000";
    QTest::newRow("a draw below the range") << -3.0  << "4000 8000 16000 32000 48000";
    // clang-format on
}

// Each wait is spread by up to a fifth either way, whatever the source gives.
void TestReconnectPolicy::spread()
{
    QFETCH(double, draw);
    QFETCH(QString, waits);
    ReconnectPolicy policy([draw] { return draw; });
    QCOMPARE(run(policy, QStringLiteral("lost:0 failed failed failed failed")).join(' '), waits);
}

// Days of outage from a seeded source: after the fourth the waits stay around a minute, spread
// over the whole range, and the attempts go on being counted.
void TestReconnectPolicy::longOutageStaysAtAMinute()
{
    std::mt19937 generator(22);
    ReconnectPolicy policy([&] { return std::generate_canonical<double, 32>(generator); });
    QVERIFY(policy.next(End::SessionLost, 0));
    int shortest = std::numeric_limits<int>::max();
    int longest = 0;
    for (int i = 1; i < 100000; ++i) {
        const std::optional<int> wait = policy.next(End::AttemptFailed, -1);
        QVERIFY(wait);
        if (i < 4)
            continue;
        shortest = std::min(shortest, *wait);
        longest = std::max(longest, *wait);
    }
    QVERIFY2(shortest >= 48000 && shortest < 49000, qPrintable(QString::number(shortest)));
    QVERIFY2(longest <= 72000 && longest > 71000, qPrintable(QString::number(longest)));
    QCOMPARE(policy.attempt(), 100000);
}

QTEST_APPLESS_MAIN(TestReconnectPolicy)
#include "tst_reconnectpolicy.moc"
