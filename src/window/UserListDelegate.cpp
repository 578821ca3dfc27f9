#include "window/UserListDelegate.h"

#include "chat/UserListModel.h"
#include "resources/Pictures.h"
#include "view/StyleTable.h"

UserListDelegate::UserListDelegate(const StyleTable* styles, QObject* parent)
    : QStyledItemDelegate(parent), m_styles(styles)
{
}

int UserListDelegate::styleOfRank(int rank)
{
    return rank >= StyleTable::MOD && rank <= StyleTable::VOICE ? rank : StyleTable::Usuario;
}

void UserListDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const int rank = index.data(UserListModel::OrderRole).toInt();
    option->palette.setColor(QPalette::Text, m_styles->color(styleOfRank(rank)));
    const QVariant icon = index.data(UserListModel::IconRole);
    if (icon.isValid()) {
        option->icon = Pictures::userTagIcon(icon.toInt());
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = QSize(27, 18);
    }
}
