#pragma once

#include <memory>
#include <vector>

#include <QObject>

class Channel;
class Hub;
class Member;
class QTimer;
class SimulatedUser;

// A few made-up accounts that keep the home channel alive: on a fixed, repeating schedule they
// talk, emote, whisper the real users, leave and come back; they greet newcomers and answer
// whispers after a pause. One scheduled action per interval, at most one greeting and one answer
// per account pending, so they stay a few lines a minute whatever the clients do.
class SimulatedUsers final : public QObject
{
    Q_OBJECT
public:
    SimulatedUsers(Hub& hub, int intervalMs, QObject* parent = nullptr);
    ~SimulatedUsers() override;

    // Brings the first accounts into the home channel and starts the schedule.
    void start();
    // Carries out the next doable step of the schedule.
    void step();

private:
    SimulatedUser* bot(int index) const;
    bool isOnline(SimulatedUser* bot) const;
    bool bringOnline(SimulatedUser* bot);
    bool runStep(int index);
    QList<Member*> realMembers() const;
    void newcomer(Member* member, Channel* channel);
    void whispered(Member* simulated, Member* from);

    Hub& m_hub;
    QTimer* m_timer;
    int m_intervalMs;
    int m_next = 0;
    bool m_greetingPending = false;
    std::vector<std::unique_ptr<SimulatedUser>> m_bots;
};
