// The channel user list under a large channel: the cost per account of a whole listing should
// not grow with the size of the channel. Figures are printed beside a listing of 100 accounts
// measured in the same run.

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

#include <QElapsedTimer>
#include <QString>
#include <QVector>

#include "chat/UserListModel.h"

namespace {

struct Account
{
    QString name;
    QString flags;
    QString tag;
};

// A channel as the server lists it: a few ranked accounts first, then the ordinary ones
// (some squelched, assorted game clients).
QVector<Account> channel(int size)
{
    static const char* const tags[] = {"D2XP", "W3XP", "CHAT", "SEXP", "WAR3", "D2DV", "STAR"};
    QVector<Account> accounts;
    accounts.reserve(size);
    const int ranked = std::max(4, size / 100);
    static const char* const rankedFlags[] = {"0002", "0001", "0008", "0004", "0004"};
    for (int i = 0; i < size; ++i) {
        Account account;
        account.name = QStringLiteral("Jogador_%1").arg(i);
        if (i < ranked)
            account.flags = QString::fromLatin1(rankedFlags[i % 5]);
        else
            account.flags = i % 23 == 0 ? QStringLiteral("0020") : QStringLiteral("0000");
        account.tag = QString::fromLatin1(tags[i % 7]);
        accounts.append(account);
    }
    return accounts;
}

// The same accounts with the ranked ones spread through the listing, each one inserted ahead of
// the ordinary accounts already listed.
QVector<Account> scattered(QVector<Account> accounts)
{
    const int ranked = std::max(4, int(accounts.size()) / 100);
    const int step = int(accounts.size()) / ranked;
    for (int i = ranked - 1; i >= 0; --i)
        std::swap(accounts[i], accounts[i * step + step / 2]);
    return accounts;
}

// Best time per item, in nanoseconds, of several rounds of at least 100 ms each.
double nsPerItem(int items, const std::function<void()>& round)
{
    double best = 1e300;
    for (int attempt = 0; attempt < 5; ++attempt) {
        QElapsedTimer timer;
        timer.start();
        long long rounds = 0;
        qint64 elapsed = 0;
        do {
            round();
            ++rounds;
            elapsed = timer.nsecsElapsed();
        } while (elapsed < 100'000'000);
        best = std::min(best, double(elapsed) / double(rounds) / items);
    }
    return best;
}

double listing(const QVector<Account>& accounts)
{
    return nsPerItem(int(accounts.size()), [&accounts] {
        UserListModel model;
        for (const Account& a : accounts)
            model.addUser(a.name, a.flags, a.tag);
    });
}

// Appending the same entries to a plain vector: the least a listing can cost.
double plainAppend(const QVector<Account>& accounts)
{
    return nsPerItem(int(accounts.size()), [&accounts] {
        QVector<UserEntry> entries;
        for (const Account& a : accounts) {
            UserEntry entry;
            entry.account = a.name;
            entry.flags = a.flags;
            entry.userType = a.tag;
            entry.order = QLatin1Char('9');
            entries.append(entry);
        }
    });
}

// On a full channel: an ordinary account is made operator and someone joins, which re-sorts
// the list; the newcomer leaves, the operator is demoted, someone joins and re-sorts it back
// among the ordinary accounts, and leaves. Two sorts of the whole list per round.
double promotionAndJoin(const QVector<Account>& accounts)
{
    UserListModel model;
    for (const Account& a : accounts)
        model.addUser(a.name, a.flags, a.tag);
    const QString promoted = accounts.last().name;
    const QString joining = QStringLiteral("Recem_chegado");
    return nsPerItem(1, [&] {
        model.setUserFlags(promoted, QStringLiteral("0008"));
        model.addUser(joining, QStringLiteral("0000"), QStringLiteral("CHAT"));
        model.removeUser(joining);
        model.setUserFlags(promoted, QStringLiteral("0000"));
        model.addUser(joining, QStringLiteral("0000"), QStringLiteral("CHAT"));
        model.removeUser(joining);
    });
}

// On a full channel: an ordinary account from the middle leaves and joins again.
double leaveAndJoin(const QVector<Account>& accounts)
{
    UserListModel model;
    for (const Account& a : accounts)
        model.addUser(a.name, a.flags, a.tag);
    const Account& middle = accounts.at(accounts.size() / 2);
    return nsPerItem(1, [&] {
        model.removeUser(middle.name);
        model.addUser(middle.name, middle.flags, middle.tag);
    });
}

// Every account of a full channel leaves, in listing order or in a shuffled order.
double leaveStorm(const QVector<Account>& accounts, bool shuffled)
{
    QVector<QString> leaving;
    for (const Account& a : accounts)
        leaving.append(a.name);
    if (shuffled)
        std::shuffle(leaving.begin(), leaving.end(), std::mt19937(5));
    // The listing is rebuilt outside the timed part: only the leaves are measured.
    double best = 1e300;
    for (int attempt = 0; attempt < 5; ++attempt) {
        QElapsedTimer timer;
        qint64 elapsed = 0;
        long long rounds = 0;
        do {
            UserListModel model;
            for (const Account& a : accounts)
                model.addUser(a.name, a.flags, a.tag);
            timer.start();
            for (const QString& name : leaving)
                model.removeUser(name);
            elapsed += timer.nsecsElapsed();
            ++rounds;
        } while (elapsed < 100'000'000);
        best = std::min(best, double(elapsed) / double(rounds) / double(accounts.size()));
    }
    return best;
}

void row(const char* what, double small, double large, const char* unit)
{
    std::printf("%-44s %10.1f %10.1f %8.2fx  %s\n", what, small, large, large / small, unit);
}

} // namespace

int main()
{
    const QVector<Account> small = channel(100);
    const QVector<Account> large = channel(10'000);

    std::printf("%-44s %10s %10s %9s\n", "", "100", "10 000", "ratio");
    const double smallListing = listing(small);
    const double largeListing = listing(large);
    row("listing, ranked first (ns per account)", smallListing, largeListing, "");
    row("listing, ranked scattered (ns per account)", listing(scattered(small)),
        listing(scattered(large)), "");
    const double smallPlain = plainAppend(small);
    const double largePlain = plainAppend(large);
    row("plain vector append (ns per account)", smallPlain, largePlain, "");
    std::printf("listing against plain append: %.2fx at 100, %.2fx at 10 000\n",
                smallListing / smallPlain, largeListing / largePlain);
    row("leave and join again (ns per pair)", leaveAndJoin(small), leaveAndJoin(large), "");
    row("leave storm, listing order (ns per account)", leaveStorm(small, false),
        leaveStorm(large, false), "");
    row("leave storm, shuffled (ns per account)", leaveStorm(small, true), leaveStorm(large, true),
        "");
    row("promotion and demotion, two sorts (ns)", promotionAndJoin(small), promotionAndJoin(large),
        "");
    return 0;
}
