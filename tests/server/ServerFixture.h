#pragma once

#include <memory>

#include <QString>

#include "ServerOptions.h"

class ChatServer;
class RawClient;

// The trial server in-process on a free loopback port, and the clients a test logs in to it.
// startWithTwo() adds the two accounts most tests need, ana and bia, in the home channel, each
// having read everything sent to it so far. Clients go before the server when it is destroyed.
class ServerFixture
{
public:
    // No simulated accounts, a free port.
    static ServerOptions quietOptions();

    ServerFixture();
    ~ServerFixture();
    ServerFixture(const ServerFixture&) = delete;
    ServerFixture& operator=(const ServerFixture&) = delete;

    // False when the server cannot listen.
    bool start(const ServerOptions& options = quietOptions());
    // start() with ana and bia logged in, in that order; false unless ana saw bia join (with the
    // flags the options give her) and nothing else.
    bool startWithTwo(const ServerOptions& options = quietOptions());

    quint16 port() const;
    ChatServer& server() const { return *m_server; }
    RawClient& ana() const { return *m_ana; }
    RawClient& bia() const { return *m_bia; }

    // Logs the client in and reads past its welcome, so later reads see only what follows.
    static bool enter(RawClient& client, const QString& name);

private:
    std::unique_ptr<ChatServer> m_server;
    std::unique_ptr<RawClient> m_ana;
    std::unique_ptr<RawClient> m_bia;
};
