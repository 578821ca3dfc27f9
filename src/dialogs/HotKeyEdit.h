#pragma once

#include <QKeyCombination>
#include <QLineEdit>

#include <functional>
#include <optional>

// A field that shows and captures one key combination, the way confs.ini stores a shortcut:
// each press of a key with its modifiers replaces the combination. Backspace or Delete alone
// clears it; a key the stored text cannot name (a Meta combination, Pause...) is not taken.
// A digit or letter held with Shift is taken as its key, not as the character Shift gives it
// ("Shift+1", not "!"). Tab and Shift+Tab still move the focus.
class HotKeyEdit final : public QLineEdit
{
    Q_OBJECT

public:
    // Tells what already has a combination; nothing when it is free.
    using Holder = std::function<std::optional<QString>(QKeyCombination)>;

    explicit HotKeyEdit(QWidget* parent = nullptr);

    std::optional<QKeyCombination> combination() const { return m_combination; }
    void setCombination(std::optional<QKeyCombination> combination);
    // A combination that has a holder is refused: the field keeps what it had.
    void setHolder(Holder holder);

Q_SIGNALS:
    void refused(QKeyCombination combination, const QString& usedBy);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<QKeyCombination> m_combination;
    Holder m_holder;
};
