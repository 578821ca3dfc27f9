#include "WindowWalk.h"

#include <QAction>
#include <QDialog>
#include <QStringList>
#include <QTabWidget>
#include <QTest>

#include "WindowHarness.h"
#include "tools/TfrmBusca.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmConectar.h"
#include "window/TfrmMain.h"

namespace WindowWalk {

void showEveryControl(TfrmMain* window)
{
    window->feature<Moderation>()->enterOpMode();
    window->lockWhisps()->addLock(QStringLiteral("ana"));
}

QString onEveryPage(QWidget* top, const Inspection& inspect)
{
    QStringList found = {inspect(top)};
    for (QTabWidget* tabs : top->findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            found << inspect(tabs->widget(page));
        }
    }
    found = found.join(QLatin1Char('\n')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    found.removeDuplicates();
    return found.join(QLatin1Char('\n'));
}

void addDialogRows()
{
    QTest::addColumn<QString>("item"); // the menu item that opens the dialog

    // clang-format off
    QTest::newRow("options") << "mnuOpcoes";
    QTest::newRow("phrase shortcuts") << "mnuConfigAtalhos";
    QTest::newRow("favourite channels") << "mnuOrgCanal";
    QTest::newRow("about box") << "mnuSobre";
    // clang-format on
}

QString inDialog(WindowHarness& h, const QString& item, const Inspection& inspect)
{
    QString found = QStringLiteral("(the dialog did not open)");
    h.prompts.dialogs.enqueue([&found, &inspect](QDialog& dialog) {
        dialog.show();
        if (QTest::qWaitForWindowExposed(&dialog))
            found = onEveryPage(&dialog, inspect);
        return int(QDialog::Rejected);
    });
    h.window->findChild<QAction*>(item)->trigger();
    return found;
}

QString inConnectAndSearchWindows(WindowHarness& h, const Inspection& inspect)
{
    TfrmMain* w = h.window.get();
    auto* connecting = new TfrmConectar(w->chatInterface(), w->settings(), w);
    connecting->show();
    if (!QTest::qWaitForWindowExposed(connecting))
        return QStringLiteral("(the connect-wait window was not shown)");
    QString found = onEveryPage(connecting, inspect);
    connecting->close();
    if (!h.connectToServer())
        return QStringLiteral("(no connection)");
    w->findChild<QAction*>(QStringLiteral("CtrlF"))->trigger();
    auto* busca = w->findChild<TfrmBusca*>();
    if (!busca || !QTest::qWaitForWindowExposed(busca))
        return QStringLiteral("(the search window was not shown)");
    found += QLatin1Char('\n') + onEveryPage(busca, inspect);
    return found.trimmed();
}

} // namespace WindowWalk
