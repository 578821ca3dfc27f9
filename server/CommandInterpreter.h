#pragma once

#include <QString>

class Hub;
class Member;

// Carries out one line typed by a logged-in account: talk, or a slash command. The command word
// is compared ignoring ASCII case; moderation commands require privileged flags.
class CommandInterpreter
{
public:
    explicit CommandInterpreter(Hub& hub);

    void run(Member* from, const QString& line);

private:
    using Handler = void (CommandInterpreter::*)(Member*, const QString&);
    static Handler handlerFor(const QString& word);

    bool requireOperator(Member* from);
    // The account named, when it is in the caller's channel; otherwise answers an error.
    Member* targetInChannel(Member* from, const QString& name);
    bool mayModerate(Member* from, Member* target, const QString& action);
    void removeFromChannel(Member* target);
    void usage(Member* from, const QString& syntax);

    void join(Member* from, const QString& args);
    void whisper(Member* from, const QString& args);
    void friends(Member* from, const QString& args);
    void emote(Member* from, const QString& args);
    void away(Member* from, const QString& args);
    void dnd(Member* from, const QString& args);
    void users(Member* from, const QString& args);
    void whois(Member* from, const QString& args);
    void kick(Member* from, const QString& args);
    void ban(Member* from, const QString& args);
    void unban(Member* from, const QString& args);
    void kill(Member* from, const QString& args);
    void voice(Member* from, const QString& args);
    void devoice(Member* from, const QString& args);
    void squelch(Member* from, const QString& args);
    void unsquelch(Member* from, const QString& args);
    void rejoin(Member* from, const QString& args);
    void time(Member* from, const QString& args);
    void tag(Member* from, const QString& args);
    void channels(Member* from, const QString& args);
    void bannedUsers(Member* from, const QString& args);
    void games(Member* from, const QString& args);
    void connections(Member* from, const QString& args);
    void moderate(Member* from, const QString& args);
    void broadcast(Member* from, const QString& args);
    void help(Member* from, const QString& args);

    Hub& m_hub;
};
