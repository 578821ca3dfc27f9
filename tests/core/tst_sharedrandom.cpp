#include "core/SharedRandom.h"

#include <QList>
#include <QTest>

class TestSharedRandom : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void repeatsAfterReset()
    {
        SharedRandom::reset();
        QList<int> first;
        for (int i = 0; i < 5; ++i)
            first << SharedRandom::below(10);
        SharedRandom::reset();
        for (int i = 0; i < 5; ++i)
            QCOMPARE(SharedRandom::below(10), first[i]);
    }

    void drawsLikeEveryPlatform_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("expected");
        // The first draw of a default mt19937 is 3499211612: (3499211612 * n) >> 32.
        // clang-format off
        QTest::newRow("ten")         << 10         << 8;
        QTest::newRow("one")         << 1          << 0;
        QTest::newRow("large n")     << 2000000000 << 1629447383;
        QTest::newRow("zero")        << 0          << 0;
        QTest::newRow("negative")    << -5         << 0;
        // clang-format on
    }
    void drawsLikeEveryPlatform()
    {
        QFETCH(int, n);
        QFETCH(int, expected);
        SharedRandom::reset();
        QCOMPARE(SharedRandom::below(n), expected);
    }
};

QTEST_GUILESS_MAIN(TestSharedRandom)
#include "tst_sharedrandom.moc"
