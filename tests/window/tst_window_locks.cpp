#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "WindowHarness.h"
#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\r\r\r/join Chat\r");
const QString Full = QStringLiteral("Numero máximo de lock whisps atingido!");

template <typename T = QWidget>
T* child(TfrmMain* w, const QString& name)
{
    return w->findChild<T*>(name);
}

QLineEdit* edit(TfrmMain* w, int n)
{
    return child<QLineEdit>(w, QStringLiteral("txtWhisp%1").arg(n));
}

void typeLine(TfrmMain* w, const QString& text)
{
    auto* input = child<QLineEdit>(w, QStringLiteral("txtMsg"));
    input->setFocus();
    QTest::keyClicks(input, text);
    QTest::keyClick(input, Qt::Key_Return);
}

// The five lines as "account" when open, "-" when hidden; a draft typed in a line follows its
// account after "=".
QString lines(TfrmMain* w)
{
    QStringList shown;
    for (int n = 1; n <= TLockWhisps::MaxLocks; ++n) {
        QString line = child(w, QStringLiteral("pnlWhispLock%1").arg(n))->isVisible()
                           ? child<QLabel>(w, QStringLiteral("lblAccWhisp%1").arg(n))->text()
                           : QStringLiteral("-");
        if (!edit(w, n)->text().isEmpty())
            line += QLatin1Char('=') + edit(w, n)->text();
        shown << line;
    }
    return shown.join(QLatin1Char(' '));
}

int stripHeight(TfrmMain* w)
{
    return child(w, QStringLiteral("pnlRodape"))->height();
}

// The one of btnEnviar, btnWhispar1 .. btnWhispar5 that is the default button; "" if none,
// "several" if more than one.
QString defaultButton(TfrmMain* w)
{
    QStringList marked;
    for (QPushButton* button : w->findChildren<QPushButton*>()) {
        if (button->isDefault())
            marked << button->objectName();
    }
    return marked.size() > 1 ? QStringLiteral("several") : marked.value(0);
}

QString focused()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}
} // namespace

class TestWindowLocks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lockCommand_data();
    void lockCommand();
    void menuLock_data();
    void menuLock();
    void closing_data();
    void closing();
    void whispering_data();
    void whispering();
    void whoisByLabel();
    void heldBackWhileLoginPending();
    void defaultButtonFollowsTheFocus();
    void keyboardCueFollowsTheFocus();
    void tabWalksTheOpenLines();
    void lockScrollsTheChat_data();
    void lockScrollsTheChat();
};

void TestWindowLocks::lockCommand_data()
{
    QTest::addColumn<QStringList>("open"); // locked before the command
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("height");

    // clang-format off
    QTest::newRow("two accounts, any case") << QStringList() << "/LoCk ana bia" << "ana bia - - -" << 92;
    QTest::newRow("extra accounts dropped") << QStringList() << "/lock a b c d e f g" << "a b c d e" << 182;
    QTest::newRow("fills the free lines") << QStringList{"x", "y", "z"} << "/lock a b c d" << "x y z a b" << 182;
    QTest::newRow("all lines taken") << QStringList{"v", "w", "x", "y", "z"} << "/lock a" << "v w x y z" << 182;
    QTest::newRow("no account") << QStringList() << "/lock" << "- - - - -" << 32;
    QTest::newRow("same account twice") << QStringList() << "/lock ana ana" << "ana ana - - -" << 92;
    QTest::newRow("quoted account") << QStringList() << "/lock \"a b\" c" << "a b c - - -" << 92;
    // clang-format on
}

// "/lock" opens lines without a warning, and the focus ends in the input line.
void TestWindowLocks::lockCommand()
{
    QFETCH(QStringList, open);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, height);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    for (const QString& account : open)
        w->lockWhisps()->addLock(account);
    typeLine(w, typed);
    QCOMPARE(lines(w), shown);
    QTRY_COMPARE(stripHeight(w), height);
    QCOMPARE(h.prompts.messages, QStringList());
    QCOMPARE(focused(), QStringLiteral("txtMsg"));
    QCOMPARE(defaultButton(w), QStringLiteral("btnEnviar"));
}

