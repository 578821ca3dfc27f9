#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "WindowHarness.h"
#include "chat/SpellDictionary.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/LockedWhisperPanel.h"
#include "window/SpellCheck.h"
#include "window/TLockWhisps.h"
#include "window/TfrmMain.h"

using Range = SpellWords::Range;

namespace {

const QStringList Plain = {QStringLiteral("[Geral]"), QStringLiteral("Login=visitante")};
// Loading the dictionary takes a fraction of a second optimised, longer in a debug build.
constexpr int LoadTimeout = 30000;

QLineEdit* inputLine(TfrmMain* w)
{
    return w->findChild<QLineEdit*>(QStringLiteral("txtMsg"));
}

// Types text key by key as a keyboard would, accented letters included.
void type(QLineEdit* line, const QString& text)
{
    for (const QChar c : text) {
        const auto key = c.isLetter() ? Qt::Key(c.toUpper().unicode()) : Qt::Key(c.unicode());
        QTest::sendKeyEvent(QTest::Click, line, key, QString(c), Qt::NoModifier);
    }
}

// The dictionary is loaded once a line has text: the first key typed brings it. The line is left
// empty, with no undo history.
bool startChecking(SpellCheck* spell, QLineEdit* line)
{
    type(line, QStringLiteral("a"));
    const bool loaded = QTest::qWaitFor([spell] { return spell->active(); }, LoadTimeout);
    line->setText(QString());
    return loaded;
}

QString marks(SpellCheck* spell, QLineEdit* line)
{
    QStringList words;
    for (const Range& range : spell->marked(line))
        words << line->text().mid(range.start, range.length);
    return words.join(QLatin1Char('|'));
}

// Pixels of the underline's red in the edit as drawn (white text on black, an amber border).
int redPixels(QLineEdit* line)
{
    const QImage image = line->grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                ++red;
        }
    }
    return red;
}

// Opens the edit's context menu from the keyboard, where the caret is, and hands the popup to
// check while its own event loop runs; then closes it.
QStringList menuTexts(QLineEdit* line, const std::function<void(QMenu*)>& check = {})
{
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (const QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (check)
            check(menu);
        menu->close();
    });
    const QPoint caret = line->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, caret, line->mapToGlobal(caret));
    QCoreApplication::sendEvent(line, &event);
    if (!QTest::qWaitFor([&] { return !texts.isEmpty() && !QApplication::activePopupWidget(); }))
        return {QStringLiteral("<no menu>")};
    return texts;
}

} // namespace

class TestWindowSpell : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void marksAsTheUserTypes();
    void marksFollowUndoHistoryAndCompletion();
    void lockedWhisperLines();
    void accountsOfTheChannelAreNeverMarked();
    void contextMenuOffersSuggestionsFirst();
    void addToDictionaryKeepsTheWord();
    void switchedOff();
};

void TestWindowSpell::marksAsTheUserTypes()
{
    WindowHarness h(Plain);
    h.open();
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(spell);
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    QLineEdit* line = inputLine(h.window.get());
    line->setFocus();
    type(line, QStringLiteral("ação, você não sabe"));
    QCOMPARE(marks(spell, line), QString());
    const int clean = redPixels(line);
    type(line, QStringLiteral(" voçe"));
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));
    QVERIFY2(redPixels(line) > clean + 5, "the misspelled word is drawn underlined in red");
    // The word being typed is checked at every key: fixed, it is no longer marked.
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClick(line, Qt::Key_Backspace);
    type(line, QStringLiteral("cê"));
    QCOMPARE(line->text(), QStringLiteral("ação, você não sabe você"));
    QCOMPARE(marks(spell, line), QString());
    QCOMPARE(redPixels(line), clean);
    // Addresses and commands are left alone; the typed bytes reach the server unchanged.
    line->clear();
    type(line, QStringLiteral("/w xyzw em www.qwzx.com.br qwzx"));
    QCOMPARE(marks(spell, line), QStringLiteral("qwzx"));
}

// The underlines stay on their words whatever brings the text: undo and redo, the history of
// sent lines, nick completion.
void TestWindowSpell::marksFollowUndoHistoryAndCompletion()
{
    WindowHarness h(Plain);
    h.open();
    QVERIFY(h.connectToServer());
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    QLineEdit* line = inputLine(h.window.get());
    line->setFocus();
    type(line, QStringLiteral("oi voçe"));
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));
    type(line, QStringLiteral(" aqui"));
    QCOMPARE(spell->marked(line), (QList<Range>{{3, 4}}));
    line->undo();
    QCOMPARE(line->text(), QString());
    QCOMPARE(marks(spell, line), QString());
    line->redo();
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));

    QTest::keyClick(line, Qt::Key_Return);
    // The line leaves as typed, in the wire's code page.
    QTRY_VERIFY(h.server.received().endsWith("oi vo\xe7"
                                             "e aqui\r"));
    QCOMPARE(line->text(), QString());
    type(line, QStringLiteral("tudo certo"));
    QCOMPARE(marks(spell, line), QString());
    line->clear();
    QTest::keyClick(line, Qt::Key_Up);
    QCOMPARE(line->text(), QStringLiteral("oi voçe aqui"));
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));

    QVERIFY(h.serverLine(QStringLiteral("1001 USER Xyzwq 0000 [CHAT]")));
    line->clear();
    type(line, QStringLiteral("xy"));
    QTest::keyClick(line, Qt::Key_Tab);
    QCOMPARE(line->text(), QStringLiteral("Xyzwq: "));
    QCOMPARE(marks(spell, line), QString());
}

