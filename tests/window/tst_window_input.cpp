#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "WindowHarness.h"
#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "view/ChatView.h"
#include "window/TfrmMain.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};
const QByteArray Login("\x03\x04visitante\r\r\r/join Chat\r");

template <typename T = QWidget>
T* child(TfrmMain* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}
} // namespace

class TestWindowInput : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sendPath_data();
    void sendPath();
    void emoteButton_data();
    void emoteButton();
    void historyKeys();
    void tabRules_data();
    void tabRules();
    void shiftTabWalksOpenPanels();
    void enterPressesTheDefaultButton();
    void enterOutsideTheEdits_data();
    void enterOutsideTheEdits();
    void windowShortcutsWinInTheInputLine();
    void inputLineHasNoLengthLimit();
    void clearingCommands_data();
    void clearingCommands();
};

void TestWindowInput::sendPath_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("awayBefore");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("shown"); // the new channel line; empty: none
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("awayDnd"); // pressed state of btnAway and btnDND afterwards

    // clang-format off
    QTest::newRow("plain text") << "hello" << false << QByteArray("hello\r") << "<visitante> hello" << true << "00";
    QTest::newRow("leading blanks kept") << "  oi" << false << QByteArray("  oi\r") << "<visitante>   oi" << true << "00";
    QTest::newRow("accented text") << "ação é" << false << QByteArray("a\xe7\xe3o \xe9\r") << "<visitante> ação é" << true << "00";
    QTest::newRow("server command") << "/w bob hi" << false << QByteArray("/w bob hi\r") << QString() << true << "00";
    QTest::newRow("blanks only") << "   " << false << QByteArray() << QString() << false << "00";
    QTest::newRow("away with reason sets") << "/away brb" << true << QByteArray("/away brb\r") << QString() << true << "10";
    QTest::newRow("away alone inverts") << "/away" << true << QByteArray("/away\r") << QString() << true << "00";
    QTest::newRow("away and one blank inverts") << "/away " << false << QByteArray("/away \r") << QString() << true << "10";
    QTest::newRow("away in capitals with reason") << "/AWAY X" << false << QByteArray("/AWAY X\r") << QString() << true << "10";
    QTest::newRow("awaydnd is an away") << "/awayzz" << false << QByteArray("/awayzz\r") << QString() << true << "10";
    QTest::newRow("dnd with reason") << "/dnd x" << false << QByteArray("/dnd x\r") << QString() << true << "01";
    QTest::newRow("dnd alone inverts") << "/dnd" << false << QByteArray("/dnd\r") << QString() << true << "01";
    // clang-format on
}

void TestWindowInput::sendPath()
{
    QFETCH(QString, typed);
    QFETCH(bool, awayBefore);
    QFETCH(QByteArray, sent);
    QFETCH(QString, shown);
    QFETCH(bool, stored);
    QFETCH(QString, awayDnd);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    child<QToolButton>(w, "btnAway")->setChecked(awayBefore);
    const int lines = WindowHarness::paragraphs(w->chatPane());
    auto* input = child<QLineEdit>(w, "txtMsg");
    // Qt Test types ASCII only; other text is put in as a paste would.
    if (QRegularExpression(QStringLiteral("^[ -~]*$")).match(typed).hasMatch())
        QTest::keyClicks(input, typed);
    else
        input->insert(typed);
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(input->text(), QString());
    QVERIFY(input->hasFocus());
    // A marker line shows that nothing else went out before it.
    QTest::keyClicks(input, QStringLiteral("/marca"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), sent + "/marca\r");
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()) - lines, shown.isEmpty() ? 0 : 1);
    if (!shown.isEmpty())
        QCOMPARE(WindowHarness::lastText(w->chatPane()), shown);
    QCOMPARE(w->fastNicks()->msgCount(), stored ? 2 : 1);
    if (stored)
        QCOMPARE(w->fastNicks()->lastMsg(2), typed);
    const QString state = QString::number(int(child<QToolButton>(w, "btnAway")->isChecked())) +
                          QString::number(int(child<QToolButton>(w, "btnDND")->isChecked()));
    QCOMPARE(state, awayDnd);
}

void TestWindowInput::emoteButton_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sent");
    // clang-format off
    QTest::newRow("text") << "acena" << QByteArray("/me acena\r");
    QTest::newRow("empty line") << QString() << QByteArray();
    // clang-format on
}

void TestWindowInput::emoteButton()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    auto* input = child<QLineEdit>(w, "txtMsg");
    QTest::keyClicks(input, typed);
    QTest::keyClick(input, Qt::Key_M, Qt::AltModifier);
    // The access key presses the button with a short animation.
    QTRY_COMPARE(input->text(), QString());
    QTest::keyClicks(input, QStringLiteral("/marca"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), sent + "/marca\r");
    // Not shown and not kept.
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 1);
    QCOMPARE(w->fastNicks()->msgCount(), 1);
}

