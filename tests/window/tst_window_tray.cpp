#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTest>

#include "WindowHarness.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"

namespace {

QStringList ini(bool tray)
{
    return {"[Geral]",     "Login=visitante", "Senha=segredo", tray ? "Tray=1" : "Tray=0",
            "[Aparencia]", "HorarioMsg=0"};
}

// "hidden", "minimized" or "shown", and whether the icon is in the tray.
QString state(TfrmMain* w)
{
    const QString window = w->isHidden()      ? QStringLiteral("hidden")
                           : w->isMinimized() ? QStringLiteral("minimized")
                                              : QStringLiteral("shown");
    return window + (WindowHarness::trayIcon(w)->isVisible() ? QStringLiteral("+icon") : QString());
}

// What the panes and the input line hold, to see that nothing touched them.
QStringList contents(TfrmMain* w)
{
    QStringList result;
    for (const ChatView* pane : {w->chatPane(), w->whisperPane()}) {
        result << QString::number(WindowHarness::paragraphs(pane));
        for (int back = 0; back < WindowHarness::paragraphs(pane); ++back)
            result << WindowHarness::lastText(pane, back);
    }
    result << w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->text();
    return result;
}

} // namespace

class TestWindowTray : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void minimizing_data();
    void minimizing();
    void minimizeKey_data();
    void minimizeKey();
    void clickRestores_data();
    void clickRestores();
    void shiftedKeyThroughTheKeyboardMap_data();
    void shiftedKeyThroughTheKeyboardMap();
};

void TestWindowTray::minimizing_data()
{
    QTest::addColumn<bool>("tray");      // Geral/Tray at start-up
    QTest::addColumn<bool>("available"); // the desktop has a tray
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("to the tray") << true << true << "hidden+icon";
    QTest::newRow("tray off") << false << true << "minimized";
    QTest::newRow("no tray on the desktop") << true << false << "minimized";
    // clang-format on
}

void TestWindowTray::minimizing()
{
    QFETCH(bool, tray);
    QFETCH(bool, available);
    WindowHarness h(ini(tray));
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(available);
    QCOMPARE(state(w), QStringLiteral("shown"));
    w->showMinimized();
    QVERIFY(WindowHarness::settle(w));
    QTEST(state(w), "after");
}

void TestWindowTray::minimizeKey_data()
{
    QTest::addColumn<bool>("trayAtStart");
    QTest::addColumn<bool>("trayAtPress"); // Geral/Tray when the key is pressed
    QTest::addColumn<bool>("available");
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("on") << true << true << true << "hidden+icon";
    QTest::newRow("switched on after start-up") << false << true << true << "hidden+icon";
    QTest::newRow("off") << false << false << true << "shown";
    QTest::newRow("switched off after start-up") << true << false << true << "shown";
    QTest::newRow("no tray on the desktop") << true << true << false << "minimized";
    // clang-format on
}

// The key of Geral/AtalhoMin, pressed for real: Geral/Tray is read at the press.
void TestWindowTray::minimizeKey()
{
    QFETCH(bool, trayAtStart);
    QFETCH(bool, trayAtPress);
    QFETCH(bool, available);
    WindowHarness h(ini(trayAtStart) << "[Geral]"
                                     << "AtalhoMin=Ctrl+F11");
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(available);
    QCOMPARE(w->findChild<QAction*>(QStringLiteral("atalhoMin"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+F11")));
    Settings::write(*w->settings(), Keys::Geral::Tray, trayAtPress);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("txtMsg")), Qt::Key_F11,
                    Qt::ControlModifier);
    QVERIFY(WindowHarness::settle(w));
    QTEST(state(w), "after");
}

void TestWindowTray::clickRestores_data()
{
    QTest::addColumn<int>("reason"); // QSystemTrayIcon::ActivationReason
    QTest::addColumn<QString>("after");
    // clang-format off
    QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << "shown";
    QTest::newRow("context menu click") << int(QSystemTrayIcon::Context) << "hidden+icon";
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << "hidden+icon";
    // clang-format on
}

// The window comes back as it went: connected, its panes and its input line as they were.
void TestWindowTray::clickRestores()
{
    QFETCH(int, reason);
    WindowHarness h(ini(true));
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1004 WHISPER bob 0000 \"psiu\"")));
    w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->setText(QStringLiteral("meio escrito"));
    const QStringList before = contents(w);

    w->showMinimized();
    QVERIFY(WindowHarness::settle(w));
    QCOMPARE(state(w), QStringLiteral("hidden+icon"));
    Q_EMIT WindowHarness::trayIcon(w)->activated(QSystemTrayIcon::ActivationReason(reason));
    QVERIFY(WindowHarness::settle(w));
    QTEST(state(w), "after");
    QCOMPARE(contents(w), before);
    QVERIFY(w->loggedIn());

    // Once back, it goes to the tray again.
    if (!w->isHidden()) {
        w->showMinimized();
        QVERIFY(WindowHarness::settle(w));
        QCOMPARE(state(w), QStringLiteral("hidden+icon"));
    }
    // The connection went on all along: the server's lines still arrive.
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"ainda aqui\"")));
}

void TestWindowTray::shiftedKeyThroughTheKeyboardMap_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");  // as xdotool names the keys
    QTest::addColumn<bool>("fromInput"); // pressed in the input line, not in a pane
    // clang-format off
    QTest::newRow("Shift+1") << "Shift+1" << "shift+1" << false;
    QTest::newRow("Shift+Ctrl+2") << "Shift+Ctrl+2" << "ctrl+shift+2" << false;
    QTest::newRow("Shift+1 in the input line") << "Shift+1" << "shift+1" << true;
    // clang-format on
}

// A stored "Shift+1" fires although the keyboard gives "!" for it: Qt matches shortcuts through
// the X keyboard map, which QTest's key events never pass, so the keys go through xdotool.
void TestWindowTray::shiftedKeyThroughTheKeyboardMap()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, fromInput);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("the X keyboard map is met under the xcb platform only");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is not installed");
    WindowHarness h(ini(true) << "[Geral]"
                              << "AtalhoMin=" + stored);
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    QVERIFY(QTest::qWaitForWindowActive(w));
    // The input line types what Shift gives ("!") unless the key names a shortcut as pressed.
    QWidget* target = w->chatPane();
    if (fromInput)
        target = w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), typed});
    QVERIFY(xdotool.waitForFinished());
    QCOMPARE(xdotool.exitCode(), 0);
    QTRY_COMPARE(state(w), QStringLiteral("hidden+icon"));
    QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtMsg"))->text(), QString());
}

QTEST_MAIN(TestWindowTray)
#include "tst_window_tray.moc"
