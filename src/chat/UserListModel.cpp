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
    // entry of its rank or a lower one) is found by descending the tree.
    int row = 0;
    for (int node = m_root; node >= 0;) {
        const Node& n = m_nodes[node];
        if (lowerRank(entry, n.entry)) {
            node = n.left;
        } else {
            row += sizeOf(n.left) + 1;
            node = n.right;
        }
    }
    beginInsertRows(QModelIndex(), row, row);
    const int node = allocate(std::move(entry));
    insertAt(row, node);
    linkName(node);
    endInsertRows();
}

bool UserListModel::removeUser(const QString& user)
{
    const int node = m_firstByKey.value(user.toCaseFolded(), -1);
    if (node < 0)
        return false;
    const int row = rowOf(node);
    beginRemoveRows(QModelIndex(), row, row);
    unlinkName(node);
    erase(node);
    endRemoveRows();
    return true;
}

bool UserListModel::setUserFlags(const QString& user, const QString& flags)
{
    const int node = m_firstByKey.value(user.toCaseFolded(), -1);
    if (node < 0)
        return false;
    const int row = rowOf(node);
    UserEntry& entry = m_nodes[node].entry;
    entry.flags = flags;
    entry.order = orderOf(flags);
    entry.icon = imgUser(flags, entry.userType);
    // The entry stays where it is; only a rank that no longer fits between its neighbours
    // obliges the next addition to sort.
    const bool fitsAbove = row == 0 || !lowerRank(entry, at(row - 1));
    const bool fitsBelow = row == count() - 1 || !lowerRank(at(row + 1), entry);
    if (!fitsAbove || !fitsBelow)
        m_unsorted = true;
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return true;
}

void UserListModel::clear()
{
    beginResetModel();
    m_nodes.clear();
    m_freeNodes.clear();
    m_root = -1;
    m_firstByKey.clear();
    m_unsorted = false;
    endResetModel();
}

const UserEntry& UserListModel::at(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return m_nodes[nodeAt(row)].entry;
}

// Equal case-folded forms are exactly the names QString::compare(..., Qt::CaseInsensitive) calls
// equal (both fold each code point alone), so the folded name is the key of the look-ups.
int UserListModel::indexOf(const QString& user) const
{
    const int node = m_firstByKey.value(user.toCaseFolded(), -1);
    return node < 0 ? -1 : rowOf(node);
}

const UserEntry* UserListModel::find(const QString& user) const
{
    const int node = m_firstByKey.value(user.toCaseFolded(), -1);
    return node < 0 ? nullptr : &m_nodes[node].entry;
}

