#include "window/UserColumn.h"

#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "chat/UserListModel.h"
#include "dialogs/DeselectingView.h"
#include "view/StyleTable.h"
#include "window/UserListDelegate.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

UserColumn::UserColumn(UserListModel* users, StyleTable* styles, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlFundoUsers"));
    setMinimumWidth(150);
    m_splitter = named(new QSplitter(Qt::Vertical, this), QStringLiteral("pnlFundoUsersSplit"));
    m_splitter->setHandleWidth(3);
    m_splitter->setOpaqueResize(true);
    m_splitter->setChildrenCollapsible(false);
    columnLayout(this)->addWidget(m_splitter);

    setupUserList(users, styles);
    setupCustomList();

    m_splitter->addWidget(pnlUsers);
    m_splitter->addWidget(pnlCustom);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({383, 95});
    m_splitter->handle(1)->setObjectName(QStringLiteral("Splitter3"));
    pnlCustom->hide();
}

void UserColumn::setupUserList(UserListModel* users, StyleTable* styles)
{
    pnlUsers = panel(QStringLiteral("pnlUsers"), m_splitter);
    pnlTopUsers = panel(QStringLiteral("pnlTopUsers"), pnlUsers);
    pnlTopUsers->setFixedHeight(22);
    pnlTopUsers->setAutoFillBackground(true);
    setColors(pnlTopUsers, QColor(0x2A, 0x2A, 0x2A), Lime);
    lblChannel = named(new QLabel(pnlTopUsers), QStringLiteral("lblChannel"));
    lblChannel->setAlignment(Qt::AlignCenter);
    lblChannel->setAutoFillBackground(true);
    lblChannel->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 12));
    setColors(lblChannel, BarColor, Lime);
    columnLayout(pnlTopUsers)->addWidget(lblChannel);

    lstUsers = named(new DeselectingView<QTreeView>(pnlUsers), QStringLiteral("lstUsers"));
    lstUsers->setModel(users);
    for (int column = UserListModel::FlagColumn; column < UserListModel::ColumnCount; ++column)
        lstUsers->setColumnHidden(column, true);
    lstUsers->setHeaderHidden(true);
    lstUsers->header()->setStretchLastSection(false);
    lstUsers->header()->setSectionResizeMode(UserListModel::AccountColumn, QHeaderView::Stretch);
    lstUsers->setRootIsDecorated(false);
    lstUsers->setItemsExpandable(false);
    lstUsers->setUniformRowHeights(true);
    lstUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    lstUsers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstUsers->setIconSize(QSize(27, 18));
    lstUsers->setFont(pixelFont(QStringLiteral("Verdana"), 12));
    lstUsers->setItemDelegate(new UserListDelegate(styles, lstUsers));
    // The entries take their colours from the style table: a changed colour shows at once.
    connect(styles, &StyleTable::changed, lstUsers->viewport(), qOverload<>(&QWidget::update));
    lstUsers->setContextMenuPolicy(Qt::CustomContextMenu);
    lstUsers->setAccessibleName(QStringLiteral("Usuários do canal"));
    setColors(lstUsers, Qt::black, Qt::white);
    auto* layout = columnLayout(pnlUsers);
    layout->addWidget(pnlTopUsers);
    layout->addWidget(lstUsers, 1);
}

void UserColumn::setupCustomList()
{
    pnlCustom = panel(QStringLiteral("pnlCustom"), m_splitter);
    lstCustom = named(new DeselectingView<QTreeWidget>(pnlCustom), QStringLiteral("lstCustom"));
    lstCustom->setColumnCount(2);
    lstCustom->setHeaderLabels({QStringLiteral("Account"), QStringLiteral("Motivo")});
    lstCustom->setHeaderHidden(true);
    lstCustom->setRootIsDecorated(false);
    lstCustom->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstCustom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstCustom->setFont(pixelFont(QStringLiteral("Verdana"), 13));
    lstCustom->setContextMenuPolicy(Qt::CustomContextMenu);
    lstCustom->setAccessibleName(QStringLiteral("Lista de suspeitos"));
    setColors(lstCustom, Qt::black, Qt::white);
    columnLayout(pnlCustom)->addWidget(lstCustom);
}

void UserColumn::setCustomListVisible(bool visible)
{
    pnlCustom->setVisible(visible);
    m_splitter->handle(1)->setVisible(visible);
}
