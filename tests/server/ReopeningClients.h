#pragma once

#include <memory>
#include <vector>

#include <QHash>
#include <QHostAddress>
#include <QString>

class QTcpSocket;

// Connections from one address that never log in and open again as soon as the server closes
// them, as an attacker would to keep the places for connections not logged in taken. They count
// the error lines the server closes them with; waits elsewhere spin the event loop for them.
class ReopeningClients
{
public:
    ReopeningClients(const QHostAddress& from, quint16 port, int count);
    ~ReopeningClients();
    ReopeningClients(const ReopeningClients&) = delete;
    ReopeningClients& operator=(const ReopeningClients&) = delete;

    // How many times the server has sent this line, over every connection and reopening.
    int received(const QString& line) const { return m_received.value(line); }

private:
    void open(QTcpSocket* socket);
    void read(QTcpSocket* socket);

    QHostAddress m_from;
    quint16 m_port;
    std::vector<std::unique_ptr<QTcpSocket>> m_sockets;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QString, int> m_received;
};
