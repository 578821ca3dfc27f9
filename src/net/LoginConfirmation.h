#pragma once

#include <QString>

// Whether the server took our login. The login line has no answer of its own: a server that
// takes it names the account (2010 NAME) or simply starts sending events; one that refuses it
// sends an error event, or plain lines of text ("Login failed.") and asks for the account again.
// Plain text may start with digits ("2026-12-11 Login failed"), so only a known event code
// followed by a blank (or ending the line) counts as an event. Until the server has shown which,
// nothing meant for a logged-in user may go out: the server would read it as the next account
// name or password.
class LoginConfirmation
{
public:
    enum class State
    {
        Idle,      // no login under way
        Pending,   // the login was sent, the server has not answered
        Confirmed, // the server took it
        Refused,   // the server turned it down, or never answered
    };

    // What to do with a received line.
    enum class Step
    {
        Process,    // handled as usual: no login pending, or the null event while pending
        ShowAsInfo, // no event while pending: the server's own words (its greeting, a prompt)
        Refuse,     // an error event while pending: shown, and the login is refused
        Confirm,    // any other event while pending: the login holds, then the line is handled
    };

    // The server gets at least this long to answer, whatever the settings say.
    static constexpr int MinimumWaitSeconds = 5;

    // How long to wait for the answer, in milliseconds, for a stored time-out in seconds: never
    // less than the minimum, never more than a timer can count.
    static int waitMs(int timeoutSeconds);

    State state() const { return m_state; }
    bool pending() const { return m_state == State::Pending; }
    bool confirmed() const { return m_state == State::Confirmed; }
    bool refused() const { return m_state == State::Refused; }

    // The login has been sent.
    void start() { m_state = State::Pending; }
    // The answer did not come in time, or the server closed first.
    void refuse() { m_state = State::Refused; }
    // The connection is gone.
    void reset() { m_state = State::Idle; }

    // Classifies a received line and moves on when it confirms or refuses the login.
    Step take(const QString& line);

private:
    State m_state = State::Idle;
};
