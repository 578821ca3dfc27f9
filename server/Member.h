#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class Channel;

// An account present on the server: a logged-in client or a simulated account. Holds what the
// other accounts see of it (name, client tag, flags) and its own choices (squelches, friends,
// away and do-not-disturb texts).
class Member
{
public:
    // Flag bits as the client ranks them.
    static constexpr int AdminFlag = 0x01;
    static constexpr int ModeratorFlag = 0x02;
    static constexpr int VoiceFlag = 0x04;
    static constexpr int OperatorFlag = 0x08;
    // Ordinary flags of a client without a game: plain, so the client shows its chat icon.
    static constexpr int ChatFlags = 0x00;
    // Added, for one viewer only, to the flags of an account that viewer squelched.
    static constexpr int SquelchedFlag = 0x20;
    static constexpr int MaxSquelches = 100;
    static constexpr int MaxFriends = 25;

    Member(const QString& name, const QString& tag, int plainFlags);
    virtual ~Member();
    Member(const Member&) = delete;
    Member& operator=(const Member&) = delete;

    // One line (without its end) for this account.
    virtual void deliver(const QString& line) = 0;
    // Leaves the server (a kill): the account is removed from the hub.
    virtual void terminate(const QString& reason) = 0;
    virtual bool isSimulated() const = 0;
    virtual QString address() const = 0;

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }
    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    // The flags others see: the highest privilege, else voice, else the plain flags.
    int flags() const;
    int privilege() const { return m_privilege; }
    void setPrivilege(int flag) { m_privilege = flag; }
    bool isVoiced() const { return m_voiced; }
    void setVoiced(bool voiced) { m_voiced = voiced; }
    // Administrators, moderators and operators may use the moderation commands.
    bool isOperator() const { return m_privilege != 0; }
    bool mayTalkInModeratedChannel() const { return m_privilege != 0 || m_voiced; }

    Channel* channel() const { return m_channel; }
    void setChannel(Channel* channel) { m_channel = channel; }

    bool hasSquelched(const QString& name) const;
    // False when the list is full.
    bool squelch(const QString& name);
    void unsquelch(const QString& name);

    const QStringList& friends() const { return m_friends; }
    bool isFriend(const QString& name) const;
    bool addFriend(const QString& name);
    bool removeFriend(const QString& name);

    const QString& awayMessage() const { return m_away; }
    void setAwayMessage(const QString& text) { m_away = text; }
    const QString& dndMessage() const { return m_dnd; }
    void setDndMessage(const QString& text) { m_dnd = text; }

private:
    QString m_name;
    QString m_tag;
    int m_plainFlags;
    int m_privilege = 0;
    bool m_voiced = false;
    Channel* m_channel = nullptr;
    QSet<QString> m_squelched; // case-folded names
    QStringList m_friends;
    QString m_away;
    QString m_dnd;
};
