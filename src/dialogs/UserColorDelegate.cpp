#include "dialogs/UserColorDelegate.h"

#include <QStringList>

namespace {
// The colour slot of a caption: any caption that names no rank is an ordinary user.
int slotOf(const QString& caption)
{
    static const QStringList Ranks = {QStringLiteral("MODERADOR"), QStringLiteral("ADMINISTRADOR"),
                                      QStringLiteral("OPERADOR"), QStringLiteral("VOICE")};
    const int rank = int(Ranks.indexOf(caption));
    return rank < 0 ? 4 : rank;
}
} // namespace

UserColorDelegate::UserColorDelegate(const Colors* colors, QObject* parent)
    : QStyledItemDelegate(parent), m_colors(colors)
{
}

void UserColorDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Also on the selection: the entry being coloured shows its colour.
    const QColor color = (*m_colors)[size_t(slotOf(option->text))];
    option->palette.setColor(QPalette::Text, color);
    option->palette.setColor(QPalette::HighlightedText, color);
}
