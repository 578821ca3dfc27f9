#pragma once

#include <QStyledItemDelegate>

class StyleTable;

// Draws an entry of the user list with its tag picture and in the colour of its rank's style
// (style 5 for ordinary accounts); icon, selection and background are drawn as usual.
class UserListDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
public:
    UserListDelegate(const StyleTable* styles, QObject* parent);

    // The text style whose colour an entry of this rank takes.
    static int styleOfRank(int rank);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const StyleTable* m_styles;
};
