#include <QAccessible>
#include <QApplication>
#include <QTest>

#include "WindowHarness.h"
#include "WindowWalk.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante")};

// The controls a screen reader can reach with the keyboard, shown and focusable, that it would
// announce without a name; each as "objectName (role)".
void collectUnnamed(QAccessibleInterface* node, QStringList& unnamed)
{
    if (!node || node->state().invisible)
        return;
    if (node->state().focusable && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* object = node->object();
        unnamed << QStringLiteral("%1 (%2)")
                       .arg(object ? object->objectName() : QStringLiteral("?"))
                       .arg(int(node->role()));
    }
    for (int i = 0; i < node->childCount(); ++i)
        collectUnnamed(node->child(i), unnamed);
}

// The unnamed controls under a shown widget, one a line.
QString unnamedControls(QWidget* shown)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(shown), unnamed);
    return unnamed.join(QLatin1Char('\n'));
}
} // namespace

class TestWindowAccessibility : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mainWindowControlsHaveNames();
    void dialogControlsHaveNames_data();
    void dialogControlsHaveNames();
    void searchAndConnectWindowsHaveNames();
};

// In operator mode, with a locked whisper line open: every control the window has is shown.
void TestWindowAccessibility::mainWindowControlsHaveNames()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    WindowWalk::showEveryControl(w);
    QCOMPARE(WindowWalk::onEveryPage(w, unnamedControls), QString());
}

void TestWindowAccessibility::dialogControlsHaveNames_data()
{
    WindowWalk::addDialogRows();
}

void TestWindowAccessibility::dialogControlsHaveNames()
{
    QFETCH(QString, item);
    WindowHarness h(Plain);
    QCOMPARE(WindowWalk::inDialog(h, item, unnamedControls), QString());
}

void TestWindowAccessibility::searchAndConnectWindowsHaveNames()
{
    WindowHarness h(Plain);
    QCOMPARE(WindowWalk::inConnectAndSearchWindows(h, unnamedControls), QString());
}

QTEST_MAIN(TestWindowAccessibility)
#include "tst_window_accessibility.moc"
