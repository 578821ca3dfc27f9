#include "UserListModel.h"

#include <array>
#include <numeric>

#include "core/SharedRandom.h"

namespace {

// ORDER read as a number: 0 MOD, 1 ADM, 2 OP, 3 VOICE, 9 ordinary.
int rankOf(const UserEntry& entry)
{
    return entry.order.digitValue();
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
    // A flag change may have put an entry out of rank order; the first addition after it sorts.
    if (m_root >= 0 && !m_nodes[m_root].sorted)
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
    const int rank = rankOf(entry);
    for (int node = m_root; node >= 0;) {
        const Node& n = m_nodes[node];
        if (rank < n.rank) {
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
    const int node = firstOf(user);
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
    const int node = firstOf(user);
    if (node < 0)
        return false;
    UserEntry& entry = m_entries[node];
    entry.flags = flags;
    entry.order = orderOf(flags);
    entry.icon = imgUser(flags, entry.userType);
    // The entry stays where it is; the subtrees above it learn whether they are still in rank
    // order.
    m_nodes[node].rank = qint8(rankOf(entry));
    for (int above = node; above >= 0; above = m_nodes[above].parent)
        pull(above);
    const int row = rowOf(node);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
    return true;
}

void UserListModel::clear()
{
    beginResetModel();
    m_nodes.clear();
    m_entries.clear();
    m_freeNodes.clear();
    m_root = -1;
    m_lastRow = -1;
    m_firstByKey.clear();
    endResetModel();
}

const UserEntry& UserListModel::at(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return m_entries[nodeAt(row)];
}

// Equal case-folded forms are exactly the names QString::compare(..., Qt::CaseInsensitive) calls
// equal (both fold each code point alone), so the folded name is the key of the look-ups.
int UserListModel::indexOf(const QString& user) const
{
    const int node = firstOf(user);
    return node < 0 ? -1 : rowOf(node);
}

const UserEntry* UserListModel::find(const QString& user) const
{
    const int node = firstOf(user);
    return node < 0 ? nullptr : &m_entries[node];
}

// Every channel line looks its speaker up: an ASCII name, as nearly all are, is folded into a
// buffer kept for it rather than into a new string.
int UserListModel::firstOf(const QString& user) const
{
    m_folded.resize(user.size());
    QChar* folded = m_folded.data();
    for (qsizetype i = 0; i < user.size(); ++i) {
        const char16_t ch = user.at(i).unicode();
        if (ch >= 0x80)
            return m_firstByKey.value(user.toCaseFolded(), -1);
        folded[i] = QChar(ch >= u'A' && ch <= u'Z' ? ch + (u'a' - u'A') : ch);
    }
    return m_firstByKey.value(m_folded, -1);
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
    n.size = 1;
    n.firstRank = n.lastRank = n.rank;
    n.sorted = true;
    if (n.left >= 0) {
        Node& left = m_nodes[n.left];
        left.parent = node;
        n.size += left.size;
        n.firstRank = left.firstRank;
        n.sorted = left.sorted && left.lastRank <= n.rank;
    }
    if (n.right >= 0) {
        Node& right = m_nodes[n.right];
        right.parent = node;
        n.size += right.size;
        n.lastRank = right.lastRank;
        n.sorted = n.sorted && right.sorted && n.rank <= right.firstRank;
    }
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
    // A view reads one row for several roles, and rows one after another.
    if (row == m_lastRow)
        return m_lastNode;
    const int node =
        m_lastRow >= 0 && row == m_lastRow + 1 ? nextInOrder(m_lastNode) : findRow(row);
    m_lastRow = row;
    m_lastNode = node;
    return node;
}

int UserListModel::findRow(int row) const
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

int UserListModel::nextInOrder(int node) const
{
    if (m_nodes[node].right >= 0) {
        node = m_nodes[node].right;
        while (m_nodes[node].left >= 0)
            node = m_nodes[node].left;
        return node;
    }
    int parent = m_nodes[node].parent;
    while (parent >= 0 && m_nodes[parent].right == node) {
        node = parent;
        parent = m_nodes[node].parent;
    }
    return parent;
}

std::vector<int> UserListModel::nodesInOrder() const
{
    std::vector<int> order;
    order.reserve(size_t(count()));
    std::vector<int> pending;
    int node = m_root;
    while (node >= 0 || !pending.empty()) {
        while (node >= 0) {
            pending.push_back(node);
            node = m_nodes[node].left;
        }
        node = pending.back();
        pending.pop_back();
        order.push_back(node);
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
    node.rank = qint8(rankOf(entry));
    node.firstRank = node.lastRank = node.rank;
    node.priority = m_priorityState;
    if (m_freeNodes.isEmpty()) {
        m_nodes.push_back(node);
        m_entries.push_back(std::move(entry));
        return int(m_nodes.size()) - 1;
    }
    const int index = m_freeNodes.takeLast();
    m_nodes[index] = node;
    m_entries[index] = std::move(entry);
    return index;
}

void UserListModel::insertAt(int row, int node)
{
    m_lastRow = -1;
    // Ordinary accounts join at the end, which needs no cut.
    if (row == count()) {
        m_root = merge(m_root, node);
    } else {
        int first = -1;
        int rest = -1;
        split(m_root, row, first, rest);
        m_root = merge(merge(first, node), rest);
    }
    m_nodes[m_root].parent = -1;
}

void UserListModel::erase(int node)
{
    m_lastRow = -1;
    // The node's two subtrees, joined, take its place; the subtrees above it shrink by one.
    const int parent = m_nodes[node].parent;
    const int joined = merge(m_nodes[node].left, m_nodes[node].right);
    if (joined >= 0)
        m_nodes[joined].parent = parent;
    if (parent < 0)
        m_root = joined;
    else if (m_nodes[parent].left == node)
        m_nodes[parent].left = joined;
    else
        m_nodes[parent].right = joined;
    for (int above = parent; above >= 0; above = m_nodes[above].parent)
        pull(above);
    // The strings go at once; the slot waits for the next account.
    m_nodes[node] = Node();
    m_entries[node] = UserEntry();
    m_freeNodes.append(node);
}

// Makes the tree hold the nodes in the given order, each keeping its priority: in one pass the
// nodes still waiting for a right child are kept on a stack, as the tree's right spine.
void UserListModel::rebuild(const std::vector<int>& order)
{
    m_lastRow = -1;
    std::vector<int> spine;
    for (const int node : order) {
        // A node taken off the spine gets no more children: its size is final.
        int below = -1;
        while (!spine.empty() && m_nodes[spine.back()].priority < m_nodes[node].priority) {
            below = spine.back();
            spine.pop_back();
            pull(below);
        }
        m_nodes[node].left = below;
        m_nodes[node].right = -1;
        if (!spine.empty())
            m_nodes[spine.back()].right = node;
        spine.push_back(node);
    }
    for (auto node = spine.crbegin(); node != spine.crend(); ++node)
        pull(*node);
    m_root = spine.empty() ? -1 : spine.front();
    if (m_root >= 0)
        m_nodes[m_root].parent = -1;
}

// Puts a node just listed into the chain of its name, which stays in list order.
void UserListModel::linkName(int node)
{
    const auto found = m_firstByKey.find(m_entries[node].key);
    if (found == m_firstByKey.end()) {
        m_firstByKey.insert(m_entries[node].key, node);
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
    const auto found = m_firstByKey.find(m_entries[node].key);
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
void UserListModel::relinkDuplicateNames(const std::vector<int>& order)
{
    QHash<QString, int> firsts;
    for (const int node : order) {
        if (m_nodes[node].nextSame >= 0)
            firsts.insert(m_entries[node].key, -1);
    }
    if (firsts.isEmpty())
        return;
    for (auto node = order.crbegin(); node != order.crend(); ++node) {
        const auto found = firsts.find(m_entries[*node].key);
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
    const std::vector<int> order = nodesInOrder();
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Ranks are single digits: a stable sort counts the entries of each rank, then places them.
    std::array<int, 11> firstRow{};
    for (const int node : order)
        ++firstRow[m_nodes[node].rank + 1];
    std::partial_sum(firstRow.begin(), firstRow.end(), firstRow.begin());
    const int n = int(order.size());
    std::vector<int> sorted(size_t(n), -1);
    QVector<int> newRows(n);
    for (int row = 0; row < n; ++row) {
        const int node = order[size_t(row)];
        const int to = firstRow[m_nodes[node].rank]++;
        sorted[size_t(to)] = node;
        newRows[row] = to;
    }
    rebuild(sorted);
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
