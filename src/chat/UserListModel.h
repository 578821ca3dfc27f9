#pragma once

#include <QAbstractTableModel>
#include <QChar>
#include <QHash>
#include <QString>
#include <QVector>

#include <vector>

// One account of the current channel as the list shows it.
struct UserEntry
{
    QString account;  // caption, as the server sent it
    QString flags;    // FLAG column
    QString userType; // UT column
    QChar order;      // ORDER column: '0', '1', '2', '3' or '9'
    int icon = 11;    // index into the user-tag pictures
    QString key;      // the account case-folded: names are looked up ignoring letter case
};
// Lets vectors of entries move them with memmove.
Q_DECLARE_TYPEINFO(UserEntry, Q_RELOCATABLE_TYPE);

// The accounts of the current channel, ranked by their flags. The order is settled when an
// account is added: a new account goes after those of its rank, and an account whose rank
// changed keeps its place until the next addition re-sorts the list (stably).
class UserListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        AccountColumn,
        FlagColumn,
        UserTypeColumn,
        OrderColumn,
        ColumnCount
    };
    enum Role
    {
        IconRole = Qt::UserRole + 1,
        OrderRole
    };

    explicit UserListModel(QObject* parent = nullptr);

    static QString ordem(const QString& flags);
    static QChar orderOf(const QString& flags); // ordem as the ORDER character
    static int imgUser(const QString& flags, const QString& userType);

    void addUser(const QString& user, const QString& flags, const QString& userType);
    bool removeUser(const QString& user);
    bool setUserFlags(const QString& user, const QString& flags);
    void clear();

    int count() const { return sizeOf(m_root); }
    // Entries handed out stay valid until the list changes.
    const UserEntry& at(int row) const;
    // The first row, in list order, of the account named `user` ignoring letter case; -1 if none.
    int indexOf(const QString& user) const;
    // That row's entry, found without working out its row; nullptr if the account is not listed.
    const UserEntry* find(const QString& user) const;
    QString randomUser() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The list is a balanced tree ordered by row (a treap: a node's priority is not below its
    // children's), so that finding a row, inserting and removing an entry cost O(log n) wherever
    // it sits in the list. A node keeps its index while its account is listed; its entry has the
    // same index in m_entries, apart, so that walking the tree reads only the small nodes.
    struct Node
    {
        int left = -1;
        int right = -1;
        int parent = -1;
        int size = 1; // entries in the subtree rooted here
        quint32 priority = 0;
        int nextSame = -1; // the next entry in list order with the same case-folded name
        qint8 rank = 9;    // ORDER as a number
        // The subtree's first and last ranks, and whether its entries are in rank order: a flag
        // change tells in O(log n) whether the next addition must sort.
        qint8 firstRank = 9;
        qint8 lastRank = 9;
        bool sorted = true;
    };

    int sizeOf(int node) const { return node < 0 ? 0 : m_nodes[node].size; }
    void pull(int node);
    int merge(int first, int second);
    void split(int tree, int count, int& first, int& rest);
    int rowOf(int node) const;
    int nodeAt(int row) const;
    int findRow(int row) const;
    int nextInOrder(int node) const;
    std::vector<int> nodesInOrder() const;
    int allocate(UserEntry entry);
    void insertAt(int row, int node);
    void erase(int node);
    void rebuild(const std::vector<int>& order);
    void linkName(int node);
    void unlinkName(int node);
    void relinkDuplicateNames(const std::vector<int>& order);
    void sortByRank();
    // The first node of the name in list order, or -1.
    int firstOf(const QString& user) const;

    std::vector<Node> m_nodes;
    std::vector<UserEntry> m_entries;
    QVector<int> m_freeNodes;
    int m_root = -1;
    // The row read last and its node, until the rows change.
    mutable int m_lastRow = -1;
    mutable int m_lastNode = -1;
    // The first node in list order of every case-folded name; the others follow by nextSame.
    QHash<QString, int> m_firstByKey;
    mutable QString m_folded;
    // A generator of its own for the priorities: the shared one's sequence of draws belongs to
    // the program's visible choices.
    quint32 m_priorityState = 0x9e3779b9u;
};
