#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

#include "ServerOptions.h"

class CommandInterpreter;
class Hub;
class QHostAddress;
class QTcpServer;
class Session;
class SimulatedUsers;

// The chat gateway: accepts clients on TCP, takes their login (0x03 0x04, then the account name,
// CR, the password, CR, CR; CR LF is accepted as well), puts them in the home channel and hands
// every later line to the command interpreter.
class ChatServer final : public QObject
{
    Q_OBJECT
public:
    explicit ChatServer(const ServerOptions& options, QObject* parent = nullptr);
    ~ChatServer() override;

    // Starts listening (and the simulated accounts); false with errorString() on failure.
    bool listen();
    QString errorString() const;
    quint16 port() const;
    Hub& hub() { return *m_hub; }
    int sessionCount() const { return int(m_sessions.size()); }

private:
    void acceptClients();
    int loggedInCount() const;
    int loggingInCount() const;
    int loggingInCountFrom(const QHostAddress& host) const;
    void lineFrom(Session* session, const QString& line);
    // False when the flood limit drops the line (and tells or disconnects the sender).
    bool admitLine(Session* session);
    void linesDropped(Session* session, int count);
    void takeName(Session* session, const QString& line);
    void finishLogin(Session* session);
    void sessionClosed(Session* session);
    int privilegeFor(const QString& name) const;

    ServerOptions m_options;
    QTcpServer* m_server;
    std::unique_ptr<Hub> m_hub;
    std::unique_ptr<CommandInterpreter> m_commands;
    std::unique_ptr<SimulatedUsers> m_simulated;
    QList<Session*> m_sessions;
    QElapsedTimer m_clock;
};
