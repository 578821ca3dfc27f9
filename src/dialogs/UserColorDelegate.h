#pragma once

#include <QColor>
#include <QStyledItemDelegate>

#include <array>

// Draws an entry of the options' user colour list in the colour of its rank, found by the entry's
// caption each time it is drawn, so the entries keep their colours however the list is redrawn.
class UserColorDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Moderator, administrator, operator, voice, ordinary user.
    using Colors = std::array<QColor, 5>;

    UserColorDelegate(const Colors* colors, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const Colors* m_colors;
};
