#include "window/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/AsciiCase.h"
#include "net/TGatewayChat.h"
#include "chat/TFastNicks.h"
#include "window/TfrmConectar.h"

void TfrmMain::btnEnviarClick()
{
    const QString text = txtMsg->text();
    // A line of blanks alone is neither sent nor kept: it carries no message.
    if (!text.trimmed().isEmpty()) {
        sendLine(text + QLatin1Char('\r'));
        if (text.startsWith(QLatin1Char('/'))) {
            if (AsciiCase::toLower(text.left(5)) == QLatin1String("/away")) {
                if (text.size() > 6)
                    btnAway->setChecked(true);
                else
                    btnAway->setChecked(!btnAway->isChecked());
            }
            if (AsciiCase::toLower(text.left(4)) == QLatin1String("/dnd")) {
                if (text.size() > 5)
                    btnDND->setChecked(true);
                else
                    btnDND->setChecked(!btnDND->isChecked());
            }
        } else {
            mensagem(FLogin, text);
        }
        FFastNicks->addLastMsg(text);
    }
    txtMsg->clear();
    txtMsg->setFocus();
}

void TfrmMain::btnEmoteClick()
{
    const QString text = txtMsg->text();
    if (!text.isEmpty()) {
        sendLine(QStringLiteral("/me ") + text + QLatin1Char('\r'));
        txtMsg->clear();
    }
    txtMsg->setFocus();
}

void TfrmMain::txtMsgChange(const QString& text)
{
    if (text.isEmpty())
        FFastNicks->resetIndex();
}

void TfrmMain::txtMsgEnter()
{
    btnEnviar->setDefault(true);
    for (QPushButton* button : btnWhispar)
        button->setDefault(false);
}

void TfrmMain::txtWhispEnter(int tag)
{
    btnEnviar->setDefault(false);
    for (int i = 0; i < 5; ++i)
        btnWhispar[i]->setDefault(i == tag - 1);
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
    if (btnEnviar->isDefault()) {
        btnEnviar->click();
        return;
    }
    for (QPushButton* button : btnWhispar) {
        if (button->isDefault()) {
            button->click();
            return;
        }
    }
}

// A line edit claims keys such as Ctrl+A (and emacs keys on X11) before the window's actions;
// the window's shortcuts win.
bool TfrmMain::claimsShortcut(const QKeyEvent* event) const
{
    const QKeySequence pressed(event->keyCombination());
    const QList<QAction*> all = findChildren<QAction*>();
    for (const QAction* action : all) {
        if (!action->isEnabled())
            continue;
        for (const QKeySequence& shortcut : action->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
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
    if (backtab || event->modifiers().testFlag(Qt::ShiftModifier)) {
        if (pnlWhispLock[0]->isVisible() && active == txtMsg) {
            txtWhisp[0]->setFocus(Qt::TabFocusReason);
            return true;
        }
        for (int i = 1; i < 5; ++i) {
            if (pnlWhispLock[i]->isVisible() && active == txtWhisp[i - 1]) {
                txtWhisp[i]->setFocus(Qt::TabFocusReason);
                return true;
            }
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
    for (int i = 0; i < 5; ++i) {
        if (active == txtWhisp[i]) {
            (i == 0 ? static_cast<QWidget*>(txtMsg) : txtWhisp[i - 1])
                ->setFocus(Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

// Installed on the application: sees every event before its receiver, like a message hook.
bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::FocusIn &&
        type != QEvent::MouseButtonRelease && type != QEvent::Resize)
        return QMainWindow::eventFilter(watched, event);
    bool consumed = false;
    guarded([&] {
        switch (type) {
        case QEvent::KeyPress:
            consumed = ApplicationEvents1Message(watched, static_cast<QKeyEvent*>(event));
            if (!consumed && watched == txtMsg)
                consumed = txtMsgKeyDown(static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::ShortcutOverride:
            if (isInputLine(watched) && claimsShortcut(static_cast<QKeyEvent*>(event))) {
                event->ignore();
                consumed = true;
            }
            break;
        case QEvent::FocusIn:
            if (watched == txtMsg) {
                txtMsgEnter();
            } else {
                for (int i = 0; i < 5; ++i) {
                    if (watched == txtWhisp[i])
                        txtWhispEnter(i + 1);
                }
            }
            break;
        case QEvent::MouseButtonRelease:
            if (watched == lblAutoScroll)
                lblAutoScrollClick();
            break;
        case QEvent::Resize:
            if (watched == pnlTopChat)
                FormResize();
            else if (watched == pnlTopo) // the line along its top runs the strip's width
                Bevel1->resize(pnlTopo->width(), Bevel1->height());
            break;
        default:
            break;
        }
    });
    return consumed || QMainWindow::eventFilter(watched, event);
}

bool TfrmMain::isInputLine(const QObject* object) const
{
    if (object == txtMsg)
        return true;
    for (const QLineEdit* edit : txtWhisp) {
        if (object == edit)
            return true;
    }
    return false;
}