void TestWindowInput::historyKeys()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    auto* input = child<QLineEdit>(w, "txtMsg");
    QTest::keyClick(input, Qt::Key_Up);
    QCOMPARE(input->text(), QString());
    for (const char* line : {"a", "b"}) {
        QTest::keyClicks(input, QString::fromLatin1(line));
        QTest::keyClick(input, Qt::Key_Return);
    }
    QStringList seen;
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
        QTest::keyClick(input, key);
        seen << input->text() + QLatin1Char('@') + QString::number(input->cursorPosition());
    }
    QCOMPARE(seen, (QStringList{"b@1", "a@1", "a@1", "b@1", "b@1"}));
    // Emptying the line starts browsing again from the newest line.
    input->clear();
    QTest::keyClick(input, Qt::Key_Up);
    QCOMPARE(input->text(), QStringLiteral("b"));
}

void TestWindowInput::tabRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QString>("line");

    // clang-format off
    QTest::newRow("empty line cycles whisperers") << QString() << false << 1 << "/w C1 ";
    QTest::newRow("second tab, older whisperer") << QString() << false << 2 << "/w B1 ";
    QTest::newRow("wraps around") << QString() << false << 4 << "/w C1 ";
    QTest::newRow("blank line cycles") << "   " << false << 1 << "/w C1 ";
    QTest::newRow("slash line cycles") << "/x" << false << 1 << "/w C1 ";
    QTest::newRow("completes in list order") << "al" << false << 1 << "Alpha: ";
    QTest::newRow("next match") << "al" << false << 2 << "alfred: ";
    QTest::newRow("stops at the last match") << "al" << false << 3 << "alfred: ";
    QTest::newRow("no match keeps the line") << "xy" << false << 2 << "xy";
    QTest::newRow("leading blank is part of the prefix") << " al" << false << 1 << " al";
    QTest::newRow("shift tab without panels completes") << "b" << true << 1 << "Bob: ";
    QTest::newRow("backtab without panels cycles") << QString() << true << 1 << "/w C1 ";
    // clang-format on
}

void TestWindowInput::tabRules()
{
    QFETCH(QString, typed);
    QFETCH(bool, shift);
    QFETCH(int, tabs);
    QFETCH(QString, line);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    for (const char* name : {"Alpha", "alfred", "Bob"})
        w->users()->addUser(QString::fromLatin1(name), QStringLiteral("0000"),
                            QStringLiteral("CHAT"));
    for (const char* name : {"A1", "B1", "C1"})
        w->whisp(0, QString::fromLatin1(name), QStringLiteral("oi"));
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    QTest::keyClicks(input, typed);
    for (int i = 0; i < tabs; ++i) {
        // A real Shift+Tab arrives as Backtab.
        if (shift)
            QTest::keyClick(input, Qt::Key_Backtab, Qt::ShiftModifier);
        else
            QTest::keyClick(input, Qt::Key_Tab);
    }
    QCOMPARE(input->text(), line);
    QCOMPARE(input->cursorPosition(), int(line.size()));
    QVERIFY(input->hasFocus());
}

void TestWindowInput::shiftTabWalksOpenPanels()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    child(w, "pnlWhispLock1")->show();
    child(w, "pnlWhispLock2")->show();
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    QStringList path;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        path << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(path, (QStringList{"txtWhisp1", "txtWhisp2", "txtWhisp1"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtMsg"));
    // Tab from a panel further up walks down one panel at a time.
    child(w, "txtWhisp2")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtWhisp1"));
}

void TestWindowInput::enterPressesTheDefaultButton()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    child(w, "pnlWhispLock1")->show();
    auto* input = child<QLineEdit>(w, "txtMsg");
    auto* whisp = child<QLineEdit>(w, "txtWhisp1");
    auto* enviar = child<QPushButton>(w, "btnEnviar");
    auto* whispar = child<QPushButton>(w, "btnWhispar1");
    int whisparClicks = 0;
    QObject::connect(whispar, &QPushButton::clicked, [&] { ++whisparClicks; });
    whisp->setFocus();
    QVERIFY(whispar->isDefault());
    QVERIFY(!enviar->isDefault());
    // Enter in the input line presses the button marked last, as a dialog would.
    QTest::keyClicks(input, QStringLiteral("x"));
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(whisparClicks, 1);
    QCOMPARE(input->text(), QStringLiteral("x"));
    input->setFocus();
    QVERIFY(enviar->isDefault());
    QVERIFY(!whispar->isDefault());
    QTest::keyClick(input, Qt::Key_Return);
    QCOMPARE(whisparClicks, 1);
    QCOMPARE(input->text(), QString());
    QCOMPARE(w->fastNicks()->lastMsg(1), QStringLiteral("x"));
}

void TestWindowInput::enterOutsideTheEdits_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("sends");
    // clang-format off
    QTest::newRow("user list") << "lstUsers" << true;
    QTest::newRow("suspect list") << "lstCustom" << true;
    QTest::newRow("channel pane") << "txtChat" << false;
    QTest::newRow("whisper pane") << "txtWhisps" << false;
    // clang-format on
}

