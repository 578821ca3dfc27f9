#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include "WindowHarness.h"
#include "view/ChatView.h"
#include "window/ReadMarker.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"

namespace {

QStringList ini()
{
    return {"[Geral]", "Login=visitante", "Senha=segredo", "Tray=1", "[Aparencia]", "HorarioMsg=0"};
}

// The text of the paragraph the channel pane marks, and whether the line is drawn.
QString marked(TfrmMain* w)
{
    const ChatView* pane = w->chatPane();
    const int p = pane->readMarker();
    const QString text = p >= 0 ? pane->document().paragraphText(p) : QStringLiteral("-");
    return text + (pane->isReadMarkerShown() ? QStringLiteral(" (drawn)") : QString());
}

ReadMarker* readMarker(TfrmMain* w)
{
    return w->findChild<ReadMarker*>();
}

bool activate(QWidget* window)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

} // namespace

class TestWindowReadMarker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lookingAwayAndBack();
    void trayAndClear();
    void ownDialogsAreNoLookingAway();
};

void TestWindowReadMarker::lookingAwayAndBack()
{
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"lida\"")));
    QCOMPARE(marked(w), QStringLiteral("-"));

    QWidget other;
    other.show();
    QVERIFY(activate(&other));
    QVERIFY(!w->isActiveWindow());
    // Nothing arrived yet: the place is kept, nothing is drawn.
    QCOMPARE(marked(w), QStringLiteral("marca 1"));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"nova\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 1 (drawn)"));

    // A glance at the window does not take the line away, nor does leaving again move it.
    readMarker(w)->setReadMarkerDelayForTests(60000);
    QVERIFY(activate(w));
    QTimer* timer = w->findChild<QTimer*>(QStringLiteral("tmrLido"));
    QVERIFY(timer->isActive());
    QVERIFY(activate(&other));
    QVERIFY(!timer->isActive());
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"outra\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 1 (drawn)"));

    // Focus kept for the whole delay removes it.
    readMarker(w)->setReadMarkerDelayForTests(50);
    QVERIFY(activate(w));
    QTRY_COMPARE(marked(w), QStringLiteral("-"));

    // The next time away starts from the last line then.
    QVERIFY(activate(&other));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"depois\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 3 (drawn)"));
}

void TestWindowReadMarker::trayAndClear()
{
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    readMarker(w)->setReadMarkerDelayForTests(50);
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"lida\"")));

    w->findChild<TrayIcon*>()->atalhoMinExecute();
    QVERIFY(w->isHidden());
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"nova\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 1 (drawn)"));
    const QString text = WindowHarness::lastText(w->chatPane(), 1);

    w->findChild<TrayIcon*>()->TrayClick();
    QVERIFY(activate(w));
    QTRY_COMPARE(marked(w), QStringLiteral("-"));
    // The marker never was a line of the pane.
    QCOMPARE(WindowHarness::lastText(w->chatPane(), 1), text);

    // Clearing the pane takes the line with it.
    QWidget other;
    other.show();
    QVERIFY(activate(&other));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"mais\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 2 (drawn)"));
    w->findChild<QAction*>(QStringLiteral("mnuLimpaTelaChat"))->trigger();
    QCOMPARE(marked(w), QStringLiteral("-"));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"limpa\"")));
    QCOMPARE(marked(w), QStringLiteral("-"));
}

// The window's own dialogs keep the user with the program: the connect dialog and any dialog of
// the window, however deep, mark nothing. Another program taking the focus from one of them does.
void TestWindowReadMarker::ownDialogsAreNoLookingAway()
{
    WindowHarness h(ini());
    TfrmMain* w = h.window.get();
    w->info(QStringLiteral("antes"));
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"conectado\"")));
    QCOMPARE(marked(w), QStringLiteral("-"));

    QDialog dialog(w);
    dialog.show();
    QVERIFY(activate(&dialog));
    QVERIFY(!w->isActiveWindow());
    QDialog inner(&dialog);
    inner.show();
    QVERIFY(activate(&inner));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"no diálogo\"")));
    QCOMPARE(marked(w), QStringLiteral("-"));

    QWidget other;
    other.show();
    QVERIFY(activate(&other));
    QVERIFY(h.serverLine(QStringLiteral("1018 INFO \"fora\"")));
    QCOMPARE(marked(w), QStringLiteral("marca 2 (drawn)"));
}

QTEST_MAIN(TestWindowReadMarker)
#include "tst_window_readmarker.moc"
