#pragma once

#include <QtGlobal>

#include <functional>
#include <optional>

// Whether, and after how long, the connection is tried again by itself once it has ended.
//
// A session the server confirmed and then lost, and an attempt the server never answered, are
// tried again after growing waits: about 5, 10, 20 and 40 seconds, then every minute, each spread
// by up to a fifth either way so that the clients a server dropped together do not all come back
// in the same second. What the user ended, and a login the server refused, are never retried: a
// server counts failed logins and may lock the account. A name that does not resolve is retried
// only within a series, where a network that went down took the name service with it; at a first
// attempt it is most likely misspelt.
//
// The waits grow across the sessions of a series: a server that confirms the login and drops it
// at once still sees them grow. Only a session that stayed up for SteadyMs starts the next series
// from the shortest wait again. The state is two counters that stop growing at their ends.
class ReconnectPolicy
{
public:
    // How a connection, or an attempt at one, ended.
    enum class End
    {
        ByUser,        // "Desconectar", or "Cancelar" in the waiting dialog
        LoginRefused,  // an error event, a close or no answer in time before the confirmation
        SessionLost,   // a confirmed session dropped, or the server closed it
        AttemptFailed, // refused, unreachable, or no connection within the time-out
        NameNotFound,  // the server's name does not resolve
    };

    // A number in [0, 1) for each wait.
    using RandomSource = std::function<double()>;

    // The waits before the first, second... attempt of a series; the last one repeats.
    static constexpr int WaitsMs[] = {5000, 10000, 20000, 40000, 60000};
    // Each wait is spread by up to this share of it, either way.
    static constexpr int JitterPercent = 20;
    // A confirmed session that lasted this long starts the next series over.
    static constexpr qint64 SteadyMs = 60000;

    // Without a source the waits are not spread.
    explicit ReconnectPolicy(RandomSource random = {});

    // The wait in milliseconds before the next attempt, or none: the series is over. upMs is how
    // long the confirmed session lasted; negative when the server confirmed none.
    std::optional<int> next(End end, qint64 upMs);
    // The user took over (or the option was turned off): the next series starts afresh.
    void stop();

    // A series is under way: an attempt or a wait for one follows.
    bool running() const { return m_running; }
    // The number of the attempt the last wait leads to, from 1.
    int attempt() const { return m_attempts; }

private:
    RandomSource m_random;
    // Waits handed out since the series began, up to the length of WaitsMs.
    int m_step = 0;
    int m_attempts = 0;
    bool m_running = false;
};
