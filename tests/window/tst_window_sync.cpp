#include <QTest>
#include <QTimer>

#include "WindowSession.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/SyncMessages.h"
#include "window/TfrmMain.h"

namespace {
const QString Timers = QStringLiteral("[Timers]");

SyncMessages* sync(TfrmMain* window)
{
    return window->findChild<SyncMessages*>();
}
} // namespace

class TestWindowSync : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void syncRotation();
    void syncEmptyPositionRestarts();
    void syncRotationUnderAHandEditedCount_data();
    void syncRotationUnderAHandEditedCount();
    void syncSwitching_data();
    void syncSwitching();
    void syncRotationSurvivesReconnection();
    void runningCountdownIsNotRestarted();
};

// Ticks are driven by hand here; runningCountdownIsNotRestarted lets the timer itself tick.
void TestWindowSync::syncRotation()
{
    WindowSession s(Timers, {QStringLiteral("TimersOn=1"), QStringLiteral("nTS=3"),
                             QStringLiteral("STimer1=um"), QStringLiteral("STimer2=/join Sala"),
                             QStringLiteral("STimer3=tres <user>")});
    QVERIFY(s.connect());
    const int before = WindowHarness::paragraphs(s.w->chatPane());
    for (int i = 0; i < 5; ++i)
        sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray("um\r/join Sala\rtres <user>\rum\r/join Sala\r"));
    QCOMPARE(WindowHarness::paragraphs(s.w->chatPane()) - before, 3);
    QCOMPARE(WindowHarness::lastPieces(s.w->chatPane(), 2),
             (QStringList{"<visitante> |4", "um|5"}));
    QCOMPARE(WindowHarness::lastText(s.w->chatPane(), 1),
             QStringLiteral("<visitante> tres <user>"));
    QCOMPARE(WindowHarness::lastText(s.w->chatPane()), QStringLiteral("<visitante> um"));
}

// Message 3 of three removed while it is next: that tick sends nothing, the next one message 1.
void TestWindowSync::syncEmptyPositionRestarts()
{
    WindowSession s(Timers, {QStringLiteral("TimersOn=1"), QStringLiteral("nTS=3"),
                             QStringLiteral("STimer1=um"), QStringLiteral("STimer2=dois"),
                             QStringLiteral("STimer3=tres")});
    QVERIFY(s.connect());
    sync(s.w)->tmrSincTimer();
    sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray("um\rdois\r"));
    Settings::write(*s.w->settings(), Keys::Timers::nTS, 2);
    Settings::remove(*s.w->settings(), Keys::Timers::STimer(3));
    const int before = WindowHarness::paragraphs(s.w->chatPane());
    sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray());
    QCOMPARE(WindowHarness::paragraphs(s.w->chatPane()), before);
    sync(s.w)->tmrSincTimer();
    sync(s.w)->tmrSincTimer();
    sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray("um\rdois\rum\r"));
}

void TestWindowSync::syncRotationUnderAHandEditedCount_data()
{
    QTest::addColumn<QStringList>("keys"); // of [Timers]
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QByteArray>("sent");

    // clang-format off
    QTest::newRow("two billion: back to the first after the last stored") << QStringList{"nTS=2000000000", "STimer1=um", "STimer2=dois"} << 5 << QByteArray("um\rdois\rum\rdois\rum\r");
    QTest::newRow("count above the messages") << QStringList{"nTS=5", "STimer1=um", "STimer2=dois", "STimer3=tres"} << 4 << QByteArray("um\rdois\rtres\rum\r");
    QTest::newRow("count below the messages") << QStringList{"nTS=1", "STimer1=um", "STimer2=dois"} << 3 << QByteArray("um\rum\rum\r");
    // clang-format on
}

void TestWindowSync::syncRotationUnderAHandEditedCount()
{
    QFETCH(QStringList, keys);
    QFETCH(int, ticks);
    QFETCH(QByteArray, sent);
    WindowSession s(Timers, QStringList{QStringLiteral("TimersOn=1")} + keys);
    QVERIFY(s.connect());
    for (int i = 0; i < ticks; ++i)
        sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), sent);
}

