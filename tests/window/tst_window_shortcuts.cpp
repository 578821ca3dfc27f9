#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "WindowHarness.h"
#include "net/TGatewayChat.h"
#include "view/ChatView.h"
#include "window/TfrmMain.h"

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
            !QTest::qWaitFor([w] { return w->connectDialog() == nullptr; }, 3000))
            return false;
        w->activateWindow();
        QApplication::setActiveWindow(w);
        if (!QTest::qWaitForWindowActive(w) || !w->loginPending())
            return false;
    } else {
        return true;
    }
    h.server.clearReceived();
    return true;
}

// What the server got since the state was entered, up to a marker line sent now. Down, the window
// logs in first, so a line kept back would show.
QByteArray sentSince(WindowHarness& h, const QString& state)
{
    if (state == QLatin1String("down")) {
        if (!h.connectToServer() || !h.server.waitForData(Login))
            return "(no login)";
        h.server.clearReceived();
    }
    h.window->gatewayChat()->SendLine(QString::fromLatin1(Marker));
    if (!h.server.waitForData(Marker))
        return "(no marker)";
    const QByteArray bytes = h.server.received();
    return bytes.left(bytes.size() - Marker.size());
}
} // namespace

class TestWindowShortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pressingABinding_data();
    void pressingABinding();
    void dialogChangesWorkAtOnce();
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

QTEST_MAIN(TestWindowShortcuts)
#include "tst_window_shortcuts.moc"
