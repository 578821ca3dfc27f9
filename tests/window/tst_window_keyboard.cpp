#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>

#include <functional>

#include "WindowHarness.h"
#include "chat/UserListModel.h"
#include "net/TGatewayChat.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};

QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// Gives name the focus and waits until it has it.
bool focusOn(TfrmMain* w, const QString& name)
{
    w->findChild<QWidget*>(name)->setFocus();
    return QTest::qWaitFor([&name] { return focusName() == name; });
}

QMenu* openPopup(TfrmMain* w)
{
    for (const char* name : {"popChat", "popUsers", "popCustom"}) {
        auto* menu = w->findChild<QMenu*>(QLatin1String(name));
        if (menu->isVisible())
            return menu;
    }
    return nullptr;
}
} // namespace

class TestWindowKeyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void f6MovesBetweenRegions_data();
    void f6MovesBetweenRegions();
    void shiftF10OpensTheFocusedMenu_data();
    void shiftF10OpensTheFocusedMenu();
    void userMenuWorksWithoutAMouse();
};

void TestWindowKeyboard::f6MovesBetweenRegions_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<bool>("opMode");  // shows the suspect list
    QTest::addColumn<bool>("locked");  // a locked whisper line is open
    QTest::addColumn<QString>("keys"); // ">" F6, "<" Shift+F6
    QTest::addColumn<QStringList>("path");

    // clang-format off
    QTest::newRow("forward, round") << "txtMsg" << false << false << ">>>>" << QStringList{"txtChat", "txtWhisps", "lstUsers", "txtMsg"};
    QTest::newRow("backward, round") << "txtMsg" << false << false << "<<<<" << QStringList{"lstUsers", "txtWhisps", "txtChat", "txtMsg"};
    QTest::newRow("there and back") << "txtWhisps" << false << false << "><" << QStringList{"lstUsers", "txtWhisps"};
    QTest::newRow("suspect list when shown") << "lstUsers" << true << false << ">><" << QStringList{"lstCustom", "txtMsg", "lstCustom"};
    QTest::newRow("from a button, forward") << "btnEnviar" << false << false << ">" << QStringList{"txtMsg"};
    QTest::newRow("from a button, backward") << "btnEnviar" << false << false << "<" << QStringList{"lstUsers"};
    QTest::newRow("locked line is the input line") << "txtWhisp1" << false << true << "><" << QStringList{"txtChat", "txtWhisp1"};
    QTest::newRow("round from a locked line") << "txtWhisp1" << false << true << "<<<<" << QStringList{"lstUsers", "txtWhisps", "txtChat", "txtWhisp1"};
    QTest::newRow("input line used last") << "txtMsg" << false << true << "<<<<" << QStringList{"lstUsers", "txtWhisps", "txtChat", "txtMsg"};
    // clang-format on
}

void TestWindowKeyboard::f6MovesBetweenRegions()
{
    QFETCH(QString, from);
    QFETCH(bool, opMode);
    QFETCH(bool, locked);
    QFETCH(QString, keys);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    if (opMode)
        w->findChild<Moderation*>()->enterOpMode();
    if (locked)
        w->lockWhisps()->addLock(QStringLiteral("ana"));
    QVERIFY(focusOn(w, from));
    QStringList path;
    for (const QChar key : keys) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6,
                        key == QLatin1Char('<') ? Qt::ShiftModifier : Qt::NoModifier);
        path << focusName();
    }
    QTEST(path, "path");
}

void TestWindowKeyboard::shiftF10OpensTheFocusedMenu_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("menu"); // empty: none of the window's popups

    // clang-format off
    QTest::newRow("channel pane") << "txtChat" << "popChat";
    QTest::newRow("whisper pane") << "txtWhisps" << "popChat";
    QTest::newRow("user list") << "lstUsers" << "popUsers";
    QTest::newRow("suspect list") << "lstCustom" << "popCustom";
    QTest::newRow("input line: its own menu") << "txtMsg" << "";
    // clang-format on
}

void TestWindowKeyboard::shiftF10OpensTheFocusedMenu()
{
    QFETCH(QString, focus);
    QFETCH(QString, menu);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->findChild<Moderation*>()->enterOpMode();
    QVERIFY(focusOn(w, focus));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    QMenu* opened = openPopup(w);
    QCOMPARE(opened ? opened->objectName() : QString(), menu);
    QApplication::activePopupWidget()->close();
}

// F6 to the list, a row chosen with the arrows, Shift+F10, and the menu worked with the arrows
// and Enter: the item acts on the row selected.
void TestWindowKeyboard::userMenuWorksWithoutAMouse()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.serverLine(QStringLiteral("1007 CHANNEL \"Chat\"")));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER ana 0000 [D2XP]")));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER bob 0000 [CHAT]")));
    QVERIFY(focusOn(w, QStringLiteral("txtWhisps")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    QCOMPARE(focusName(), QStringLiteral("lstUsers"));
    auto* list = w->findChild<QTreeView*>(QStringLiteral("lstUsers"));
    const QModelIndex bob = w->users()->index(w->users()->indexOf(QStringLiteral("bob")), 0);
    while (list->currentIndex().row() != bob.row())
        QTest::keyClick(list, list->currentIndex().row() < bob.row() ? Qt::Key_Down : Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    auto* menu = w->findChild<QMenu*>(QStringLiteral("popUsers"));
    QTRY_VERIFY(menu->isVisible());
    // At the row: its top left corner lies on the row.
    const QRect row(list->viewport()->mapToGlobal(list->visualRect(bob).topLeft()),
                    list->visualRect(bob).size());
    QVERIFY2(
        menu->geometry().top() >= row.top() && menu->geometry().top() <= row.bottom(),
        qPrintable(
            QStringLiteral("menu at %1, row at %2").arg(menu->geometry().top()).arg(row.top())));
    h.server.clearReceived();
    // Kick, Ban, then Whois (Kill is hidden, separators are passed over).
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QCOMPARE(menu->activeAction()->objectName(), QStringLiteral("Whois1"));
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(h.server.waitForData("/whois bob\r"));
    QVERIFY(h.prompts.errors.isEmpty());
}

QTEST_MAIN(TestWindowKeyboard)
#include "tst_window_keyboard.moc"
