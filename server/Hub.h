#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QList>
#include <QString>

#include "ServerOptions.h"

class Channel;
class Member;

// The accounts present and their channels, and the chat between them: entering and leaving
// channels, talk, emotes, whispers and flag changes, each sent to the accounts that see it.
// Members are not owned. Delivering a line never calls back into the hub, so every operation
// runs to its end before another begins.
class Hub
{
public:
    enum class JoinResult
    {
        Joined,
        Full,
        DoesNotExist,
        Restricted,
        Banned
    };
    static constexpr int MaxChannelName = 31;

    explicit Hub(const ServerOptions& options);
    ~Hub();
    Hub(const Hub&) = delete;
    Hub& operator=(const Hub&) = delete;

    const ServerOptions& options() const { return m_options; }
    // Where kicked accounts and those shut out of a full home channel go; never full.
    static QString voidChannelName();
    // A name a channel can have: not too long, no control characters, not the void.
    static bool isPossibleChannelName(const QString& name);
    // Channels named "Op <account>" are for privileged accounts only.
    static bool isOperatorChannelName(const QString& name);

    void addMember(Member* member);
    // Takes the account out of its channel (the others see it leave) and off the server.
    void removeMember(Member* member);
    Member* find(const QString& name) const;
    const QList<Member*>& members() const { return m_members; }
    QList<Channel*> channels() const;
    Channel* findChannel(const QString& name) const;

    // Moves the account into the named channel; a refusal is answered to it here. Joining the
    // channel it is in lists the channel again.
    JoinResult join(Member* member, const QString& name);
    // The void channel, which refuses nobody.
    void enterVoid(Member* member);
    void leaveChannel(Member* member);
    // Leaves and enters the same channel again; its bans and moderation stay.
    void rejoin(Member* member);

    void talk(Member* speaker, const QString& text);
    void emote(Member* speaker, const QString& text);
    void whisper(Member* from, const QString& to, const QString& text);
    void whisperFriends(Member* from, const QString& text);
    // Sends the account's current flags to everyone in its channel.
    void announceFlags(Member* subject);
    void infoToChannel(Channel* channel, const QString& text);
    void broadcast(const QString& text);
    int flagsSeenBy(const Member& viewer, const Member& subject) const;

    // A whisper reached a simulated account.
    std::function<void(Member* simulated, Member* from, const QString& text)> OnSimulatedWhispered;
    // An account entered a channel.
    std::function<void(Member* member, Channel* channel)> OnJoined;

private:
    Channel* channelFor(const QString& name);
    // The speaker's channel when it may talk there; otherwise tells it why not and gives null.
    Channel* channelToSpeakIn(Member* speaker) const;
    JoinResult checkJoin(Member* member, const QString& name, Channel* existing) const;
    void enter(Member* member, Channel* channel);
    void listChannel(Member* member);

    ServerOptions m_options;
    QList<Member*> m_members;
    std::vector<std::unique_ptr<Channel>> m_channels;
};
