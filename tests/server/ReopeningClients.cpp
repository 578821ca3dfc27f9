#include "ReopeningClients.h"

#include <QTcpSocket>
#include <QTimer>

#include "core/Cp1252.h"

ReopeningClients::ReopeningClients(const QHostAddress& from, quint16 port, int count)
    : m_from(from), m_port(port)
{
    for (int i = 0; i < count; ++i) {
        m_sockets.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* socket = m_sockets.back().get();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { read(socket); });
        // Reopened from the event loop: a socket is not to be reconnected from its own signal.
        QObject::connect(socket, &QAbstractSocket::stateChanged, socket,
                         [this, socket](QAbstractSocket::SocketState state) {
                             if (state == QAbstractSocket::UnconnectedState)
                                 QTimer::singleShot(0, socket, [this, socket] {
                                     read(socket);
                                     open(socket);
                                 });
                         });
        open(socket);
    }
}

ReopeningClients::~ReopeningClients()
{
    for (const auto& socket : m_sockets) {
        socket->disconnect();
        socket->abort();
    }
}

void ReopeningClients::open(QTcpSocket* socket)
{
    if (socket->state() != QAbstractSocket::UnconnectedState)
        return;
    m_buffers.remove(socket);
    socket->bind(m_from);
    socket->connectToHost(QHostAddress(QHostAddress::LocalHost), m_port);
}

void ReopeningClients::read(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    qsizetype end;
    while ((end = buffer.indexOf("\r\n")) >= 0) {
        ++m_received[Cp1252::decode(buffer.left(end))];
        buffer.remove(0, end + 2);
    }
}
