#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>

#include "WindowHarness.h"
#include "net/TGatewayChat.h"
#include "settings/ShortcutText.h"
#include "settings/TIniFile.h"
#include "settings/WindowShortcuts.h"
#include "view/ChatView.h"
#include "window/ConnectionControl.h"
#include "window/TfrmMain.h"
#include "window/TrayIcon.h"

namespace {
const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante"),
                           QStringLiteral("[Aparencia]"), QStringLiteral("HorarioMsg=0")};
const QByteArray LoginLine("\x03\x04visitante\r\r\r");
const QByteArray Login = LoginLine + "/join Chat\r";
const QByteArray Marker("/marca\r");

template <typename T = QWidget>
T* child(TfrmMain* w, const char* name)
{
    return w->findChild<T*>(QLatin1String(name));
}

// Ctrl+Alt+letter, pressed where the focus is.
void pressShortcut(QChar letter)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_A + (letter.unicode() - u'A')),
                    Qt::ControlModifier | Qt::AltModifier);
}

// The window "down" (not connected), "pending" (the login sent, its answer not yet in) or "up"
// (logged in), with what the server got so far forgotten.
bool enterState(WindowHarness& h, const QString& state)
{
    TfrmMain* w = h.window.get();
    if (state == QLatin1String("up")) {
        if (!h.connectToServer() || !h.server.waitForData(Login))
            return false;
    } else if (state == QLatin1String("pending")) {
        h.confirmLogins = false;
        QTest::mouseClick(child(w, "btnConectar"), Qt::LeftButton);
        if (!h.server.waitForClient() || !h.server.waitForData(LoginLine) ||
            !QTest::qWaitFor(
                [w] { return w->feature<ConnectionControl>()->connectDialog() == nullptr; }, 3000))
            return false;
        w->activateWindow();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w) || !w->feature<ConnectionControl>()->loginPending())
            return false;
    } else {
        return true;
    }
    h.server.clearReceived();
    return true;
}

// What the server got since the state was entered, up to a marker line sent now. Down, the window
// logs in first, so a line kept back would show. Pending, the marker would be held back too: the
// server takes the login first, and a line that went out before comes ahead of the join.
QByteArray sentSince(WindowHarness& h, const QString& state)
{
    if (state == QLatin1String("down")) {
        if (!h.connectToServer() || !h.server.waitForData(Login))
            return "(no login)";
        h.server.clearReceived();
    } else if (state == QLatin1String("pending")) {
        h.server.sendLine(QStringLiteral("2010 NAME visitante"));
        if (!h.server.waitForData("/join Chat\r"))
            return "(no join)";
        const QByteArray before = h.server.received();
        h.server.clearReceived();
        return before.left(before.size() - int(qstrlen("/join Chat\r")));
    }
    h.window->gatewayChat()->SendLine(QString::fromLatin1(Marker));
    if (!h.server.waitForData(Marker))
        return "(no marker)";
    const QByteArray bytes = h.server.received();
    return bytes.left(bytes.size() - Marker.size());
}

void addKeys(QStringList& list, const QKeySequence& keys)
{
    if (!keys.isEmpty())
        list << ShortcutText::format(keys[0]);
}

// The lines of the channel pane that report a clash of the minimize key.
// Those of the start as well, which the harness took out of the pane.
QStringList clashNotices(const WindowHarness& h)
{
    TfrmMain* w = h.window.get();
    QStringList notices;
    for (const QStringList& pieces : h.startLines) {
        QString line;
        for (const QString& piece : pieces)
            line += piece.section(QLatin1Char('|'), 0, -2);
        if (line.startsWith(QLatin1String("O atalho ")))
            notices << line;
    }
    for (int back = WindowHarness::paragraphs(w->chatPane()) - 1; back >= 0; --back) {
        const QString line = WindowHarness::lastText(w->chatPane(), back);
        if (line.startsWith(QLatin1String("O atalho ")))
            notices << line;
    }
    return notices;
}

// "shown" or "hidden" (in the tray), the dialogs opened, and the input line.
QString effects(WindowHarness& h)
{
    TfrmMain* w = h.window.get();
    return (w->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown")) + QLatin1Char('|') +
           h.prompts.dialogTitles.join(QLatin1Char(',')) + QLatin1Char('|') +
           child<QLineEdit>(w, "txtMsg")->text();
}
} // namespace

class TestWindowShortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pressingABinding_data();
    void pressingABinding();
    void dialogChangesWorkAtOnce();
    void everyFixedKeyIsListed();
    void storedClash_data();
    void storedClash();
    void clashSettledAgainAfterOk();
};

