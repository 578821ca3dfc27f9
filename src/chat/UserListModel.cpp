#include "UserListModel.h"

#include <algorithm>
#include <numeric>

#include "core/SharedRandom.h"

namespace {

// ORDER read as a number: 0 MOD, 1 ADM, 2 OP, 3 VOICE, 9 ordinary.
int rankOf(const UserEntry& entry)
{
    return entry.order.digitValue();
}

bool lowerRank(const UserEntry& a, const UserEntry& b)
{
    return rankOf(a) < rankOf(b);
}

struct TagIcons
{
    const char* tag;
    int plain;     // flags 0000
    int squelched; // flags 0020: the server adds 0x20 for an account the user squelched
};

constexpr TagIcons TagIconTable[] = {
    {"D2XP", 5, 16},  {"CHAT", 9, 20},  {"STAR", 25, 26}, {"SEXP", 8, 19},
    {"SSHR", 25, 26}, {"WAR3", 6, 17},  {"W3XP", 7, 18},  {"D2DV", 4, 29},
    {"DRTL", 23, 24}, {"DSHR", 23, 24}, {"W2BN", 27, 28},
};
constexpr TagIcons UnknownTag = {"", 11, 22};

struct FlagValue
{
    const char* flags;
    int value;
};

constexpr FlagValue FlagRanks[] = {
    {"0002", 0}, {"0003", 0}, {"0022", 0}, {"0001", 1}, {"0005", 1}, {"0021", 1},
    {"fff5", 1}, {"0008", 2}, {"0009", 2}, {"0028", 2}, {"0004", 3}, {"0024", 3},
};

// Icons of the ranked and special flags; the client tag is not looked at for these.
constexpr FlagValue FlagIcons[] = {
    {"0001", 0},  {"0005", 0},  {"0008", 1},  {"0009", 1},  {"0002", 2},
    {"0003", 2},  {"0004", 3},  {"ff50", 10}, {"0021", 12}, {"fff5", 12},
    {"0028", 13}, {"0022", 14}, {"0024", 15}, {"ffb0", 21}, {"ff70", 21},
};

template <std::size_t N>
int lookUp(const FlagValue (&table)[N], const QString& flags, int otherwise)
{
    for (const FlagValue& row : table) {
        if (flags == QLatin1String(row.flags))
            return row.value;
    }
    return otherwise;
}

const TagIcons& tagIcons(const QString& userType)
{
    for (const TagIcons& row : TagIconTable) {
        if (userType == QLatin1String(row.tag))
            return row;
    }
    return UnknownTag;
}

} // namespace

UserListModel::UserListModel(QObject* parent) : QAbstractTableModel(parent) {}

QString UserListModel::ordem(const QString& flags)
{
    return QString(orderOf(flags));
}

QChar UserListModel::orderOf(const QString& flags)
{
    return QChar(char16_t(u'0' + lookUp(FlagRanks, flags, 9)));
}

int UserListModel::imgUser(const QString& flags, const QString& userType)
{
    if (flags == QLatin1String("0000"))
        return tagIcons(userType).plain;
    if (flags == QLatin1String("0020"))
        return tagIcons(userType).squelched;
    return lookUp(FlagIcons, flags, 11);
}

void UserListModel::addUser(const QString& user, const QString& flags, const QString& userType)
{
    if (m_unsorted)
        sortByRank();

    UserEntry entry;
    entry.account = user;
    entry.key = user.toCaseFolded();
    entry.flags = flags;
    entry.userType = userType;
    entry.order = orderOf(flags);
    entry.icon = imgUser(flags, userType);

    // The list is sorted here, so the place a stable sort would give the new entry (after every
    // entry of its rank or a lower one) is found by bisection; the server lists ordinary accounts
    // last, so the insertion is at or near the end.
    const auto place = std::upper_bound(m_entries.cbegin(), m_entries.cend(), entry, lowerRank);
    const int row = static_cast<int>(place - m_entries.cbegin());
    beginInsertRows(QModelIndex(), row, row);
    m_entries.insert(row, std::move(entry));
    endInsertRows();
}

bool UserListModel::removeUser(const QString& user)
{
    const int row = indexOf(user);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_entries.remove(row);
    endRemoveRows();
    return true;
}

bool UserListModel::setUserFlags(const QString& user, const QString& flags)
{
    const int row = indexOf(user);
    if (row < 0)
        return false;
    UserEntry& entry = m_entries[row];
    entry.flags = flags;
    entry.order = orderOf(flags);
    entry.icon = imgUser(flags, entry.userType);
    // The entry stays where it is; only a rank that no longer fits between its neighbours
    // obliges the next addition to sort.
    const bool fitsAbove = row == 0 || !lowerRank(entry, m_entries.at(row - 1));
    const bool fitsBelow = row == count() - 1 || !lowerRank(m_entries.at(row + 1), entry);
    if (!fitsAbove || !fitsBelow)
        m_unsorted = true;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return true;
}

void UserListModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_unsorted = false;
    endResetModel();
}

int UserListModel::indexOf(const QString& user) const
{
    // Equal case-folded forms are exactly the names QString::compare(..., Qt::CaseInsensitive)
    // calls equal (both fold each code point alone), at the cost of a plain comparison per entry.
    const QString key = user.toCaseFolded();
    for (int row = 0; row < count(); ++row) {
        if (m_entries.at(row).key == key)
            return row;
    }
    return -1;
}

QString UserListModel::randomUser() const
{
    if (m_entries.isEmpty())
        return QString();
    return m_entries.at(SharedRandom::below(count())).account;
}

int UserListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

int UserListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UserListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= count())
        return QVariant();
    const UserEntry& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case AccountColumn:
            return entry.account;
        case FlagColumn:
            return entry.flags;
        case UserTypeColumn:
            return entry.userType;
        case OrderColumn:
            return QString(entry.order);
        default:
            return QVariant();
        }
    case IconRole:
        return entry.icon;
    case OrderRole:
        return rankOf(entry);
    default:
        return QVariant();
    }
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case AccountColumn:
        return QStringLiteral("Account");
    case FlagColumn:
        return QStringLiteral("FLAG");
    case UserTypeColumn:
        return QStringLiteral("UT");
    case OrderColumn:
        return QStringLiteral("ORDER");
    default:
        return QVariant();
    }
}

void UserListModel::sortByRank()
{
    m_unsorted = false;
    // The entry that broke the order may have left since.
    if (std::is_sorted(m_entries.cbegin(), m_entries.cend(), lowerRank))
        return;

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const int n = count();
    QVector<int> oldRows(n);
    std::iota(oldRows.begin(), oldRows.end(), 0);
    std::stable_sort(oldRows.begin(), oldRows.end(),
                     [this](int a, int b) { return lowerRank(m_entries.at(a), m_entries.at(b)); });
    QVector<UserEntry> sorted;
    sorted.reserve(n);
    QVector<int> newRows(n);
    for (int row = 0; row < n; ++row) {
        sorted.append(std::move(m_entries[oldRows.at(row)]));
        newRows[oldRows.at(row)] = row;
    }
    m_entries.swap(sorted);

    // A selection or current item follows its entry to its new row.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(newRows.at(old.row()), old.column()));
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
