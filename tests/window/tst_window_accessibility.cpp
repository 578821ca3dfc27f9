#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <QTest>

#include <functional>

#include "WindowHarness.h"
#include "tools/TfrmBusca.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmConectar.h"
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

// The unnamed controls of a window, on every page of its tab controls, one a line.
QString unnamedControls(QWidget* top)
{
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(top), unnamed);
    for (QTabWidget* tabs : top->findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            collectUnnamed(QAccessible::queryAccessibleInterface(tabs->widget(page)), unnamed);
        }
    }
    unnamed.removeDuplicates();
    return unnamed.join(QLatin1Char('\n'));
}

// Opens a dialog of the window by running `open`, and lists its unnamed controls.
QString unnamedInDialog(WindowHarness& h, const std::function<void()>& open)
{
    QString unnamed = QStringLiteral("(the dialog did not open)");
    h.prompts.dialogs.enqueue([&unnamed](QDialog& dialog) {
        dialog.show();
        unnamed = unnamedControls(&dialog);
        return int(QDialog::Rejected);
    });
    open();
    return unnamed;
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
    w->findChild<Moderation*>()->enterOpMode();
    w->lockWhisps()->addLock(QStringLiteral("ana"));
    QCOMPARE(unnamedControls(w), QString());
}

void TestWindowAccessibility::dialogControlsHaveNames_data()
{
    QTest::addColumn<QString>("item"); // the menu item that opens the dialog

    // clang-format off
    QTest::newRow("options") << "mnuOpcoes";
    QTest::newRow("phrase shortcuts") << "mnuConfigAtalhos";
    QTest::newRow("favourite channels") << "mnuOrgCanal";
    QTest::newRow("about box") << "mnuSobre";
    // clang-format on
}

void TestWindowAccessibility::dialogControlsHaveNames()
{
    QFETCH(QString, item);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QCOMPARE(unnamedInDialog(h, [w, &item] { w->findChild<QAction*>(item)->trigger(); }),
             QString());
}

void TestWindowAccessibility::searchAndConnectWindowsHaveNames()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    auto* connecting = new TfrmConectar(w->chatInterface(), w->settings(), w);
    connecting->show();
    QCOMPARE(unnamedControls(connecting), QString());
    connecting->close();
    QVERIFY(h.connectToServer());
    w->findChild<QAction*>(QStringLiteral("CtrlF"))->trigger();
    auto* busca = w->findChild<TfrmBusca*>();
    QVERIFY(busca);
    QVERIFY(QTest::qWaitForWindowExposed(busca));
    QCOMPARE(unnamedControls(busca), QString());
}

QTEST_MAIN(TestWindowAccessibility)
#include "tst_window_accessibility.moc"