void TestWindowSpell::lockedWhisperLines()
{
    WindowHarness h(Plain);
    h.open();
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    h.window->lockWhisps()->addLock(QStringLiteral("ana"));
    h.window->lockWhisps()->addLock(QStringLiteral("bia"));
    auto* second = h.window->findChild<QLineEdit*>(QStringLiteral("txtWhisp2"));
    QVERIFY(second && second->isVisible());
    type(second, QStringLiteral("voçe não"));
    QCOMPARE(marks(spell, second), QStringLiteral("voçe"));
    QCOMPARE(marks(spell, inputLine(h.window.get())), QString());
    // Closing line 1 moves line 2's text down, with its marks.
    h.window->lockWhisps()->delLock(1);
    auto* first = h.window->findChild<QLineEdit*>(QStringLiteral("txtWhisp1"));
    QCOMPARE(first->text(), QStringLiteral("voçe não"));
    QCOMPARE(marks(spell, first), QStringLiteral("voçe"));
}

// A name that is no word is marked until its account joins the channel, and again after it
// left.
void TestWindowSpell::accountsOfTheChannelAreNeverMarked()
{
    WindowHarness h(Plain);
    h.open();
    QVERIFY(h.connectToServer());
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    QLineEdit* line = inputLine(h.window.get());
    type(line, QStringLiteral("Zorbaq, tudo bem? zorbaq"));
    QCOMPARE(marks(spell, line), QStringLiteral("Zorbaq|zorbaq"));
    QVERIFY(h.serverLine(QStringLiteral("1001 USER ZORBAQ 0000 [CHAT]")));
    QTRY_COMPARE(marks(spell, line), QString());
    QVERIFY(h.serverLine(QStringLiteral("1003 LEAVE ZORBAQ 0000")));
    QTRY_COMPARE(marks(spell, line), QStringLiteral("Zorbaq|zorbaq"));
}

void TestWindowSpell::contextMenuOffersSuggestionsFirst()
{
    WindowHarness h(Plain);
    h.open();
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    QLineEdit* line = inputLine(h.window.get());
    line->setFocus();
    type(line, QStringLiteral("oi voçe aqui"));
    line->setCursorPosition(5);
    QStringList texts = menuTexts(line, [](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("você"))
                action->trigger();
        }
    });
    const int add = int(texts.indexOf(QStringLiteral("Adicionar ao dicionário")));
    QVERIFY2(add >= 1, qPrintable(texts.join(QLatin1Char(','))));
    QVERIFY(texts.mid(0, add).contains(QStringLiteral("você")));
    QVERIFY(!texts.mid(0, add).contains(QStringLiteral("-")));
    QCOMPARE(texts.value(add + 1), QStringLiteral("-"));
    // The edit's own entries follow.
    QVERIFY(texts.size() > add + 3);
    QCOMPARE(line->text(), QStringLiteral("oi você aqui"));
    QCOMPARE(marks(spell, line), QString());
    // The suggestion was typed over the word: undo brings the word back.
    line->undo();
    QCOMPARE(line->text(), QStringLiteral("oi voçe aqui"));
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));

    // On a word spelled right the menu is the edit's own.
    line->setCursorPosition(1);
    texts = menuTexts(line);
    QVERIFY(!texts.contains(QStringLiteral("Adicionar ao dicionário")));
    QVERIFY(!texts.contains(QStringLiteral("você")));
}

// The word goes to dicionario.txt beside confs.ini and is no longer marked, in this window and
// in the next one.
void TestWindowSpell::addToDictionaryKeepsTheWord()
{
    WindowHarness h(Plain);
    h.open();
    auto* spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    QLineEdit* line = inputLine(h.window.get());
    type(line, QStringLiteral("o Tulmoqx é bom, tulmoqx"));
    QCOMPARE(marks(spell, line), QStringLiteral("Tulmoqx|tulmoqx"));
    line->setCursorPosition(3);
    menuTexts(line, [](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("Adicionar ao dicionário"))
                action->trigger();
        }
    });
    QFile file(h.path(SpellCheck::PersonalFile));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Tulmoqx\n"));
    // Added with its capital, the word in small letters is still marked.
    QCOMPARE(marks(spell, line), QStringLiteral("tulmoqx"));

    h.close();
    h.open();
    spell = h.window->feature<SpellCheck>();
    QVERIFY(startChecking(spell, inputLine(h.window.get())));
    line = inputLine(h.window.get());
    type(line, QStringLiteral("TULMOQX Tulmoqx"));
    QCOMPARE(marks(spell, line), QString());
}

void TestWindowSpell::switchedOff()
{
    WindowHarness h(Plain + QStringList{QStringLiteral("Ortografia=0")});
    h.open();
    auto* spell = h.window->feature<SpellCheck>();
    // Loaded for the whole program by another window, the dictionary changes nothing here.
    SpellDictionary::instance()->load();
    QTRY_VERIFY_WITH_TIMEOUT(SpellDictionary::instance()->isLoaded(), LoadTimeout);
    QVERIFY(!spell->active());
    QLineEdit* line = inputLine(h.window.get());
    line->setFocus();
    type(line, QStringLiteral("oi voçe"));
    QCOMPARE(marks(spell, line), QString());
    QVERIFY(!menuTexts(line).contains(QStringLiteral("Adicionar ao dicionário")));

    // Switched on from the options, the line is checked at once; off again, the marks go.
    TIniFile ini(h.path(QStringLiteral("confs.ini")));
    Settings::write(ini, Keys::Geral::Ortografia, true);
    spell->applyOptions();
    QCOMPARE(marks(spell, line), QStringLiteral("voçe"));
    Settings::write(ini, Keys::Geral::Ortografia, false);
    spell->applyOptions();
    QCOMPARE(marks(spell, line), QString());
    QCOMPARE(redPixels(line), 0);
}

QTEST_MAIN(TestWindowSpell)
#include "tst_window_spell.moc"
