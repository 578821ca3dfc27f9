#include <QLineEdit>
#include <QSystemTrayIcon>
#include <QTest>

#include "WindowHarness.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"
#include "window/WhisperNotices.h"

namespace {

QStringList ini(bool tray = true)
{
    return {"[Geral]",     "Login=visitante", "Senha=segredo", tray ? "Tray=1" : "Tray=0",
            "[Aparencia]", "HorarioMsg=0"};
}

// The notices the window gave, as "message title|text" and "alert".
struct Recorder
{
    explicit Recorder(TfrmMain* w)
    {
        WhisperNotices::NoticeSink sink;
        sink.message = [this](const QString& title, const QString& text) {
            shown << QStringLiteral("message ") + title + QLatin1Char('|') + text;
        };
        sink.alert = [this] { shown << QStringLiteral("alert"); };
        w->findChild<WhisperNotices*>()->setNoticeSinkForTests(sink);
    }
    QStringList shown;
};

} // namespace

class TestWindowNotices : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void inTheTray_data();
    void inTheTray();
    void behindAnotherWindow_data();
    void behindAnotherWindow();
};

void TestWindowNotices::inTheTray_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("shown");
    const QString longText = QString(100, QLatin1Char('x'));
    // clang-format off
    QTest::newRow("whisper") << "1004 WHISPER bob 0000 \"psiu, tá aí?\"" << QStringList{"message bob|psiu, tá aí?", "alert"};
    QTest::newRow("long whisper") << "1004 WHISPER bob 0000 \"" + longText + "\"" << QStringList{"message bob|" + longText.left(80) + QChar(0x2026), "alert"};
    QTest::newRow("our own echo") << "1010 WHISPER bob 0000 \"psiu\"" << QStringList{};
    QTest::newRow("from our own account") << "1004 WHISPER Visitante 0000 \"eu mesmo\"" << QStringList{};
    QTest::newRow("version echo") << "1004 WHISPER bob 0000 \">> ___ >> usando TulmoChat v1.5!\"" << QStringList{};
    // clang-format on
}

// In the tray, a whisper from another account is announced; a click on the message brings the
// window back and the icon goes with the tray as before.
void TestWindowNotices::inTheTray()
{
    QFETCH(QString, line);
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    Recorder recorder(w);
    QVERIFY(h.connectToServer());
    w->showMinimized();
    QVERIFY(WindowHarness::settle(w));
    QVERIFY(w->isHidden());
    QVERIFY(h.serverLine(line));
    QTEST(recorder.shown, "shown");

    Q_EMIT WindowHarness::trayIcon(w)->messageClicked();
    QVERIFY(WindowHarness::settle(w));
    QVERIFY(w->isVisible());
    QVERIFY(!WindowHarness::trayIcon(w)->isVisible());
}

void TestWindowNotices::behindAnotherWindow_data()
{
    QTest::addColumn<bool>("tray"); // the desktop has a tray
    QTest::addColumn<bool>("on");   // Geral/Tray
    QTest::addColumn<QStringList>("shown");
    // clang-format off
    QTest::newRow("icon on") << true << true << QStringList{"message bob|ainda?", "alert"};
    QTest::newRow("icon on, no tray") << false << true << QStringList{"alert"};
    QTest::newRow("icon off") << true << false << QStringList{"alert"};
    QTest::newRow("icon off, no tray") << false << false << QStringList{"alert"};
    // clang-format on
}

// On screen but not active: the icon appears for the message and leaves once the window is
// active again. With no tray, or with the icon switched off, only the taskbar is asked and no
// icon shows at any time.
void TestWindowNotices::behindAnotherWindow()
{
    QFETCH(bool, tray);
    QFETCH(bool, on);
    WindowHarness h(ini(on));
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(tray);
    Recorder recorder(w);
    QSystemTrayIcon* icon = WindowHarness::trayIcon(w);
    QVERIFY(h.connectToServer());
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bob 0000 \"aqui\"")));
    QCOMPARE(recorder.shown, QStringList());

    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(!w->isActiveWindow());
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bob 0000 \"ainda?\"")));
    QTEST(recorder.shown, "shown");
    QCOMPARE(icon->isVisible(), tray && on);

    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QTRY_VERIFY(!icon->isVisible());
    QVERIFY(w->isVisible());
}

QTEST_MAIN(TestWindowNotices)
#include "tst_window_notices.moc"
