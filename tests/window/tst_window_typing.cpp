#include <optional>

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "WindowHarness.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
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

// Puts the pane in front with the focus, after the input line `lastLine` had it.
bool focusPane(TfrmMain* w, ChatView* pane, const QString& lastLine)
{
    edit(w, lastLine)->setFocus();
    if (!QTest::qWaitFor([&] { return focused(pane) == lastLine; }))
        return false;
    pane->setFocus();
    return QTest::qWaitFor([&] { return focused(pane) == QLatin1String("pane"); });
}

// Runs a program to its end; its standard output, or nothing when it failed.
std::optional<QString> run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The X display's keyboard layout switched for a test and given back afterwards: the display is
// shared with the tests that run after this one.
class KeyboardLayout
{
public:
    // The layout (and variant) now in use, as "-layout us -variant intl".
    KeyboardLayout()
    {
        const auto query = run(QStringLiteral("setxkbmap"), {QStringLiteral("-query")});
        if (!query)
            return;
        for (const char* field : {"layout", "variant"}) {
            const QRegularExpression line(
                QStringLiteral("^%1:\\s*(\\S+)$").arg(QLatin1String(field)),
                QRegularExpression::MultilineOption);
            const auto match = line.match(*query);
            if (match.hasMatch())
                m_previous << QLatin1Char('-') + QLatin1String(field) << match.captured(1);
        }
    }
    ~KeyboardLayout()
    {
        if (m_switched && !m_previous.isEmpty())
            run(QStringLiteral("setxkbmap"), m_previous);
    }

    bool switchTo(const QString& layout)
    {
        m_switched =
            !m_previous.isEmpty() &&
            run(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), layout}).has_value();
        return m_switched;
    }

private:
    QStringList m_previous;
    bool m_switched = false;
};

} // namespace

class TestWindowTyping : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keysInAPane_data();
    void keysInAPane();
    void composedTextInAPane_data();
    void composedTextInAPane();
    void deadKeysOnABrazilianKeyboard();
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

    QVERIFY(focusPane(w, pane, lastLine));

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

void TestWindowTyping::composedTextInAPane_data()
{
    QTest::addColumn<bool>("whisperPane");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<QString>("commit"); // what the input method composed
    // clang-format off
    QTest::newRow("an accented letter")          << false << "txtMsg" << "ó";
    QTest::newRow("several characters at once")  << true << "txtMsg" << "ção";
    QTest::newRow("into the locked line used last") << true << "txtWhisp2" << "é";
    QTest::newRow("a composition in progress")   << false << "txtMsg" << "";
    // clang-format on
}

// What an input method composes in a pane (an accent and a letter from dead keys) goes to the
// input line used last, as typed text does; the pane keeps its selection.
void TestWindowTyping::composedTextInAPane()
{
    QFETCH(bool, whisperPane);
    QFETCH(QString, lastLine);
    QFETCH(QString, commit);
    WindowHarness h(Ini);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->lockWhisps()->addLock(QStringLiteral("ana"));
    w->lockWhisps()->addLock(QStringLiteral("bia"));
    w->info(QStringLiteral("uma linha"));
    ChatView* pane = whisperPane ? w->whisperPane() : w->chatPane();
    if (whisperPane)
        pane->appendLine(QStringLiteral("uma linha"), StyleTable::WmFROM);
    QVERIFY(focusPane(w, pane, lastLine));
    pane->selectAll();

    QInputMethodEvent event(commit.isEmpty() ? QStringLiteral("´") : QString(), {});
    event.setCommitString(commit);
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &event);
    QCOMPARE(focused(pane), commit.isEmpty() ? QStringLiteral("pane") : lastLine);
    QCOMPARE(edit(w, lastLine)->text(), commit);
    QCOMPARE(pane->selectedText(), QStringLiteral("uma linha"));
    for (const char* name : {"txtMsg", "txtWhisp1", "txtWhisp2"}) {
        if (lastLine != QLatin1String(name))
            QCOMPARE(edit(w, QLatin1String(name))->text(), QString());
    }
}

// On a Brazilian keyboard the accent key is a dead key: ´ then o types "ó", through the
// platform's input method, which composes only for a widget that takes one.
void TestWindowTyping::deadKeysOnABrazilianKeyboard()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the xcb platform on an X display (ctest -L xcb under xvfb-run)");
    for (const char* tool : {"setxkbmap", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is missing (packages x11-xkb-utils, xdotool)")
                                 .arg(QLatin1String(tool))));
    }
    // Dead keys compose by the table of the locale, looked up when the first key arrives; the
    // C.UTF-8 locale takes the UTF-8 table and needs no locale generated.
    QFile composeDir(QStringLiteral("/usr/share/X11/locale/compose.dir"));
    if (!composeDir.open(QIODevice::ReadOnly) || !composeDir.readAll().contains("C.UTF-8"))
        QSKIP("no compose table for the C.UTF-8 locale (package libx11-data)");
    qputenv("LC_ALL", "C.UTF-8");
    KeyboardLayout layout;
    if (!layout.switchTo(QStringLiteral("br")))
        QSKIP("the br keyboard layout cannot be set on this display");

    WindowHarness h(Ini);
    TfrmMain* w = h.window.get();
    QVERIFY(QTest::qWaitForWindowActive(w));
    w->info(QStringLiteral("uma linha"));
    ChatView* pane = w->chatPane();
    QVERIFY(focusPane(w, pane, QStringLiteral("txtMsg")));
    QVERIFY(run(QStringLiteral("xdotool"),
                {QStringLiteral("key"), QStringLiteral("dead_acute"), QStringLiteral("o")}));
    QTRY_COMPARE(edit(w, QStringLiteral("txtMsg"))->text(), QStringLiteral("ó"));
    QCOMPARE(focused(pane), QStringLiteral("txtMsg"));
}

QTEST_MAIN(TestWindowTyping)
#include "tst_window_typing.moc"
