#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

#include "net/ReconnectPolicy.h"

class QTimer;
class WindowContext;

// The automatic reconnect: after a lost session, or an attempt the server never answered, waits
// as ReconnectPolicy says, tells the channel pane so and starts an attempt without the waiting
// dialog; once the server takes the login again, rejoins the channel the user was in. Owns the
// timer tmrReconectar, the policy and the channel to rejoin, and reads Geral/Reconectar; touches
// the channel pane and the gate through the context and the connection through its hooks. The
// connection feature tells it how each session ended and when the user took over.
class AutoReconnect final : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        // Starts an attempt to connect without the waiting dialog, bounded by Geral/Timeout.
        std::function<void()> attempt;
        // A wait or one of its attempts runs (true) or is over (false): "Desconectar" ends it.
        std::function<void(bool waiting)> waitingChanged;
    };

    AutoReconnect(WindowContext& context, Hooks hooks, QObject* parent);

    // Turning the option off ends a wait that runs.
    void applyOptions();
    // The server took the login, after the home channel was asked for.
    void sessionAccepted();
    // A session or an attempt is over, for the given reason.
    void sessionEnded(ReconnectPolicy::End end);
    // The user pressed "Conectar" or "Desconectar" while a wait or an attempt ran: it ends, and
    // after "Desconectar" (told) the pane says so.
    void userTookOver(bool told);

    // A wait or one of its attempts runs.
    bool waiting() const { return m_waiting; }
    // Every wait, and the time a session must last to start the next series over, takes
    // msPerSecond milliseconds per second instead of 1000; the pane still tells whole seconds.
    void setTimeScaleForTests(int msPerSecond);
    // The source of the waits' spread, a number in [0, 1) each.
    void setRandomForTests(ReconnectPolicy::RandomSource random);

private:
    void tmrReconectarTimer();
    void setWaiting(bool waiting);
    void end(bool told);

    WindowContext& m_ctx;
    Hooks m_hooks;
    ReconnectPolicy m_policy;
    QTimer* tmrReconectar;
    // Since the server took the login of the session that runs; invalid when none does.
    QElapsedTimer m_up;
    // The channel the user was in when the series began; empty: the home channel only.
    QString m_rejoin;
    int m_msPerSecond = 1000;
    bool m_waiting = false;
    // The session that runs came from one of our attempts.
    bool m_attempted = false;
};
