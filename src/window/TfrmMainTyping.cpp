#include "window/TfrmMain.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "window/BottomStrip.h"
#include "window/ChatColumn.h"

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

void TfrmMain::noteInputLine(QObject* watched)
{
    if (m_bottomStrip->isInputLine(watched))
        m_lastInput = static_cast<QLineEdit*>(watched);
}

// Text typed while a pane has the focus goes to the input line used last; the pane keeps its
// own keys (copying, scrolling, selecting) and the window's shortcuts. What an input method
// composes in a pane (an accented letter from dead keys) arrives here as a key press too.
bool TfrmMain::typeIntoInputLine(QObject* receiver, const QKeyEvent* event)
{
    bool pane = false;
    for (const ChatView* view : {m_chatColumn->txtChat, m_chatColumn->txtWhisps})
        pane = pane || receiver == view || receiver == view->viewport();
    if (!pane || !typesText(*event))
        return false;
    QLineEdit* target =
        m_lastInput && m_lastInput->isVisible() ? m_lastInput.data() : m_bottomStrip->txtMsg;
    if (!target->isEnabled())
        return false;
    target->setFocus(Qt::OtherFocusReason);
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text(),
                    event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(target, &typed);
    return true;
}