void TestWindowShortcuts::pressingABinding_data()
{
    QTest::addColumn<QStringList>("keys"); // of [Atalhos]
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("from"); // the control with the focus
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("shown"); // new lines of the channel pane
    QTest::addColumn<QString>("line");      // the input line afterwards; it held "abc", caret at 1

    const QString held =
        QStringLiteral("Aguardando a confirmação do login; a linha não foi enviada.");
    // clang-format off
    QTest::newRow("no binding: only the focus") << QStringList{} << "up" << "txtChat" << "K" << 1 << QByteArray() << QStringList{} << "abc";
    QTest::newRow("appended twice, caret at the end") << QStringList{"AtalhoK=oi"} << "up" << "txtChat" << "K" << 2 << QByteArray() << QStringList{} << "abcoioi";
    QTest::newRow("appended from the input line") << QStringList{"AtalhoK= oi", "AtalhoKSend=0"} << "up" << "txtMsg" << "K" << 1 << QByteArray() << QStringList{} << "abcoi";
    QTest::newRow("appended while not connected") << QStringList{"AtalhoK=oi"} << "down" << "txtChat" << "K" << 1 << QByteArray() << QStringList{} << "abcoi";
    QTest::newRow("sent and shown as own talk") << QStringList{"AtalhoK=bom dia", "AtalhoKSend=1"} << "up" << "txtMsg" << "K" << 1 << QByteArray("bom dia\r") << QStringList{"<visitante> bom dia"} << "abc";
    QTest::newRow("pressed twice: both go, paced") << QStringList{"AtalhoK=gg", "AtalhoKSend=1"} << "up" << "txtChat" << "K" << 2 << QByteArray("gg\rgg\r") << QStringList{"<visitante> gg", "<visitante> gg"} << "abc";
    QTest::newRow("server command not shown") << QStringList{"AtalhoK=/away fui", "AtalhoKSend=1"} << "up" << "txtChat" << "K" << 1 << QByteArray("/away fui\r") << QStringList{} << "abc";
    QTest::newRow("sent as stored") << QStringList{"AtalhoK=oi <user> %s", "AtalhoKSend=1"} << "up" << "txtChat" << "K" << 1 << QByteArray("oi <user> %s\r") << QStringList{"<visitante> oi <user> %s"} << "abc";
    QTest::newRow("accented phrase") << QStringList{"AtalhoK=ação", "AtalhoKSend=1"} << "up" << "txtChat" << "K" << 1 << QByteArray("a\xe7\xe3o\r") << QStringList{"<visitante> ação"} << "abc";
    QTest::newRow("empty binding does nothing") << QStringList{"AtalhoK=", "AtalhoKSend=1"} << "up" << "txtChat" << "K" << 1 << QByteArray() << QStringList{} << "abc";
    QTest::newRow("not connected: neither sent nor shown") << QStringList{"AtalhoK=oi", "AtalhoKSend=1"} << "down" << "txtChat" << "K" << 1 << QByteArray() << QStringList{} << "abc";
    QTest::newRow("login pending: held back") << QStringList{"AtalhoK=oi", "AtalhoKSend=1"} << "pending" << "txtChat" << "K" << 1 << QByteArray() << QStringList{held} << "abc";
    QTest::newRow("N, stored by hand") << QStringList{"AtalhoN=n"} << "up" << "txtChat" << "N" << 1 << QByteArray() << QStringList{} << "abcn";
    QTest::newRow("Z sent") << QStringList{"atalhoz=z", "ATALHOZSEND=1"} << "up" << "txtChat" << "Z" << 1 << QByteArray("z\r") << QStringList{"<visitante> z"} << "abc";
    QTest::newRow("another letter's binding") << QStringList{"AtalhoJ=j", "AtalhoJSend=1"} << "up" << "txtChat" << "K" << 1 << QByteArray() << QStringList{} << "abc";
    // clang-format on
}

void TestWindowShortcuts::pressingABinding()
{
    QFETCH(QStringList, keys);
    QFETCH(QString, state);
    QFETCH(QString, from);
    QFETCH(QString, letter);
    QFETCH(int, presses);
    QFETCH(QStringList, shown);
    QFETCH(QString, line);
    WindowHarness h(Plain + QStringList{QStringLiteral("[Atalhos]")} + keys);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(enterState(h, state));
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setText(QStringLiteral("abc"));
    input->setCursorPosition(1);
    child(w, from.toLatin1().constData())->setFocus();
    QTRY_COMPARE(QApplication::focusWidget()->objectName(), from);
    const int before = WindowHarness::paragraphs(w->chatPane());
    for (int i = 0; i < presses; ++i)
        pressShortcut(letter.at(0));
    QCOMPARE(QApplication::focusWidget(), input);
    QCOMPARE(input->text(), line);
    QCOMPARE(input->cursorPosition(), line == QLatin1String("abc") ? 1 : int(line.size()));
    QStringList added;
    for (int back = WindowHarness::paragraphs(w->chatPane()) - before - 1; back >= 0; --back)
        added << WindowHarness::lastText(w->chatPane(), back);
    QCOMPARE(added, shown);
    QTEST(sentSince(h, state), "sent");
}

