#include "window/InputLine.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "chat/ClientCommandLine.h"
#include "chat/TFastNicks.h"
#include "core/AsciiCase.h"
#include "dialogs/UnshiftedKey.h"
#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/LockedWhisperPanel.h"
#include "window/TopStrip.h"
#include "window/UserColumn.h"
#include "window/WindowContext.h"

namespace {

// A key that types text: printable characters, with no modifier that makes it a command.
// Ctrl+Alt is AltGr on some desktops; a real Ctrl+Alt shortcut has fired before the press.
bool typesText(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (!c.isPrint())
            return false;
    }
    const Qt::KeyboardModifiers commands =
        event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return commands == Qt::NoModifier || commands == (Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

InputLine::InputLine(WindowContext& context, QWidget* window, TopStrip* top, ChatColumn* chat,
                     UserColumn* users, BottomStrip* bottom, TFastNicks* nicks, Hooks hooks)
    : QObject(window), m_ctx(context), m_window(window), m_top(top), m_chat(chat), m_users(users),
      m_bottom(bottom), m_nicks(nicks), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("InputLine"));
    connect(m_bottom->btnEnviar, &QPushButton::clicked, this,
            m_ctx.guard([this] { btnEnviarClick(); }));
    connect(m_bottom->btnEmote, &QPushButton::clicked, this,
            m_ctx.guard([this] { btnEmoteClick(); }));
    connect(m_bottom->txtMsg, &QLineEdit::returnPressed, this,
            m_ctx.guard([this] { pressDefaultButton(); }));
    connect(m_bottom->txtMsg, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ctx.guarded([this, &text] { txtMsgChange(text); }); });
    for (LockedWhisperPanel* lock : m_bottom->lockPanels())
        connect(lock->txtWhisp, &QLineEdit::returnPressed, this,
                m_ctx.guard([this] { pressDefaultButton(); }));
    qApp->installEventFilter(this);
}

InputLine::~InputLine()
{
    qApp->removeEventFilter(this);
}

void InputLine::btnEnviarClick()
{
    const QString text = m_bottom->txtMsg->text();
    // Client commands come first, in every state: one must never reach the server.
    const bool command = !text.isEmpty() && m_hooks.clientCommand(text);
    // A line of blanks and control characters alone is neither sent nor kept: it carries no
    // message.
    const bool blank = ClientCommandLine::isBlank(text);
    if (!command && !blank && m_ctx.holdsBackLine())
        return;
    if (command) {
        m_nicks->addLastMsg(text);
    } else if (!blank) {
        m_ctx.sendLine(text + QLatin1Char('\r'));
        if (text.startsWith(QLatin1Char('/'))) {
            if (AsciiCase::toLower(text.left(5)) == QLatin1String("/away")) {
                if (text.size() > 6)
                    m_top->btnAway->setChecked(true);
                else
                    m_top->btnAway->setChecked(!m_top->btnAway->isChecked());
            }
            if (AsciiCase::toLower(text.left(4)) == QLatin1String("/dnd")) {
                if (text.size() > 5)
                    m_top->btnDND->setChecked(true);
                else
                    m_top->btnDND->setChecked(!m_top->btnDND->isChecked());
            }
        } else {
            m_ctx.mensagem(m_ctx.login(), text);
        }
        m_nicks->addLastMsg(text);
    }
    m_bottom->txtMsg->clear();
    m_bottom->txtMsg->setFocus();
}

void InputLine::btnEmoteClick()
{
    const QString text = m_bottom->txtMsg->text();
    if (!text.isEmpty() && m_ctx.holdsBackLine())
        return;
    if (!text.isEmpty()) {
        m_ctx.sendLine(QStringLiteral("/me ") + text + QLatin1Char('\r'));
        m_bottom->txtMsg->clear();
    }
    m_bottom->txtMsg->setFocus();
}

void InputLine::txtMsgChange(const QString& text)
{
    if (text.isEmpty())
        m_nicks->resetIndex();
}

void InputLine::txtMsgEnter()
{
    m_bottom->btnEnviar->setDefault(true);
    for (LockedWhisperPanel* lock : m_bottom->lockPanels())
        lock->btnWhispar->setDefault(false);
}

void InputLine::txtWhispEnter(int tag)
{
    m_hooks.lockEntered(tag);
}

bool InputLine::txtMsgKeyDown(int key)
{
    if (key == Qt::Key_Up) {
        m_nicks->getNextMsg();
        return true;
    }
    if (key == Qt::Key_Down) {
        m_nicks->getPreviousMsg();
        return true;
    }
    return false;
}

// Qt has default buttons only in dialogs; Enter in an edit of the window presses the button
// that is marked default.
void InputLine::pressDefaultButton()
{
    if (m_bottom->btnEnviar->isDefault()) {
        m_bottom->btnEnviar->click();
        return;
    }
    for (LockedWhisperPanel* lock : m_bottom->lockPanels()) {
        if (lock->btnWhispar->isDefault()) {
            lock->btnWhispar->click();
            return;
        }
    }
}