void TestWindowLocks::menuLock_data()
{
    QTest::addColumn<int>("open");
    QTest::addColumn<bool>("select");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("warnings");

    // clang-format off
    QTest::newRow("first line") << 0 << true << "ana - - - -" << 62 << "txtWhisp1" << QStringList();
    QTest::newRow("third line") << 2 << true << "a1 a2 ana - -" << 122 << "txtWhisp3" << QStringList();
    QTest::newRow("sixth warns") << 5 << true << "a1 a2 a3 a4 a5" << 182 << "txtMsg" << QStringList{Full};
    QTest::newRow("nothing selected") << 0 << false << "- - - - -" << 32 << "txtMsg" << QStringList();
    // clang-format on
}

// "Lockar Whisp" on the user list opens a line for the selected account and leaves the focus in
// it, so that Enter whispers.
void TestWindowLocks::menuLock()
{
    QFETCH(int, open);
    QFETCH(bool, select);
    QFETCH(QString, shown);
    QFETCH(int, height);
    QFETCH(QString, focus);
    QFETCH(QStringList, warnings);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    for (int i = 1; i <= open; ++i)
        w->lockWhisps()->addLock(QStringLiteral("a%1").arg(i));
    child<QLineEdit>(w, QStringLiteral("txtMsg"))->setFocus();
    w->users()->addUser(QStringLiteral("bob"), QStringLiteral("0000"), QStringLiteral("CHAT"));
    w->users()->addUser(QStringLiteral("ana"), QStringLiteral("0000"), QStringLiteral("CHAT"));
    auto* users = child<QTreeView>(w, QStringLiteral("lstUsers"));
    if (select)
        users->setCurrentIndex(w->users()->index(w->users()->indexOf(QStringLiteral("ana")), 0));
    child<QAction>(w, QStringLiteral("LockarWhisp1"))->trigger();
    QCOMPARE(lines(w), shown);
    QTRY_COMPARE(stripHeight(w), height);
    QCOMPARE(h.prompts.warnings, warnings);
    QCOMPARE(h.prompts.messages, QStringList());
    QTRY_COMPARE(focused(), focus);
    QCOMPARE(defaultButton(w), focus == QLatin1String("txtMsg")
                                   ? QStringLiteral("btnEnviar")
                                   : QStringLiteral("btnWhispar") + focus.right(1));
}

void TestWindowLocks::closing_data()
{
    QTest::addColumn<int>("closed");
    QTest::addColumn<QString>("shown");

    // clang-format off
    QTest::newRow("first of three") << 1 << "bia=p/bia caio=p/caio - - -";
    QTest::newRow("middle") << 2 << "ana=p/ana caio=p/caio - - -";
    QTest::newRow("last") << 3 << "ana=p/ana bia=p/bia - - -";
    // clang-format on
}

// Closing a line moves the later lines down one, each with its account and its draft; the
// closed line's draft goes with it, and the emptied top line opens empty again.
void TestWindowLocks::closing()
{
    QFETCH(int, closed);
    QFETCH(QString, shown);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    typeLine(w, QStringLiteral("/lock ana bia caio"));
    for (int n = 1; n <= 3; ++n)
        QTest::keyClicks(edit(w, n),
                         QStringLiteral("p/") +
                             child<QLabel>(w, QStringLiteral("lblAccWhisp%1").arg(n))->text());
    edit(w, closed)->setFocus();
    QTest::mouseClick(child(w, QStringLiteral("btnFecharWhispLock%1").arg(closed)), Qt::LeftButton);
    QCOMPARE(lines(w), shown);
    QCOMPARE(w->lockWhisps()->getNumLocks(), 2);
    QTRY_COMPARE(stripHeight(w), 92);
    QCOMPARE(focused(), QStringLiteral("txtMsg"));
    QCOMPARE(defaultButton(w), QStringLiteral("btnEnviar"));
    typeLine(w, QStringLiteral("/lock davi"));
    QCOMPARE(lines(w), shown.replace(QStringLiteral(" - - -"), QStringLiteral(" davi - -")));
}

