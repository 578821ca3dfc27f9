#include "FakeServer.h"

#include "core/Cp1252.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

FakeServer::FakeServer() : m_server(new QTcpServer(this))
{
    acceptClients();
    m_server->listen(QHostAddress::LocalHost, 0);
}

FakeServer::FakeServer(const QHostAddress& address, quint16 port) : m_server(new QTcpServer(this))
{
    acceptClients();
    m_server->listen(address, port);
}

void FakeServer::acceptClients()
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection()) {
            auto* client = new Client;
            client->socket = socket;
            m_clients.append(client);
            connect(socket, &QTcpSocket::readyRead, this, [this, client] {
                client->received += client->socket->readAll();
                Q_EMIT bytesReceived(int(m_clients.indexOf(client)));
            });
            connect(socket, &QTcpSocket::disconnected, this, [client] {
                client->received += client->socket->readAll();
                client->connected = false;
            });
        }
    });
}

FakeServer::~FakeServer()
{
    qDeleteAll(m_clients);
}

bool FakeServer::isListening() const
{
    return m_server->isListening();
}

quint16 FakeServer::port() const
{
    return m_server->serverPort();
}

int FakeServer::clientCount() const
{
    return int(m_clients.size());
}

bool FakeServer::waitForClient(int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return clientCount() >= count; }, timeoutMs);
}

bool FakeServer::waitForBytes(qsizetype bytes, int timeoutMs, int i)
{
    return QTest::qWaitFor(
        [&] { return i < clientCount() && m_clients[i]->received.size() >= bytes; }, timeoutMs);
}

bool FakeServer::waitForData(const QByteArray& needle, int timeoutMs, int i)
{
    return QTest::qWaitFor(
        [&] { return i < clientCount() && m_clients[i]->received.contains(needle); }, timeoutMs);
}

bool FakeServer::waitForDisconnect(int timeoutMs, int i)
{
    return QTest::qWaitFor([&] { return i < clientCount() && !m_clients[i]->connected; },
                           timeoutMs);
}

bool FakeServer::waitForWritten(int timeoutMs, int i)
{
    return QTest::qWaitFor(
        [&] { return i < clientCount() && m_clients[i]->socket->bytesToWrite() == 0; }, timeoutMs);
}

QByteArray FakeServer::received(int i) const
{
    return i < clientCount() ? m_clients[i]->received : QByteArray();
}

void FakeServer::clearReceived(int i)
{
    if (i < clientCount())
        m_clients[i]->received.clear();
}

bool FakeServer::clientConnected(int i) const
{
    return i < clientCount() && m_clients[i]->connected;
}

void FakeServer::send(const QByteArray& bytes, int i)
{
    if (i >= clientCount())
        return;
    m_clients[i]->socket->write(bytes);
    m_clients[i]->socket->flush();
}

void FakeServer::sendLine(const QString& line, int i)
{
    send(Cp1252::encode(line) + "\r\n", i);
}

void FakeServer::closeClient(int i)
{
    if (i < clientCount()) {
        m_clients[i]->socket->disconnectFromHost();
        m_clients[i]->connected = false;
    }
}

void FakeServer::resetClient(int i)
{
    if (i < clientCount()) {
        // Lingering for no time makes the close a reset, as when a connection drops on the way.
        linger noLinger{};
        noLinger.l_onoff = 1;
        noLinger.l_linger = 0;
#ifdef Q_OS_WIN
        ::setsockopt(SOCKET(m_clients[i]->socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                     reinterpret_cast<const char*>(&noLinger), sizeof noLinger);
#else
        ::setsockopt(int(m_clients[i]->socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                     &noLinger, sizeof noLinger);
#endif
        m_clients[i]->socket->abort();
        m_clients[i]->connected = false;
    }
}

void FakeServer::stopListening()
{
    m_server->close();
}

quint16 FakeServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