// A list takes no Enter of its own, so the default button gets it; a pane keeps it. Enter never
// activates a list's entry: whatever acts on an account must not run with the send.
void TestWindowInput::enterOutsideTheEdits()
{
    QFETCH(QString, focus);
    QFETCH(bool, sends);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    child(w, "pnlCustom")->show();
    w->users()->addUser(QStringLiteral("bob"), QStringLiteral("0000"), QStringLiteral("CHAT"));
    auto* users = child<QAbstractItemView>(w, "lstUsers");
    users->setCurrentIndex(w->users()->index(0, 0));
    auto* custom = child<QTreeWidget>(w, "lstCustom");
    custom->addTopLevelItem(new QTreeWidgetItem(QStringList{"bob", "motivo"}));
    custom->setCurrentItem(custom->topLevelItem(0));
    QSignalSpy usersActivated(users, &QAbstractItemView::activated);
    QSignalSpy customActivated(custom, &QAbstractItemView::activated);
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("oi"));
    QWidget* target = w->findChild<QWidget*>(focus);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(input->text(), sends ? QString() : QStringLiteral("oi"));
    QCOMPARE(usersActivated.count() + customActivated.count(), 0);
    // A marker sent from the input line shows what went out before it.
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("/marca"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(h.server.waitForData("/marca\r"));
    QCOMPARE(h.server.received(), QByteArray(sends ? "oi\r/marca\r" : "oi/marca\r"));
}

void TestWindowInput::windowShortcutsWinInTheInputLine()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    w->erro(QStringLiteral("linha"));
    QTest::keyClicks(input, QStringLiteral("abc"));
    input->setCursorPosition(1);
    QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(input->selectedText(), QString());
    QTest::keyClick(input, Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(WindowHarness::paragraphs(w->chatPane()), 0);
    QCOMPARE(input->cursorPosition(), 1);
    w->whisp(1, QStringLiteral("bob"), QStringLiteral("oi"));
    QTest::keyClick(input, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(WindowHarness::paragraphs(w->whisperPane()), 0);
    QCOMPARE(input->text(), QStringLiteral("abc"));
}

void TestWindowInput::inputLineHasNoLengthLimit()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(h.connectToServer());
    QVERIFY(h.server.waitForData(Login));
    h.server.clearReceived();
    auto* input = child<QLineEdit>(w, "txtMsg");
    const QString pasted(40000, QLatin1Char('x'));
    input->setText(pasted);
    QCOMPARE(input->text().size(), pasted.size());
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(h.server.waitForBytes(pasted.size() + 1));
    QCOMPARE(h.server.received(), pasted.toLatin1() + "\r");
}

void TestWindowInput::clearingCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("cleared"); // which pane is emptied: "chat" or "whisps"

    // clang-format off
    QTest::newRow("chat menu item") << "mnuLimpaTelaChat" << "txtWhisps" << "chat";
    QTest::newRow("whispers menu item") << "mnuLimpaTelaWhisps" << "txtChat" << "whisps";
    QTest::newRow("popup, whisper pane focused") << "Limpartela1" << "txtWhisps" << "whisps";
    QTest::newRow("popup, channel pane focused") << "Limpartela1" << "txtChat" << "chat";
    QTest::newRow("popup, input line focused") << "Limpartela1" << "txtMsg" << "chat";
    // clang-format on
}

void TestWindowInput::clearingCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, focus);
    QFETCH(QString, cleared);
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    w->erro(QStringLiteral("canal"));
    w->whisp(1, QStringLiteral("bob"), QStringLiteral("oi"));
    w->findChild<QWidget*>(focus)->setFocus();
    QCOMPARE(w->focusWidget()->objectName(), focus);
    w->findChild<QAction*>(command)->trigger();
    const QString left = QStringLiteral("%1 %2")
                             .arg(WindowHarness::paragraphs(w->chatPane()))
                             .arg(WindowHarness::paragraphs(w->whisperPane()));
    QCOMPARE(left,
             cleared == QLatin1String("chat") ? QStringLiteral("0 1") : QStringLiteral("1 0"));
    QCOMPARE(w->focusWidget(), child(w, "txtMsg"));
}

QTEST_MAIN(TestWindowInput)
#include "tst_window_input.moc"
