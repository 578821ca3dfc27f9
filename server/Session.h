#pragma once

#include <functional>
#include <optional>

#include <QHostAddress>
#include <QObject>

#include "FloodGate.h"
#include "Member.h"
#include "net/LineSplitter.h"

class QTcpSocket;
class QTimer;
struct ServerOptions;

// One client connection: frames its input into lines, writes its output in Windows-1252 with
// CR LF, and bounds both. Closing is reported later from the event loop, never from inside a
// call that delivers a line, so whoever is sending to many accounts can go on safely.
class Session final : public QObject, public Member
{
    Q_OBJECT
public:
    enum class State
    {
        AwaitingName,
        AwaitingPassword,
        LoggedIn,
        Closed
    };

    // Takes ownership of the connected socket.
    Session(QTcpSocket* socket, const ServerOptions& options, QObject* parent = nullptr);
    ~Session() override;

    void deliver(const QString& line) override;
    void terminate(const QString& reason) override;
    bool isSimulated() const override { return false; }
    QString address() const override;
    // The client's address, kept from the start since the socket forgets it once closed.
    const QHostAddress& peerHost() const { return m_peerHost; }

    State state() const { return m_state; }
    void setState(State state) { m_state = state; }
    bool isLoggingIn() const
    {
        return m_state == State::AwaitingName || m_state == State::AwaitingPassword;
    }
    // The flood limit's verdict on a line arriving now (always a pass when the limit is off).
    FloodGate::Verdict admitLine(qint64 nowMs);
    // Sends an error line and closes once it is written.
    void closeWithError(const QString& text);
    // Closes at once, dropping unsent output.
    void abort();
    // Deletes the session once its last output is written (or after a grace period).
    void dispose();

    // One complete line from the client (decoded from Windows-1252).
    std::function<void(Session* session, const QString& line)> OnLine;
    // Lines the client sent that were too long and were dropped.
    std::function<void(Session* session, int count)> OnLinesDropped;
    // The connection ended; the session may be deleted later.
    std::function<void(Session* session)> OnClosed;

private:
    void readInput();
    void markClosed();

    QTcpSocket* m_socket;
    QHostAddress m_peerHost;
    QTimer* m_loginTimer;
    LineSplitter m_splitter;
    std::optional<FloodGate> m_flood;
    qint64 m_maxPendingOutput;
    State m_state = State::AwaitingName;
    bool m_closedReported = false;
};
