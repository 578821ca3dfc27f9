#include "dialogs/HotKeyEdit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "settings/ShortcutText.h"

// Last: Xlib defines macros (KeyPress, None...) that would clash with Qt's names.
#if !defined(Q_OS_WIN) && defined(TULMO_HAS_X11) && QT_CONFIG(xcb)
#define TULMO_X11_KEYMAP
#include <X11/XKBlib.h>
#endif

namespace {

// Qt's codes of digits and letters are their upper-case ASCII codes.
[[maybe_unused]] std::optional<Qt::Key> digitOrLetter(quint32 code)
{
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return Qt::Key(code);
    return std::nullopt;
}

// The key under the finger without Shift, when it is a digit or a letter: Qt reports the character
// Shift gives ("!" for Shift+1 on a US layout), which no stored text can name. Windows gives the
// virtual key; X11 the keycode, whose symbol at the first shift level in the active group is the
// unshifted key. Elsewhere (offscreen, Wayland) nothing better than Qt's key is known.
std::optional<Qt::Key> unshiftedKey(const QKeyEvent& event)
{
#if defined(Q_OS_WIN)
    // The virtual keys of digits and letters are their upper-case ASCII codes too.
    return digitOrLetter(event.nativeVirtualKey());
#elif defined(TULMO_X11_KEYMAP)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    const quint32 keycode = event.nativeScanCode();
    if (!display || keycode == 0 || keycode > 255)
        return std::nullopt;
    // The X event's state carries the keyboard group in bits 13 and 14.
    const unsigned int group = (event.nativeModifiers() >> 13) & 3;
    const KeySym symbol = XkbKeycodeToKeysym(display, KeyCode(keycode), group, 0);
    // Key symbols of ASCII characters are their codes; a letter's first level is lower case.
    if (symbol >= 'a' && symbol <= 'z')
        return Qt::Key(Qt::Key_A + (symbol - 'a'));
    return digitOrLetter(quint32(symbol));
#else
    Q_UNUSED(event);
    return std::nullopt;
#endif
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