// A list takes no Enter of its own: the window's default button gets it, as from the input line.
// Taken here, the key never reaches the list, which would report it as activated.
bool InputLine::listEnter(QObject* receiver, const QKeyEvent* event)
{
    if (receiver != m_users->lstUsers && receiver != m_users->lstCustom)
        return false;
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    pressDefaultButton();
    return true;
}

// A line edit claims keys such as Ctrl+A (and emacs keys on X11) before the window's actions;
// the window's shortcuts win. With Shift held the key may be named by its unshifted key ("Shift+1"
// while the keyboard reports "!"), as the window's shortcuts match it.
bool InputLine::claimsShortcut(const QKeyEvent* event) const
{
    QList<QKeySequence> pressed{QKeySequence(event->keyCombination())};
    if (event->modifiers() & Qt::ShiftModifier) {
        if (const std::optional<Qt::Key> key = unshiftedKey(*event))
            pressed << QKeySequence(QKeyCombination(event->modifiers(), *key));
    }
    const QList<QAction*> all = m_window->findChildren<QAction*>();
    for (const QAction* action : all) {
        if (!action->isEnabled())
            continue;
        for (const QKeySequence& shortcut : action->shortcuts()) {
            for (const QKeySequence& keys : pressed) {
                if (shortcut.matches(keys) == QKeySequence::ExactMatch)
                    return true;
            }
        }
    }
    return false;
}

bool InputLine::ApplicationEvents1Message(QObject*, QKeyEvent* event)
{
    const bool backtab = event->key() == Qt::Key_Backtab;
    if (event->key() != Qt::Key_Tab && !backtab)
        return false;
    QWidget* active = m_window->focusWidget();
    QLineEdit* txtMsg = m_bottom->txtMsg;
    const QList<LockedWhisperPanel*>& locks = m_bottom->lockPanels();
    if (backtab || event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Upward from the input line through the open lines, line 1 first.
        QWidget* below = txtMsg;
        for (LockedWhisperPanel* lock : locks) {
            if (lock->isVisible() && active == below) {
                lock->txtWhisp->setFocus(Qt::TabFocusReason);
                return true;
            }
            below = lock->txtWhisp;
        }
    }
    if (active == txtMsg) {
        const QString text = txtMsg->text();
        if (text.trimmed().isEmpty() || text.startsWith(QLatin1Char('/')))
            m_nicks->getNextUser();
        else
            m_nicks->nickCompletation(text);
        return true;
    }
    // Downward, one line at a time, back to the input line.
    QWidget* below = txtMsg;
    for (LockedWhisperPanel* lock : locks) {
        if (active == lock->txtWhisp) {
            below->setFocus(Qt::BacktabFocusReason);
            return true;
        }
        below = lock->txtWhisp;
    }
    return false;
}

// Installed on the application: sees every event before its receiver, like a message hook.
bool InputLine::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::FocusIn)
        return QObject::eventFilter(watched, event);
    bool consumed = false;
    m_ctx.guarded([&] {
        switch (type) {
        case QEvent::KeyPress:
            consumed = ApplicationEvents1Message(watched, static_cast<QKeyEvent*>(event));
            if (!consumed && watched == m_bottom->txtMsg)
                consumed = txtMsgKeyDown(static_cast<QKeyEvent*>(event)->key());
            if (!consumed)
                consumed = listEnter(watched, static_cast<QKeyEvent*>(event));
            if (!consumed)
                consumed = typeIntoInputLine(watched, static_cast<QKeyEvent*>(event));
            break;
        case QEvent::ShortcutOverride:
            if (m_bottom->isInputLine(watched) && claimsShortcut(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                consumed = true;
            }
            break;
        case QEvent::FocusIn:
            noteInputLine(watched);
            if (watched == m_bottom->txtMsg) {
                txtMsgEnter();
            } else {
                for (LockedWhisperPanel* lock : m_bottom->lockPanels()) {
                    if (watched == lock->txtWhisp)
                        txtWhispEnter(lock->number());
                }
            }
            break;
        default:
            break;
        }
    });
    return consumed || QObject::eventFilter(watched, event);
}

void InputLine::noteInputLine(QObject* watched)
{
    if (m_bottom->isInputLine(watched))
        m_lastInput = static_cast<QLineEdit*>(watched);
}

// Text typed while a pane has the focus goes to the input line used last; the pane keeps its
// own keys (copying, scrolling, selecting) and the window's shortcuts. What an input method
// composes in a pane (an accented letter from dead keys) arrives here as a key press too.
bool InputLine::typeIntoInputLine(QObject* receiver, const QKeyEvent* event)
{
    bool pane = false;
    for (const ChatView* view : {m_chat->txtChat, m_chat->txtWhisps})
        pane = pane || receiver == view || receiver == view->viewport();
    if (!pane || !typesText(*event))
        return false;
    QLineEdit* target =
        m_lastInput && m_lastInput->isVisible() ? m_lastInput.data() : m_bottom->txtMsg;
    if (!target->isEnabled())
        return false;
    target->setFocus(Qt::OtherFocusReason);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text(),
                    event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(target, &typed);
    return true;
}
