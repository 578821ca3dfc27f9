#pragma once

#include <QAbstractTableModel>
#include <QChar>
#include <QString>
#include <QVector>

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
// Lets the list move entries with memmove when one is inserted or removed in the middle.
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

    int count() const { return static_cast<int>(m_entries.size()); }
    const UserEntry& at(int row) const { return m_entries.at(row); }
    int indexOf(const QString& user) const;
    QString randomUser() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void sortByRank();

    QVector<UserEntry> m_entries;
    // Set when a flag change may have put an entry out of rank order; while it is clear the
    // list is sorted and a new entry can be inserted in place.
    bool m_unsorted = false;
};