void TestWindowSync::syncSwitching_data()
{
    QTest::addColumn<QStringList>("keys"); // of [Timers]
    QTest::addColumn<bool>("connect");
    QTest::addColumn<QString>("actions"); // of "options", "start", "stop", in order
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("period"); // ms, with STempo counted in milliseconds

    // clang-format off
    QTest::newRow("login starts") << QStringList{"TimersOn=1", "nTS=1", "STimer1=x"} << true << "" << true << 120;
    QTest::newRow("login without messages does not") << QStringList{"TimersOn=1"} << true << "" << false << 120;
    QTest::newRow("options run it without messages") << QStringList{"TimersOn=1"} << true << "options" << true << 120;
    QTest::newRow("login with the switch off does not") << QStringList{"TimersOn=0", "nTS=1", "STimer1=x"} << true << "" << false << 120;
    QTest::newRow("options stop it when switched off") << QStringList{"TimersOn=0", "nTS=1"} << true << "start,options" << false << 120;
    QTest::newRow("options take a longer period") << QStringList{"TimersOn=1", "nTS=1", "STempo=300"} << true << "options" << true << 300;
    QTest::newRow("options keep the minimum period") << QStringList{"TimersOn=1", "nTS=1", "STempo=0"} << true << "options" << true << 120;
    QTest::newRow("options while disconnected stop it") << QStringList{"TimersOn=1", "nTS=1"} << false << "start,options" << false << 120;
    QTest::newRow("started while logged in") << QStringList{} << true << "start" << true << 120;
    QTest::newRow("login with a raised count but no message does not") << QStringList{"TimersOn=1", "nTS=2000000000"} << true << "" << false << 120;
    QTest::newRow("login with a raised count and a message starts") << QStringList{"TimersOn=1", "nTS=2000000000", "STimer7=x"} << true << "" << true << 120;
    QTest::newRow("stopped") << QStringList{"TimersOn=1", "nTS=1"} << true << "stop" << false << 120;
    // clang-format on
}

void TestWindowSync::syncSwitching()
{
    QFETCH(QStringList, keys);
    QFETCH(bool, connect);
    QFETCH(QString, actions);
    WindowSession s(Timers, keys);
    sync(s.w)->setSyncSecondForTests(1);
    if (connect)
        QVERIFY(s.connect());
    // A period typed below the minimum by hand after the window started.
    if (keys.contains(QStringLiteral("STempo=0")))
        Settings::write(*s.w->settings(), Keys::Timers::STempo, 0);
    for (const QString& action : actions.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (action == QLatin1String("options"))
            sync(s.w)->applySyncOptions();
        else if (action == QLatin1String("start"))
            sync(s.w)->startSyncMessages();
        else if (action == QLatin1String("stop"))
            sync(s.w)->stopSyncMessages();
    }
    auto* tmrSinc = s.w->findChild<QTimer*>(QStringLiteral("tmrSinc"));
    QTEST(tmrSinc->isActive(), "running");
    QTEST(tmrSinc->interval(), "period");
}

void TestWindowSync::syncRotationSurvivesReconnection()
{
    WindowSession s(Timers, {QStringLiteral("TimersOn=1"), QStringLiteral("nTS=3"),
                             QStringLiteral("STimer1=um"), QStringLiteral("STimer2=dois"),
                             QStringLiteral("STimer3=tres")});
    QVERIFY(s.connect());
    sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray("um\r"));
    auto* tmrSinc = s.w->findChild<QTimer*>(QStringLiteral("tmrSinc"));
    s.w->feature<ConnectionControl>()->btnDesconectarClick();
    QVERIFY(s.h.server.waitForDisconnect());
    QVERIFY(!tmrSinc->isActive());
    QVERIFY(s.connect());
    QVERIFY(tmrSinc->isActive());
    sync(s.w)->tmrSincTimer();
    QCOMPARE(s.sentSoFar(), QByteArray("dois\r"));
}

// Starting again and confirming the options with the same period, far more often than the
// period, must leave the countdown running to its tick.
void TestWindowSync::runningCountdownIsNotRestarted()
{
    WindowSession s(Timers, {QStringLiteral("TimersOn=1"), QStringLiteral("nTS=1"),
                             QStringLiteral("STimer1=/tick")});
    sync(s.w)->setSyncSecondForTests(2);
    QVERIFY(s.connect());
    auto* tmrSinc = s.w->findChild<QTimer*>(QStringLiteral("tmrSinc"));
    QCOMPARE(tmrSinc->interval(), 240);
    QTimer poke;
    poke.setInterval(5);
    QObject::connect(&poke, &QTimer::timeout, s.w, [&s] {
        sync(s.w)->startSyncMessages();
        sync(s.w)->applySyncOptions();
    });
    poke.start();
    QVERIFY(s.h.server.waitForData("/tick\r", 10000, s.h.server.clientCount() - 1));
}

QTEST_MAIN(TestWindowSync)
#include "tst_window_sync.moc"