void TestWindowLocks::whispering_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter"); // Enter in the edit, else a click on "Whispar"
    QTest::addColumn<QByteArray>("sent");

    // clang-format off
    QTest::newRow("enter") << "oi" << true << QByteArray("/w bia oi\r");
    QTest::newRow("button") << "tudo bem?" << false << QByteArray("/w bia tudo bem?\r");
    QTest::newRow("blanks are sent as typed") << "  x " << true << QByteArray("/w bia   x \r");
    QTest::newRow("empty, enter") << "" << true << QByteArray();
    QTest::newRow("empty, button") << "" << false << QByteArray();
    // clang-format on
}

// A line whispers its text to its account; the whisper is neither shown nor kept in the history
// here (the server's echo shows it).
void TestWindowLocks::whispering()
{
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QByteArray, sent);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    typeLine(w, QStringLiteral("/lock ana bia"));
    const int lines = WindowHarness::paragraphs(w->whisperPane());
    QLineEdit* line2 = edit(w, 2);
    line2->setFocus();
    QTest::keyClicks(line2, typed);
    if (enter)
        QTest::keyClick(line2, Qt::Key_Return);
    else
        QTest::mouseClick(child(w, QStringLiteral("btnWhispar2")), Qt::LeftButton);
    QCOMPARE(line2->text(), QString());
    // A whisper sent gives its line the focus back.
    if (enter || !sent.isEmpty())
        QCOMPARE(focused(), QStringLiteral("txtWhisp2"));
    QCOMPARE(WindowHarness::paragraphs(w->whisperPane()), lines);
    QCOMPARE(w->fastNicks()->msgCount(), 1); // the "/lock" line
    typeLine(w, QStringLiteral("/marca"));
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), sent + "/marca\r");
}

void TestWindowLocks::whoisByLabel()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    typeLine(w, QStringLiteral("/lock ana bia caio"));
    QTest::mouseClick(child(w, QStringLiteral("lblAccWhisp3")), Qt::LeftButton);
    // A press elsewhere, released outside the label, is no click.
    auto* label = child<QLabel>(w, QStringLiteral("lblAccWhisp1"));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
    typeLine(w, QStringLiteral("/marca"));
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), QByteArray("/whois caio\r/marca\r"));
}

// Until the server takes the login it reads our lines as the next account and password: a
// whisper stays in its line.
void TestWindowLocks::heldBackWhileLoginPending()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    h.confirmLogins = false;
    QTest::mouseClick(child(w, QStringLiteral("btnConectar")), Qt::LeftButton);
    QVERIFY(h.server.waitForClient());
    QVERIFY(h.server.waitForData("\x03\x04visitante\r\r\r"));
    QVERIFY(QTest::qWaitFor(
        [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000));
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QVERIFY(w->feature<ConnectionControl>()->loginPending());
    h.server.clearReceived();
    typeLine(w, QStringLiteral("/lock ana"));
    edit(w, 1)->setFocus();
    QTest::keyClicks(edit(w, 1), QStringLiteral("segredo"));
    QTest::keyClick(edit(w, 1), Qt::Key_Return);
    QTest::mouseClick(child(w, QStringLiteral("lblAccWhisp1")), Qt::LeftButton);
    QCOMPARE(edit(w, 1)->text(), QStringLiteral("segredo"));
    QCOMPARE(WindowHarness::lastText(w->chatPane()),
             QStringLiteral("Aguardando a confirmação do login; a linha não foi enviada."));
    h.server.sendLine(QStringLiteral("2010 NAME visitante"));
    QVERIFY(QTest::qWaitFor([w] { return w->loggedIn(); }));
    typeLine(w, QStringLiteral("/marca"));
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), QByteArray("/join Chat\r/marca\r"));
}

void TestWindowLocks::defaultButtonFollowsTheFocus()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    typeLine(w, QStringLiteral("/lock ana bia caio"));
    QStringList seen;
    for (const char* name : {"txtWhisp2", "txtWhisp3", "txtMsg", "txtWhisp1"}) {
        child(w, QLatin1String(name))->setFocus();
        QTRY_COMPARE(focused(), QLatin1String(name));
        seen << defaultButton(w);
    }
    QCOMPARE(seen, (QStringList{"btnWhispar2", "btnWhispar3", "btnEnviar", "btnWhispar1"}));
}

