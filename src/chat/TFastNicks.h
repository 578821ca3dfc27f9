#pragma once

#include <array>
#include <functional>

#include <QString>

class UserListModel;

// The input line's conveniences: a history of the last lines entered (Up and Down), the accounts
// that whispered to us last as ready "/w" lines (Tab in an empty line) and completion of a typed
// beginning of an account name against the channel's user list (Tab otherwise).
class TFastNicks
{
public:
    // Sets the input line's text and puts the caret at its end.
    using ShowText = std::function<void(const QString& text)>;

    static constexpr int MsgCapacity = 10;
    static constexpr int UserCapacity = 5;

    TFastNicks(const UserListModel* users, ShowText show);

    void addLastMsg(const QString& line);
    void addLastUser(const QString& account);
    void resetIndex();
    void getNextUser();
    void getNextMsg();
    void getPreviousMsg();
    void nickCompletation(const QString& text);

    int msgCount() const { return FMsgCount; }
    QString lastMsg(int slot) const; // slot 1 = newest; empty outside 1..msgCount()
    int userCount() const { return FUserCount; }
    QString lastUser(int slot) const; // slot 1 = most recent; empty outside 1..userCount()
    int msgIndex() const { return FMsgIndex; }
    int userIndex() const { return FUserIndex; }
    int nickStart() const { return FNickStart; }
    QString nickPrefix() const { return FNickPrefix; }

private:
    void show(const QString& text) const;

    const UserListModel* m_users;
    ShowText m_show;
    // Index 0 is slot 1.
    std::array<QString, MsgCapacity> FLastMsgs;
    std::array<QString, UserCapacity> FLastUsers;
    int FMsgIndex = 0;
    int FUserIndex = 0;
    int FMsgCount = 0;
    int FUserCount = 0;
    QString FNickPrefix;
    int FNickStart = 0;
};
