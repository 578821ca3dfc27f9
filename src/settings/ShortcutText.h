#pragma once

#include <QString>
#include <Qt>

#include <optional>

// The text form of a key combination stored in confs.ini: "Shift+", "Ctrl+", "Alt+" (in that
// order, as present) and a key name such as "A", "7", "F12", "Enter", "PgUp" or "Del".
class ShortcutText
{
public:
    // Empty text for no combination, a key without a stored name, or one held with Meta (which
    // the stored text cannot say). The keypad flag is dropped; Backtab is written "Shift+Tab".
    static QString format(QKeyCombination combination);
    // Modifiers in any order; names in any ASCII letter case. Nothing for empty text or an unknown
    // key.
    static std::optional<QKeyCombination> parse(const QString& text);
};