QString UserListModel::randomUser() const
{
    if (count() == 0)
        return QString();
    return at(SharedRandom::below(count())).account;
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
    const UserEntry& entry = at(index.row());
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

void UserListModel::pull(int node)
{
    Node& n = m_nodes[node];
    n.size = 1 + sizeOf(n.left) + sizeOf(n.right);
    if (n.left >= 0)
        m_nodes[n.left].parent = node;
    if (n.right >= 0)
        m_nodes[n.right].parent = node;
}

// The entries of `first` followed by those of `second`; returns the root.
int UserListModel::merge(int first, int second)
{
    if (first < 0)
        return second;
    if (second < 0)
        return first;
    if (m_nodes[first].priority >= m_nodes[second].priority) {
        const int right = merge(m_nodes[first].right, second);
        m_nodes[first].right = right;
        pull(first);
        return first;
    }
    const int left = merge(first, m_nodes[second].left);
    m_nodes[second].left = left;
    pull(second);
    return second;
}

// Cuts `tree` into its first `count` entries and the rest.
void UserListModel::split(int tree, int count, int& first, int& rest)
{
    if (tree < 0) {
        first = rest = -1;
        return;
    }
    const int leftSize = sizeOf(m_nodes[tree].left);
    int inner = -1;
    if (leftSize < count) {
        split(m_nodes[tree].right, count - leftSize - 1, inner, rest);
        m_nodes[tree].right = inner;
        first = tree;
    } else {
        split(m_nodes[tree].left, count, first, inner);
        m_nodes[tree].left = inner;
        rest = tree;
    }
    pull(tree);
}

int UserListModel::rowOf(int node) const
{
    int row = sizeOf(m_nodes[node].left);
    for (int parent = m_nodes[node].parent; parent >= 0; parent = m_nodes[node].parent) {
        if (m_nodes[parent].right == node)
            row += sizeOf(m_nodes[parent].left) + 1;
        node = parent;
    }
    return row;
}

int UserListModel::nodeAt(int row) const
{
    int node = m_root;
    for (;;) {
        const Node& n = m_nodes[node];
        const int leftSize = sizeOf(n.left);
        if (row == leftSize)
            return node;
        if (row < leftSize) {
            node = n.left;
        } else {
            row -= leftSize + 1;
            node = n.right;
        }
    }
}

QVector<int> UserListModel::nodesInOrder() const
{
    QVector<int> order;
    order.reserve(count());
    QVector<int> pending;
    int node = m_root;
    while (node >= 0 || !pending.isEmpty()) {
        while (node >= 0) {
            pending.append(node);
            node = m_nodes[node].left;
        }
        node = pending.takeLast();
        order.append(node);
        node = m_nodes[node].right;
    }
    return order;
}

int UserListModel::allocate(UserEntry entry)
{
    // xorshift32: cheap, and any spread of priorities keeps the tree's depth near log n.
    m_priorityState ^= m_priorityState << 13;
    m_priorityState ^= m_priorityState >> 17;
    m_priorityState ^= m_priorityState << 5;
    Node node;
    node.entry = std::move(entry);
    node.priority = m_priorityState;
    if (m_freeNodes.isEmpty()) {
        m_nodes.push_back(std::move(node));
        return int(m_nodes.size()) - 1;
    }
    const int index = m_freeNodes.takeLast();
    m_nodes[index] = std::move(node);
    return index;
}

void UserListModel::insertAt(int row, int node)
{
    int first = -1;
    int rest = -1;
    split(m_root, row, first, rest);
    m_root = merge(merge(first, node), rest);
    m_nodes[m_root].parent = -1;
}

void UserListModel::erase(int node)
{
    int first = -1;
    int rest = -1;
    int alone = -1;
    int after = -1;
    split(m_root, rowOf(node), first, rest);
    split(rest, 1, alone, after);
    Q_ASSERT(alone == node);
    m_root = merge(first, after);
    if (m_root >= 0)
        m_nodes[m_root].parent = -1;
    // The strings go at once; the slot waits for the next account.
    m_nodes[node] = Node();
    m_freeNodes.append(node);
}

// Puts a node just listed into the chain of its name, which stays in list order.
void UserListModel::linkName(int node)
{
    const auto found = m_firstByKey.find(m_nodes[node].entry.key);
    if (found == m_firstByKey.end()) {
        m_firstByKey.insert(m_nodes[node].entry.key, node);
        return;
    }
    const int row = rowOf(node);
    int previous = -1;
    int next = *found;
    while (next >= 0 && rowOf(next) < row) {
        previous = next;
        next = m_nodes[next].nextSame;
    }
    m_nodes[node].nextSame = next;
    if (previous < 0)
        *found = node;
    else
        m_nodes[previous].nextSame = node;
}

void UserListModel::unlinkName(int node)
{
    const auto found = m_firstByKey.find(m_nodes[node].entry.key);
    Q_ASSERT(found != m_firstByKey.end());
    const int next = m_nodes[node].nextSame;
    if (*found == node) {
        if (next < 0)
            m_firstByKey.erase(found);
        else
            *found = next;
        return;
    }
    int previous = *found;
    while (m_nodes[previous].nextSame != node)
        previous = m_nodes[previous].nextSame;
    m_nodes[previous].nextSame = next;
}

// After a sort, a name listed more than once may have its entries in a new order.
void UserListModel::relinkDuplicateNames(const QVector<int>& order)
{
    QHash<QString, int> firsts;
    for (const int node : order) {
        if (m_nodes[node].nextSame >= 0)
            firsts.insert(m_nodes[node].entry.key, -1);
    }
    if (firsts.isEmpty())
        return;
    for (auto node = order.crbegin(); node != order.crend(); ++node) {
        const auto found = firsts.find(m_nodes[*node].entry.key);
        if (found == firsts.end())
            continue;
        m_nodes[*node].nextSame = *found;
        *found = *node;
    }
    for (auto first = firsts.cbegin(); first != firsts.cend(); ++first)
        m_firstByKey[first.key()] = first.value();
}

void UserListModel::sortByRank()
{
    m_unsorted = false;
    const QVector<int> order = nodesInOrder();
    const auto lowerNode = [this](int a, int b) {
        return lowerRank(m_nodes[a].entry, m_nodes[b].entry);
    };
    // The entry that broke the order may have left since.
    if (std::is_sorted(order.cbegin(), order.cend(), lowerNode))
        return;

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const int n = int(order.size());
    QVector<int> oldRows(n);
    std::iota(oldRows.begin(), oldRows.end(), 0);
    std::stable_sort(oldRows.begin(), oldRows.end(),
                     [&](int a, int b) { return lowerNode(order.at(a), order.at(b)); });
    QVector<int> sorted(n);
    QVector<int> newRows(n);
    m_root = -1;
    for (int row = 0; row < n; ++row) {
        const int node = order.at(oldRows.at(row));
        sorted[row] = node;
        newRows[oldRows.at(row)] = row;
        Node& entry = m_nodes[node];
        entry.left = entry.right = -1;
        entry.size = 1;
        m_root = merge(m_root, node);
    }
    m_nodes[m_root].parent = -1;
    relinkDuplicateNames(sorted);

    // A selection or current item follows its entry to its new row.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to.append(index(newRows.at(old.row()), old.column()));
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
