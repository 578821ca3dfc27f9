#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QHostAddress;
class QTcpServer;
class QTcpSocket;

// A real TCP server on loopback for tests: listens on a free port, accepts clients, records every
// byte each client sent and writes whatever the test tells it to. All waits spin the event loop.
class FakeServer final : public QObject
{
    Q_OBJECT
public:
    FakeServer();
    // Listens on the given address and port instead, where a program expects its server.
    FakeServer(const QHostAddress& address, quint16 port);
    ~FakeServer() override;

    bool isListening() const;

    quint16 port() const;
    int clientCount() const;

    bool waitForClient(int count = 1, int timeoutMs = 5000);
    // Waits until client i has sent at least `bytes` bytes in all.
    bool waitForBytes(qsizetype bytes, int timeoutMs = 5000, int i = 0);
    bool waitForData(const QByteArray& needle, int timeoutMs = 5000, int i = 0);
    bool waitForDisconnect(int timeoutMs = 5000, int i = 0);
    // Waits until everything sent to client i has been handed to the system, so a test can send
    // a large stream piece by piece without holding it all.
    bool waitForWritten(int timeoutMs = 5000, int i = 0);

    QByteArray received(int i = 0) const;
    void clearReceived(int i = 0);
    bool clientConnected(int i = 0) const;

    void send(const QByteArray& bytes, int i = 0);
    // Text in Windows-1252 followed by CR LF, as the chat server ends its lines.
    void sendLine(const QString& line, int i = 0);
    void closeClient(int i = 0);
    // Drops client i with a reset instead of an orderly close.
    void resetClient(int i = 0);
    void stopListening();

    // A loopback port on which nothing listens: a connect there is refused.
    static quint16 closedPort();

Q_SIGNALS:
    // Client i sent more bytes; received(i) holds them already.
    void bytesReceived(int i);

private:
    void acceptClients();

    struct Client
    {
        QTcpSocket* socket = nullptr;
        QByteArray received;
        bool connected = true;
    };
    QTcpServer* m_server;
    QList<Client*> m_clients;
};
