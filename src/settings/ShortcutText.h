#pragma once

#include <QString>
#include <Qt>

#include <optional>

// The text form of a key combination stored in confs.ini: "Shift+", "Ctrl+", "Alt+" (in that
// order, as present) and a key name such as "A", "7", "F12", "Enter", "PgUp" or "Del".
class ShortcutText
{
public:
    // Empty text for no combination or a key without a stored name.
    static QString format(QKeyCombination combination);
    // Modifiers in any order and letter case; nothing for empty text or an unknown key.
    static std::optional<QKeyCombination> parse(const QString& text);
};
