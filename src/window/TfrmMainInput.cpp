#include "window/TfrmMain.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include "chat/ClientCommandLine.h"
#include "chat/TFastNicks.h"
#include "core/AsciiCase.h"
#include "dialogs/UnshiftedKey.h"
#include "net/TGatewayChat.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/LockedWhisperPanel.h"
#include "window/TComandos.h"
#include "window/TLockWhisps.h"
#include "window/TopStrip.h"
#include "window/UserColumn.h"

// A typed line the gate would drop stays in the input line instead.
bool TfrmMain::holdsBackLine()
{
    if (!loginHoldsLine())
        return false;
    m_bottomStrip->txtMsg->setFocus();
    return true;
}

void TfrmMain::btnEnviarClick()
{
    const QString text = m_bottomStrip->txtMsg->text();
    // Client commands come first, in every state: one must never reach the server.
    const bool command = !text.isEmpty() && FComandos->analisar(text);
    // A line of blanks and control characters alone is neither sent nor kept: it carries no
    // message.
    const bool blank = ClientCommandLine::isBlank(text);
    if (!command && !blank && holdsBackLine())
        return;
    if (command) {
        FFastNicks->addLastMsg(text);
    } else if (!blank) {
        sendLine(text + QLatin1Char('\r'));
        if (text.startsWith(QLatin1Char('/'))) {
            if (AsciiCase::toLower(text.left(5)) == QLatin1String("/away")) {
                if (text.size() > 6)
                    m_topStrip->btnAway->setChecked(true);
                else
                    m_topStrip->btnAway->setChecked(!m_topStrip->btnAway->isChecked());
            }
            if (AsciiCase::toLower(text.left(4)) == QLatin1String("/dnd")) {
                if (text.size() > 5)
                    m_topStrip->btnDND->setChecked(true);
                else
                    m_topStrip->btnDND->setChecked(!m_topStrip->btnDND->isChecked());
            }
        } else {
            mensagem(FLogin, text);
        }
        FFastNicks->addLastMsg(text);
    }
    m_bottomStrip->txtMsg->clear();
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::btnEmoteClick()
{
    const QString text = m_bottomStrip->txtMsg->text();
    if (!text.isEmpty() && holdsBackLine())
        return;
    if (!text.isEmpty()) {
        sendLine(QStringLiteral("/me ") + text + QLatin1Char('\r'));
        m_bottomStrip->txtMsg->clear();
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::txtMsgChange(const QString& text)
{
    if (text.isEmpty())
        FFastNicks->resetIndex();
}

void TfrmMain::txtMsgEnter()
{
    m_bottomStrip->btnEnviar->setDefault(true);
    for (LockedWhisperPanel* lock : m_bottomStrip->lockPanels())
        lock->btnWhispar->setDefault(false);
}

void TfrmMain::txtWhispEnter(int tag)
{
    FLockWhisps->selecionaCampo(tag);
}

bool TfrmMain::txtMsgKeyDown(int key)
{
    if (key == Qt::Key_Up) {
        FFastNicks->getNextMsg();
        return true;
    }
    if (key == Qt::Key_Down) {
        FFastNicks->getPreviousMsg();
        return true;
    }
    return false;
}

// Qt has default buttons only in dialogs; Enter in an edit of the window presses the button
// that is marked default.
void TfrmMain::pressDefaultButton()
{
    if (m_bottomStrip->btnEnviar->isDefault()) {
        m_bottomStrip->btnEnviar->click();
        return;
    }
    for (LockedWhisperPanel* lock : m_bottomStrip->lockPanels()) {
        if (lock->btnWhispar->isDefault()) {
            lock->btnWhispar->click();
            return;
        }
    }
}

// "Auto-Rolagem" is clicked like a check box: by the left button, released over it. A double
// click is one click: its first release toggled already, the one after the double click does not.
void TfrmMain::autoScrollMouse(const QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (event->type() == QEvent::MouseButtonDblClick) {
        m_autoScrollDoubleClick = true;
        return;
    }
    if (std::exchange(m_autoScrollDoubleClick, false))
        return;
    if (m_chatColumn->lblAutoScroll->rect().contains(event->position().toPoint()))
        lblAutoScrollClick();
}

// A list takes no Enter of its own: the window's default button gets it, as from the input line.
// Taken here, the key never reaches the list, which would report it as activated.
bool TfrmMain::listEnter(QObject* receiver, const QKeyEvent* event)
{
    if (receiver != m_userColumn->lstUsers && receiver != m_userColumn->lstCustom)
        return false;
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    pressDefaultButton();
    return true;
}

// A line edit claims keys such as Ctrl+A (and emacs keys on X11) before the window's actions;
// the window's shortcuts win. With Shift held the key may be named by its unshifted key ("Shift+1"
// while the keyboard reports "!"), as the window's shortcuts match it.
bool TfrmMain::claimsShortcut(const QKeyEvent* event) const
{
    QList<QKeySequence> pressed{QKeySequence(event->keyCombination())};
    if (event->modifiers() & Qt::ShiftModifier) {
        if (const std::optional<Qt::Key> key = unshiftedKey(*event))
            pressed << QKeySequence(QKeyCombination(event->modifiers(), *key));
    }
    const QList<QAction*> all = findChildren<QAction*>();
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

bool TfrmMain::ApplicationEvents1Message(QObject*, QKeyEvent* event)
{
    const bool backtab = event->key() == Qt::Key_Backtab;
    if (event->key() != Qt::Key_Tab && !backtab)
        return false;
    QWidget* active = focusWidget();
    QLineEdit* txtMsg = m_bottomStrip->txtMsg;
    const QList<LockedWhisperPanel*>& locks = m_bottomStrip->lockPanels();
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
            FFastNicks->getNextUser();
        else
            FFastNicks->nickCompletation(text);
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
bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::FocusIn &&
        type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick &&
        type != QEvent::Resize)
        return QMainWindow::eventFilter(watched, event);
    bool consumed = false;
    guarded([&] {
        switch (type) {
        case QEvent::KeyPress:
            consumed = ApplicationEvents1Message(watched, static_cast<QKeyEvent*>(event));
            if (!consumed && watched == m_bottomStrip->txtMsg)
                consumed = txtMsgKeyDown(static_cast<QKeyEvent*>(event)->key());
            if (!consumed)
                consumed = listEnter(watched, static_cast<QKeyEvent*>(event));
            if (!consumed)
                consumed = typeIntoInputLine(watched, static_cast<QKeyEvent*>(event));
            break;
        case QEvent::ShortcutOverride:
            if (m_bottomStrip->isInputLine(watched) &&
                claimsShortcut(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                consumed = true;
            }
            break;
        case QEvent::FocusIn:
            noteInputLine(watched);
            if (watched == m_bottomStrip->txtMsg) {
                txtMsgEnter();
            } else {
                for (LockedWhisperPanel* lock : m_bottomStrip->lockPanels()) {
                    if (watched == lock->txtWhisp)
                        txtWhispEnter(lock->number());
                }
            }
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (watched == m_chatColumn->lblAutoScroll)
                autoScrollMouse(static_cast<QMouseEvent*>(event));
            break;
        case QEvent::Resize:
            if (watched == m_chatColumn->pnlTopChat)
                FormResize();
            break;
        default:
            break;
        }
    });
    return consumed || QMainWindow::eventFilter(watched, event);
}
