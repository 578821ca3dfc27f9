#pragma once

#include <QWidget>

class QLabel;
class QSplitter;
class QTreeView;
class QTreeWidget;
class StyleTable;
class UserListModel;

// The user column of the main window: the channel's name over the list of its accounts, and
// below it, hidden until operator mode shows it, the suspect accounts list.
class UserColumn final : public QWidget
{
    Q_OBJECT
public:
    // users fills the list, styles gives its colours; neither is owned.
    UserColumn(UserListModel* users, StyleTable* styles, QWidget* parent);

    // Shows or hides the suspect list with the splitter handle above it.
    void setCustomListVisible(bool visible);

    // The controls, by their names; set once by the constructor.
    QWidget* pnlUsers = nullptr;
    QWidget* pnlTopUsers = nullptr;
    QLabel* lblChannel = nullptr;
    QTreeView* lstUsers = nullptr;
    QWidget* pnlCustom = nullptr;
    QTreeWidget* lstCustom = nullptr;

private:
    void setupUserList(UserListModel* users, StyleTable* styles);
    void setupCustomList();

    QSplitter* m_splitter = nullptr;
};
