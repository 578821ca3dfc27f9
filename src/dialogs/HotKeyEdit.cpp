#include "dialogs/HotKeyEdit.h"

#include <QKeyEvent>
#include <QKeySequence>

#include "settings/ShortcutText.h"

namespace {

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_unknown:
        return true;
    default:
        return false;
    }
}

} // namespace

HotKeyEdit::HotKeyEdit(QWidget* parent) : QLineEdit(parent)
{
    // Nothing is typed, pasted or dropped: the text only names the combination.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void HotKeyEdit::setCombination(std::optional<QKeyCombination> combination)
{
    m_combination = combination;
    setText(combination ? QKeySequence(*combination).toString(QKeySequence::NativeText)
                        : QString());
}

// Every key pressed here is meant for the field, not for a shortcut of the dialog.
bool HotKeyEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void HotKeyEdit::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    const int key = event->key();
    if (isModifierKey(key))
        return;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == Qt::NoModifier) {
        setCombination(std::nullopt);
        return;
    }
    // Kept as the stored text reads back, so the field shows what "OK" will store.
    const QString text = ShortcutText::format(QKeyCombination(modifiers, Qt::Key(key)));
    if (text.isEmpty())
        return;
    setCombination(ShortcutText::parse(text));
}
