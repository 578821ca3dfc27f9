#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "WindowHarness.h"
#include "view/ChatView.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

namespace {

const QStringList Ini = {"[Geral]",   "Login=visitante", "[Aparencia]",  "HorarioMsg=0",
                         "[Atalhos]", "AtalhoJ=oi",      "AtalhoJSend=0"};

QLineEdit* edit(TfrmMain* w, const QString& name)
{
    return w->findChild<QLineEdit*>(name);
}

// The name of the focused control, "pane" for the pane the keys were pressed in.
QString focused(const QWidget* pane)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == pane)
        return QStringLiteral("pane");
    return focus ? focus->objectName() : QString();
}

} // namespace

class TestWindowTyping : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysInAPane_data();
    void keysInAPane();
};

void TestWindowTyping::keysInAPane_data()
{
    QTest::addColumn<bool>("whisperPane");
    QTest::addColumn<QString>("lastLine"); // the input line that had the focus before the pane
    QTest::addColumn<QString>("typed");    // typed key by key; empty: the key below
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("inLastLine");
    const int ctrl = Qt::ControlModifier;
    const int ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    // clang-format off
    QTest::newRow("letters") << false << "txtMsg" << "ola" << 0 << 0 << "txtMsg" << "ola";
    QTest::newRow("accented text") << false << "txtMsg" << "ação é" << 0 << 0 << "txtMsg" << "ação é";
    QTest::newRow("capitals and digits") << false << "txtMsg" << "Oi 42!" << 0 << 0 << "txtMsg" << "Oi 42!";
    QTest::newRow("space") << true << "txtMsg" << QString() << int(Qt::Key_Space) << 0 << "txtMsg" << " ";
    QTest::newRow("into the locked line used last") << true << "txtWhisp2" << "psiu" << 0 << 0 << "txtWhisp2" << "psiu";
    QTest::newRow("locked line, channel pane") << false << "txtWhisp1" << "x" << 0 << 0 << "txtWhisp1" << "x";
    QTest::newRow("ctrl+c copies") << false << "txtMsg" << QString() << int(Qt::Key_C) << ctrl << "pane" << "";
    QTest::newRow("ctrl+a selects") << true << "txtMsg" << QString() << int(Qt::Key_A) << ctrl << "pane" << "";
    QTest::newRow("arrow down") << false << "txtMsg" << QString() << int(Qt::Key_Down) << 0 << "pane" << "";
    QTest::newRow("page down") << false << "txtMsg" << QString() << int(Qt::Key_PageDown) << 0 << "pane" << "";
    QTest::newRow("home") << true << "txtMsg" << QString() << int(Qt::Key_Home) << 0 << "pane" << "";
    QTest::newRow("enter") << false << "txtMsg" << QString() << int(Qt::Key_Return) << 0 << "pane" << "";
    QTest::newRow("escape") << false << "txtMsg" << QString() << int(Qt::Key_Escape) << 0 << "pane" << "";
    QTest::newRow("phrase shortcut runs") << false << "txtWhisp2" << QString() << int(Qt::Key_J) << ctrlAlt << "txtMsg" << "";
    // clang-format on
}

// Keys pressed in a pane: text goes to the input line used last, the rest stays with the pane.
void TestWindowTyping::keysInAPane()
{
    QFETCH(bool, whisperPane);
    QFETCH(QString, lastLine);
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    WindowHarness h(Ini);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->lockWhisps()->addLock(QStringLiteral("ana"));
    w->lockWhisps()->addLock(QStringLiteral("bia"));
    w->info(QStringLiteral("uma linha"));
    ChatView* pane = whisperPane ? w->whisperPane() : w->chatPane();

    edit(w, lastLine)->setFocus();
    QTRY_COMPARE(focused(pane), lastLine);
    pane->setFocus();
    QTRY_COMPARE(focused(pane), QStringLiteral("pane"));

    // One key per character, accented ones too, as a keyboard layout delivers them.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_unknown, QString(c), Qt::NoModifier);
    if (typed.isEmpty())
        QTest::keyClick(pane, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTEST(focused(pane), "focus");
    QTEST(edit(w, lastLine)->text(), "inLastLine");
    // Nothing typed lands anywhere else.
    for (const char* name : {"txtMsg", "txtWhisp1", "txtWhisp2"}) {
        if (lastLine != QLatin1String(name) && QLatin1String(name) != QLatin1String("txtMsg"))
            QCOMPARE(edit(w, QLatin1String(name))->text(), QString());
    }
    if (lastLine != QLatin1String("txtMsg"))
        QCOMPARE(edit(w, QStringLiteral("txtMsg"))->text(),
                 key == Qt::Key_J ? QStringLiteral("oi") : QString());
}

QTEST_MAIN(TestWindowTyping)
#include "tst_window_typing.moc"
