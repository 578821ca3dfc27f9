#include "dialogs/UnshiftedKey.h"

#include <QGuiApplication>
#include <QKeyEvent>

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
} // namespace

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
