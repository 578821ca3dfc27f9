#include "TFastNicks.h"

#include <algorithm>
#include <utility>

#include "chat/UserListModel.h"

TFastNicks::TFastNicks(const UserListModel* users, ShowText show)
    : m_users(users), m_show(std::move(show))
{
}

void TFastNicks::addLastMsg(const QString& line)
{
    // Repeated lines are kept; when the history is full the oldest line falls out.
    const int n = std::min(FMsgCount + 1, MsgCapacity);
    for (int k = n - 1; k >= 1; --k)
        FLastMsgs[k] = FLastMsgs[k - 1];
    FLastMsgs[0] = line;
    FMsgIndex = 0;
    if (FMsgCount < MsgCapacity)
        ++FMsgCount;
}

void TFastNicks::addLastUser(const QString& account)
{
    // A whisper without a sender would only offer "/w  " and push a real account out.
    if (account.isEmpty())
        return;

    int found = -1;
    for (int k = 0; k < FUserCount; ++k) {
        if (FLastUsers[k] == account) {
            found = k;
            break;
        }
    }

    if (found < 0) {
        const int n = std::min(FUserCount + 1, UserCapacity);
        for (int k = n - 1; k >= 1; --k)
            FLastUsers[k] = FLastUsers[k - 1];
        FLastUsers[0] = account;
        FUserIndex = 0;
        if (FUserCount < UserCapacity)
            ++FUserCount;
        return;
    }

    // A known account moves to the front; the cycling position stays the same number.
    for (int k = found; k >= 1; --k)
        FLastUsers[k] = FLastUsers[k - 1];
    FLastUsers[0] = account;
}

void TFastNicks::resetIndex()
{
    FUserIndex = 0;
    FMsgIndex = 0;
    FNickStart = 0;
    FNickPrefix.clear();
}

void TFastNicks::getNextUser()
{
    if (FUserCount == 0)
        return;
    FUserIndex = FUserIndex >= FUserCount ? 1 : FUserIndex + 1;
    show(QStringLiteral("/w ") + FLastUsers[FUserIndex - 1] + QLatin1Char(' '));
}

void TFastNicks::getNextMsg()
{
    if (FMsgIndex >= FMsgCount)
        return;
    ++FMsgIndex;
    show(FLastMsgs[FMsgIndex - 1]);
}

void TFastNicks::getPreviousMsg()
{
    // Down stops at the newest line and never empties the input line.
    if (FMsgIndex <= 1)
        return;
    --FMsgIndex;
    show(FLastMsgs[FMsgIndex - 1]);
}

void TFastNicks::nickCompletation(const QString& text)
{
    // The first Tab fixes the prefix; later Tabs go on from one past the last hit, whatever the
    // line now holds, until the line is emptied.
    if (FNickStart == 0)
        FNickPrefix = text;
    if (!m_users)
        return;
    for (int row = FNickStart; row < m_users->count(); ++row) {
        const QString& account = m_users->at(row).account;
        if (account.startsWith(FNickPrefix, Qt::CaseInsensitive)) {
            show(account + QStringLiteral(": "));
            FNickStart = row + 1;
            return;
        }
    }
}

QString TFastNicks::lastMsg(int slot) const
{
    if (slot < 1 || slot > FMsgCount)
        return QString();
    return FLastMsgs[slot - 1];
}

QString TFastNicks::lastUser(int slot) const
{
    if (slot < 1 || slot > FUserCount)
        return QString();
    return FLastUsers[slot - 1];
}

void TFastNicks::show(const QString& text) const
{
    if (m_show)
        m_show(text);
}