// Ctrl+S opens the dialog with the channel pane focused; what it writes works at the next press,
// also after "Cancelar".
void TestWindowShortcuts::dialogChangesWorkAtOnce()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QVERIFY(enterState(h, QStringLiteral("up")));
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setFocus();
    QString focusedMeanwhile;
    h.prompts.dialogs.enqueue([&](QDialog& dialog) {
        focusedMeanwhile = QApplication::focusWidget()->objectName();
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbAtalho"));
        combo->setCurrentIndex(combo->findText(QStringLiteral("CTRL + ALT + J")));
        dialog.findChild<QLineEdit*>(QStringLiteral("txtFrase"))->setText(QStringLiteral("/who"));
        dialog.findChild<QCheckBox*>(QStringLiteral("chkAuto"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("btnCancelar"))->click();
        return dialog.result();
    });
    QTest::keyClick(input, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(h.prompts.dialogTitles, QStringList{QStringLiteral("Configurar atalhos ...")});
    QCOMPARE(focusedMeanwhile, QStringLiteral("txtChat"));
    QCOMPARE(QApplication::focusWidget(), input);
    QVERIFY(h.iniText().contains(QLatin1String("[Atalhos]\r\nAtalhoJ=/who\r\nAtalhoJSend=1\r\n")));
    pressShortcut(QLatin1Char('J'));
    QCOMPARE(sentSince(h, QStringLiteral("up")), QByteArray("/who\r"));
    QVERIFY(h.prompts.errors.isEmpty());
}

// The list the options dialog and the start-up check against holds every key the window binds:
// the actions' shortcuts and the access keys of the menu bar and the buttons.
void TestWindowShortcuts::everyFixedKeyIsListed()
{
    WindowHarness h(Plain);
    TfrmMain* w = h.window.get();
    QStringList bound;
    const QRegularExpression phraseName(QStringLiteral("^atalho[A-Z]$"));
    for (const QAction* action : w->findChildren<QAction*>()) {
        if (phraseName.match(action->objectName()).hasMatch()) {
            QCOMPARE(action->shortcuts(),
                     QList<QKeySequence>{WindowShortcuts::phrase(action->text().at(0))});
            continue;
        }
        for (const QKeySequence& keys : action->shortcuts())
            addKeys(bound, keys);
    }
    for (const QAction* menu : child<QMenuBar>(w, "MainMenu1")->actions())
        addKeys(bound, QKeySequence::mnemonic(menu->text()));
    for (const QAbstractButton* button : w->findChildren<QAbstractButton*>())
        addKeys(bound, QKeySequence::mnemonic(button->text()));
    for (const QShortcut* shortcut : w->findChildren<QShortcut*>())
        addKeys(bound, shortcut->key());
    QStringList listed;
    for (const WindowShortcuts::Binding& binding : WindowShortcuts::fixed())
        listed << ShortcutText::format(binding.keys);
    bound.sort();
    listed.sort();
    QCOMPARE(bound, listed);
}

void TestWindowShortcuts::storedClash_data()
{
    QTest::addColumn<QString>("stored"); // Geral/AtalhoMin, typed into confs.ini
    QTest::addColumn<QKeySequence>("pressed");
    QTest::addColumn<QString>("effects"); // the input line held "abc"
    QTest::addColumn<QStringList>("notices");

    const QString options = QStringLiteral("O atalho Ctrl+O para minimizar já é usado pelo item "
                                           "\"Opções...\" do menu Opções; minimizar ficou sem "
                                           "atalho.");
    const QString phraseK = QStringLiteral("O atalho Ctrl+Alt+K é o atalho para minimizar; o "
                                           "atalho de frase K ficou desativado.");
    const QString f6 = QStringLiteral("O atalho F6 para minimizar já é usado para passar à próxima "
                                      "área da janela; minimizar ficou sem atalho.");
    const auto keys = [](const char* text) { return QKeySequence(QLatin1String(text)); };
    // clang-format off
    QTest::newRow("fixed key wins") << "Ctrl+O" << keys("Ctrl+O") << "shown|Opções|abc" << QStringList{options};
    QTest::newRow("region key wins") << "F6" << keys("F6") << "shown||abc" << QStringList{f6};
    QTest::newRow("minimize wins over a phrase") << "Ctrl+Alt+K" << keys("Ctrl+Alt+K") << "hidden||abc" << QStringList{phraseK};
    QTest::newRow("other phrases stay") << "Ctrl+Alt+K" << keys("Ctrl+Alt+J") << "shown||abcjj" << QStringList{phraseK};
    QTest::newRow("written another way") << "alt+ctrl+k" << keys("Ctrl+Alt+K") << "hidden||abc" << QStringList{phraseK};
    QTest::newRow("no clash: minimize") << "Ctrl+F11" << keys("Ctrl+F11") << "hidden||abc" << QStringList{};
    QTest::newRow("no clash: phrase") << "Ctrl+F11" << keys("Ctrl+Alt+K") << "shown||abckk" << QStringList{};
    QTest::newRow("no clash: menu item") << "Ctrl+F11" << keys("Ctrl+O") << "shown|Opções|abc" << QStringList{};
    QTest::newRow("Shift makes it free") << "Ctrl+Shift+O" << keys("Ctrl+O") << "shown|Opções|abc" << QStringList{};
    // clang-format on
}

// Two shortcuts on one combination fire neither: whatever is typed into confs.ini, each key does
// one thing, and the line at start-up names what gave way.
void TestWindowShortcuts::storedClash()
{
    QFETCH(QString, stored);
    QFETCH(QKeySequence, pressed);
    WindowHarness h({"[Geral]", "Login=visitante", "Tray=1", "AtalhoMin=" + stored, "[Atalhos]",
                     "AtalhoK=kk", "AtalhoJ=jj"});
    TfrmMain* w = h.window.get();
    w->findChild<TrayIcon*>()->setTrayAvailableForTests(true);
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* input = child<QLineEdit>(w, "txtMsg");
    input->setText(QStringLiteral("abc"));
    input->setFocus();
    QTest::keyClick(input, pressed[0].key(), pressed[0].keyboardModifiers());
    QVERIFY(WindowHarness::settle(w));
    QTEST(effects(h), "effects");
    QTEST(clashNotices(h), "notices");
    QVERIFY(h.prompts.errors.isEmpty());
}

// "OK" in the options dialog settles the keys again: a phrase shortcut that gave way comes back
// once the minimize key moves, and a clash is reported once, not at every "OK".
void TestWindowShortcuts::clashSettledAgainAfterOk()
{
    WindowHarness h(
        {"[Geral]", "Login=visitante", "AtalhoMin=Ctrl+Alt+K", "[Atalhos]", "AtalhoK=kk"});
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* options = child<QAction>(w, "mnuOpcoes");
    const auto confirm = [&h](std::optional<QKeyCombination> pressed) {
        h.prompts.dialogs.enqueue([pressed](QDialog& dialog) {
            if (pressed)
                QTest::keyClick(dialog.findChild<QWidget*>(QStringLiteral("hkAtalhoMin")),
                                pressed->key(), pressed->keyboardModifiers());
            dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
            return dialog.result();
        });
    };
    const QString phraseK = QStringLiteral("O atalho Ctrl+Alt+K é o atalho para minimizar; o "
                                           "atalho de frase K ficou desativado.");

    confirm(std::nullopt);
    options->trigger();
    QCOMPARE(clashNotices(h), QStringList{phraseK});
    QVERIFY(child<QAction>(w, "atalhoK")->shortcut().isEmpty());

    confirm(QKeyCombination(Qt::Key_F9));
    options->trigger();
    QCOMPARE(child<QAction>(w, "atalhoMin")->shortcut(), QKeySequence(Qt::Key_F9));
    auto* input = child<QLineEdit>(w, "txtMsg");
    pressShortcut(QLatin1Char('K'));
    QCOMPARE(input->text(), QStringLiteral("kk"));

    // Typed into the file while the window runs, taken at the next "OK".
    TIniFile(w->settings()->path())
        .WriteString(QStringLiteral("Geral"), QStringLiteral("AtalhoMin"),
                     QStringLiteral("Ctrl+W"));
    confirm(std::nullopt);
    options->trigger();
    QCOMPARE(clashNotices(h),
             (QStringList{phraseK, "O atalho Ctrl+W para minimizar já é usado pelo item "
                                   "\"Limpar tela de whisps\" do menu Opções; minimizar ficou "
                                   "sem atalho."}));
    QVERIFY(child<QAction>(w, "atalhoMin")->shortcut().isEmpty());
    QCOMPARE(child<QAction>(w, "atalhoK")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+K")));
    QVERIFY(h.prompts.errors.isEmpty());
}

QTEST_MAIN(TestWindowShortcuts)
#include "tst_window_shortcuts.moc"
