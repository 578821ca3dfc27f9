#pragma once

#include <Qt>

#include <optional>

class QKeyEvent;

// The key under the finger without Shift, when it is a digit or a letter: Qt reports the character
// Shift gives ("!" for Shift+1 on a US layout), which no stored text can name. Windows gives the
// virtual key; X11 the keycode, whose symbol at the first shift level in the active group is the
// unshifted key. Elsewhere (offscreen, Wayland) nothing better than Qt's key is known.
std::optional<Qt::Key> unshiftedKey(const QKeyEvent& event);