// With lines open, only the edit that has the keyboard wears the bright border, and its line's
// account is in bold: Enter sends from there.
void TestWindowLocks::keyboardCueFollowsTheFocus()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    typeLine(w, QStringLiteral("/lock ana bia caio"));
    const QColor cue(0xff, 0xb0, 0x00);
    QStringList seen;
    for (const char* name : {"txtWhisp2", "txtMsg", "txtWhisp3", "txtWhisp1"}) {
        child(w, QLatin1String(name))->setFocus();
        QTRY_COMPARE(focused(), QLatin1String(name));
        QStringList marked;
        for (const char* other :
             {"txtMsg", "txtWhisp1", "txtWhisp2", "txtWhisp3", "txtWhisp4", "txtWhisp5"}) {
            QLineEdit* edit = child<QLineEdit>(w, QLatin1String(other));
            const bool has = edit->property("hasKeyboard").toBool();
            if (has)
                marked << QLatin1String(other);
            const QImage look = edit->grab().toImage();
            QCOMPARE(look.pixelColor(0, look.height() / 2) == cue, has);
        }
        for (int n = 1; n <= 5; ++n) {
            if (child<QLabel>(w, QStringLiteral("lblAccWhisp%1").arg(n))->font().bold())
                marked << QStringLiteral("bold %1").arg(n);
        }
        seen << marked.join(QLatin1Char(','));
    }
    QCOMPARE(seen,
             (QStringList{"txtWhisp2,bold 2", "txtMsg", "txtWhisp3,bold 3", "txtWhisp1,bold 1"}));
}

// Shift+Tab walks up from the input line through the open lines, Tab walks back down; the walk
// follows lines opened and closed by the commands, and never lands in a hidden line.
void TestWindowLocks::tabWalksTheOpenLines()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    typeLine(w, QStringLiteral("/lock ana bia caio"));
    QStringList path;
    const auto press = [&path](Qt::Key key) {
        if (key == Qt::Key_Backtab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(QApplication::focusWidget(), key);
        path << focused();
    };
    for (int i = 0; i < 4; ++i)
        press(Qt::Key_Backtab);
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Tab);
    QCOMPARE(path, (QStringList{"txtWhisp1", "txtWhisp2", "txtWhisp3", "txtWhisp2", "txtWhisp1",
                                "txtMsg", "txtMsg"}));
    QCOMPARE(child<QLineEdit>(w, QStringLiteral("txtMsg"))->text(), QString());

    QTest::mouseClick(child(w, QStringLiteral("btnFecharWhispLock2")), Qt::LeftButton);
    path.clear();
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Backtab);
    press(Qt::Key_Tab);
    QCOMPARE(path, (QStringList{"txtWhisp1", "txtWhisp2", "txtWhisp1", "txtMsg"}));
    QCOMPARE(lines(w), QStringLiteral("ana caio - - -"));
}

void TestWindowLocks::lockScrollsTheChat_data()
{
    QTest::addColumn<bool>("autoScroll");
    QTest::newRow("auto-scroll on") << true;
    QTest::newRow("auto-scroll off") << false;
}

// Opening a line makes the panes shorter; with "Auto-Rolagem" ticked the channel pane is then
// scrolled to its end, otherwise it stays where the user left it.
void TestWindowLocks::lockScrollsTheChat()
{
    QFETCH(bool, autoScroll);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    if (!autoScroll)
        typeLine(w, QStringLiteral("/ascroll"));
    ChatView* pane = w->chatPane();
    for (int i = 0; i < 200; ++i)
        pane->appendLine(QStringLiteral("linha %1").arg(i), 7);
    pane->reformat();
    QScrollBar* bar = pane->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 0);
    bar->setValue(0);
    const int height = pane->height();
    const int maximum = bar->maximum();
    w->lockWhisps()->addLock(QStringLiteral("ana"));
    QTRY_VERIFY(pane->height() < height);
    QTRY_VERIFY(bar->maximum() > maximum);
    if (autoScroll)
        QTRY_COMPARE(bar->value(), bar->maximum());
    else
        QCOMPARE(bar->value(), 0);
}

QTEST_MAIN(TestWindowLocks)
#include "tst_window_locks.moc"
