#include "dialogs/HotKeyEdit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "dialogs/UnshiftedKey.h"
#include "settings/ShortcutText.h"

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

void HotKeyEdit::setHolder(Holder holder)
{
    m_holder = std::move(holder);
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
    Qt::Key key = Qt::Key(event->key());
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && modifiers == Qt::NoModifier) {
        setCombination(std::nullopt);
        return;
    }
    if (modifiers & Qt::ShiftModifier) {
        if (const std::optional<Qt::Key> unshifted = unshiftedKey(*event))
            key = *unshifted;
    }
    // A key the stored text cannot name, a modifier pressed alone among them, is not taken. The
    // combination is kept as the stored text reads it back, so the field shows what "OK" stores.
    const QString text = ShortcutText::format(QKeyCombination(modifiers, key));
    if (text.isEmpty())
        return;
    const std::optional<QKeyCombination> combination = ShortcutText::parse(text);
    if (m_holder && combination) {
        if (const std::optional<QString> usedBy = m_holder(*combination)) {
            Q_EMIT refused(*combination, *usedBy);
            return;
        }
    }
    setCombination(combination);
}
