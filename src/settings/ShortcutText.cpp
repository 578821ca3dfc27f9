#include "ShortcutText.h"

#include <array>

#include <QStringList>

#include "core/AsciiCase.h"

namespace {

struct NamedKey
{
    Qt::Key key;
    const char* name;
};

// Keys with a word for a name; letters, digits and F1-F24 are named by their own text.
constexpr std::array<NamedKey, 15> NamedKeys = {{
    {Qt::Key_Backspace, "BkSp"},
    {Qt::Key_Tab, "Tab"},
    {Qt::Key_Escape, "Esc"},
    {Qt::Key_Return, "Enter"},
    {Qt::Key_Space, "Space"},
    {Qt::Key_PageUp, "PgUp"},
    {Qt::Key_PageDown, "PgDn"},
    {Qt::Key_End, "End"},
    {Qt::Key_Home, "Home"},
    {Qt::Key_Left, "Left"},
    {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},
    {Qt::Key_Down, "Down"},
    {Qt::Key_Insert, "Ins"},
    {Qt::Key_Delete, "Del"},
}};

constexpr int LastFunctionKey = 24;

// Names match in any ASCII letter case only: Unicode folding would take look-alikes such as
// "Eſc" or "ſhift" for the names they resemble.
bool isName(const QString& lowerText, const char* name)
{
    return lowerText == AsciiCase::toLower(QLatin1String(name));
}

QString keyName(Qt::Key key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QString(QChar(char16_t(key)));
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + LastFunctionKey)
        return QLatin1Char('F') + QString::number(key - Qt::Key_F1 + 1);
    // The keypad's Enter is the same key to the user.
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    for (const NamedKey& named : NamedKeys) {
        if (named.key == key)
            return QLatin1String(named.name);
    }
    return QString();
}

std::optional<Qt::Key> keyOf(const QString& name)
{
    if (name.size() == 1) {
        const char16_t c = name[0].unicode();
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            return Qt::Key(c);
        if (c >= u'a' && c <= u'z')
            return Qt::Key(c - u'a' + u'A');
    }
    if (name.size() >= 2 && (name[0] == QLatin1Char('F') || name[0] == QLatin1Char('f'))) {
        const QString digits = name.mid(1);
        bool ok = false;
        const int n = digits.toInt(&ok);
        // "F01" or "F+1" is no key name
        if (ok && n >= 1 && n <= LastFunctionKey && QString::number(n) == digits)
            return Qt::Key(Qt::Key_F1 + n - 1);
    }
    const QString lower = AsciiCase::toLower(name);
    for (const NamedKey& named : NamedKeys) {
        if (isName(lower, named.name))
            return named.key;
    }
    return std::nullopt;
}

} // namespace

QString ShortcutText::format(QKeyCombination combination)
{
    Qt::Key key = combination.key();
    // The keypad flag says where the key sits, not which key it is.
    Qt::KeyboardModifiers modifiers =
        combination.keyboardModifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (modifiers & Qt::MetaModifier)
        return QString();
    // Shift+Tab reaches the program as Backtab.
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        modifiers |= Qt::ShiftModifier;
    }
    const QString name = keyName(key);
    if (name.isEmpty())
        return QString();
    QString text;
    if (modifiers & Qt::ShiftModifier)
        text += QLatin1String("Shift+");
    if (modifiers & Qt::ControlModifier)
        text += QLatin1String("Ctrl+");
    if (modifiers & Qt::AltModifier)
        text += QLatin1String("Alt+");
    return text + name;
}

std::optional<QKeyCombination> ShortcutText::parse(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('+'));
    const std::optional<Qt::Key> key = keyOf(parts.last().trimmed());
    if (!key)
        return std::nullopt;
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString part = AsciiCase::toLower(parts[i].trimmed());
        if (isName(part, "Shift"))
            modifiers |= Qt::ShiftModifier;
        else if (isName(part, "Ctrl"))
            modifiers |= Qt::ControlModifier;
        else if (isName(part, "Alt"))
            modifiers |= Qt::AltModifier;
        else
            return std::nullopt;
    }
    return QKeyCombination(modifiers, *key);
}
