#include "TChatInterface.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include "core/Cp1252.h"

namespace {

// Bytes read from the socket at a time; Qt's own read buffer is bounded to the longest line.
constexpr qint64 ChunkSize = 16384;

// How long a closed connection may wait for the server to take more of what it had accepted, or,
// once everything is written, to close its side, before it is cut.
constexpr int CloseGraceMs = 2000;

// Ends our direction of the stream after the bytes already handed to the system, while the socket
// stays open for reading.
void shutdownSending(qintptr descriptor)
{
#ifdef Q_OS_WIN
    ::shutdown(SOCKET(descriptor), SD_SEND);
#else
    ::shutdown(int(descriptor), SHUT_WR);
#endif
}

// Lets a connection we are done with write out what SendData accepted, then close, without ever
// waiting for it. It reports to no one and deletes itself; the application holds it meanwhile, so
// it outlives our own destruction and is still freed at exit.
//
// Closing the descriptor while the server's bytes lie unread makes the close a reset, and a reset
// throws away what the system has not yet delivered; a chat server talks at any time. So once the
// last byte is handed on we only end our direction, read and drop whatever still comes, and close
// when the server has closed its side.
void closeGracefully(QTcpSocket* socket)
{
    socket->setParent(QCoreApplication::instance());
    const auto discard = [socket] { socket->skip(socket->bytesAvailable()); };
    const auto endSending = [socket] {
        if (socket->bytesToWrite() == 0 && socket->state() == QAbstractSocket::ConnectedState)
            shutdownSending(socket->socketDescriptor());
    };
    QObject::connect(socket, &QTcpSocket::readyRead, socket, discard);
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, endSending);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QTcpSocket::errorOccurred, socket, &QObject::deleteLater);
    // A server that stops taking bytes, or never closes, must not hold the socket for ever; a slow
    // one that keeps taking them gets everything.
    auto* stalled = new QTimer(socket);
    stalled->setSingleShot(true);
    stalled->setInterval(CloseGraceMs);
    QObject::connect(stalled, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    QObject::connect(socket, &QTcpSocket::bytesWritten, stalled, qOverload<>(&QTimer::start));
    stalled->start();
    discard();
    socket->flush();
    endSending();
}

} // namespace

TChatInterface::TChatInterface(QObject* parent) : QObject(parent) {}

TChatInterface::~TChatInterface()
{
    OnDisconnect = nullptr;
    becomeIdle();
}

bool TChatInterface::isNumericAddress(const QString& address)
{
    for (QChar ch : address) {
        if (ch != QLatin1Char('.') && (ch < QLatin1Char('0') || ch > QLatin1Char('9')))
            return false;
    }
    return true;
}

bool TChatInterface::Connect()
{
    if (m_connecting)
        return false;
    // A connect while connected replaces the old connection, which goes away without events.
    becomeIdle();
    m_connecting = true;
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(MaxLineLength);
    connect(m_socket, &QTcpSocket::connected, this, &TChatInterface::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &TChatInterface::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &TChatInterface::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TChatInterface::onErrorOccurred);

    // Starting from the event loop keeps every outcome (even an address that names no host, known
    // at once) out of this call: the owner sets up its waiting before any event can reach it.
    const quint64 attempt = m_attempt;
    QMetaObject::invokeMethod(
        this, [this, attempt] { startConnecting(attempt); }, Qt::QueuedConnection);
    return true;
}

void TChatInterface::startConnecting(quint64 attempt)
{
    if (attempt != m_attempt || !m_socket)
        return;
    if (!isNumericAddress(Address)) {
        m_socket->connectToHost(Address, Port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
        return;
    }
    QHostAddress host;
    if (!host.setAddress(Address) || host.protocol() != QAbstractSocket::IPv4Protocol) {
        // Digits and dots that make no address (empty, "999.1.1.1") reach no server.
        becomeIdle();
        if (OnConnectFailed)
            OnConnectFailed(ConnectFailure::HostNotFound);
        return;
    }
    m_socket->connectToHost(host, Port);
}

void TChatInterface::Disconnect()
{
    const bool hadSocket = m_socket != nullptr;
    becomeIdle();
    if (hadSocket && OnDisconnect)
        OnDisconnect();
}

void TChatInterface::CancelConnect()
{
    if (m_connecting)
        becomeIdle();
}

bool TChatInterface::SendData(const QString& data)
{
    if (!m_connected || !m_socket)
        return false;
    const QByteArray bytes = Cp1252::encode(data);
    if (bytes.isEmpty())
        return true;
    // QTcpSocket keeps whatever the kernel does not take yet and writes it from the event loop.
    if (m_socket->write(bytes) == bytes.size())
        return true;
    if (OnSendError)
        OnSendError();
    return false;
}

bool TChatInterface::RunLoginScript()
{
    if (!m_connected)
        return false;
    const QStringList script = LoginScript; // a handler of OnSendError may change the list
    for (const QString& line : script) {
        if (!SendData(line + QLatin1Char('\r')))
            return false;
    }
    LoggedIn = true;
    if (OnLogin)
        OnLogin();
    return true;
}

void TChatInterface::becomeIdle()
{
    dropSocket();
    m_connecting = false;
    m_connected = false;
    LoggedIn = false;
    m_splitter.clear();
}

void TChatInterface::dropSocket()
{
    ++m_attempt;
    if (!m_socket)
        return;
    QTcpSocket* const socket = m_socket;
    m_socket = nullptr;
    // Cut the signals first: the closing socket must never report to us again.
    socket->disconnect(this);
    if (socket->state() == QAbstractSocket::ConnectedState) {
        closeGracefully(socket);
        return;
    }
    // Nothing was sent on a socket that never connected, and one the server closed is done.
    socket->abort();
    // We may be inside one of the socket's own signals.
    socket->deleteLater();
}

void TChatInterface::onConnected()
{
    m_connected = true;
    QTcpSocket* const socket = m_socket;
    if (OnConnect)
        OnConnect();
    // Unless the handler already ended this connection (and perhaps started a new attempt).
    if (m_socket == socket)
        m_connecting = false;
}

void TChatInterface::onReadyRead()
{
    readAvailable();
}

void TChatInterface::onDisconnected()
{
    // The server's last lines may arrive together with its close.
    QTcpSocket* const socket = m_socket;
    readAvailable();
    if (m_socket != socket)
        return; // a line's handler already ended this connection
    becomeIdle();
    if (OnConnectClosed)
        OnConnectClosed();
}

void TChatInterface::onErrorOccurred(QAbstractSocket::SocketError error)
{
    if (m_connecting && !m_connected) {
        // Every failure is told at once, so the owner need not wait for its time-out.
        ConnectFailure reason = ConnectFailure::Unreachable;
        if (error == QAbstractSocket::ConnectionRefusedError)
            reason = ConnectFailure::Refused;
        else if (error == QAbstractSocket::HostNotFoundError)
            reason = ConnectFailure::HostNotFound;
        becomeIdle();
        if (OnConnectFailed)
            OnConnectFailed(reason);
        return;
    }
    // A close by the server is reported by onDisconnected.
    if (error != QAbstractSocket::RemoteHostClosedError && OnSocketError)
        OnSocketError();
}

void TChatInterface::readAvailable()
{
    // A line's handler may end this connection or start a new attempt on a new socket.
    QTcpSocket* const socket = m_socket;
    char chunk[ChunkSize];
    while (socket && m_socket == socket) {
        const qint64 count = socket->read(chunk, ChunkSize);
        if (count <= 0)
            return;
        m_splitter.append(chunk, count);
        dispatchLines();
    }
}

void TChatInterface::dispatchLines()
{
    // Disconnect() from inside a handler clears the splitter and so ends this loop.
    QByteArrayView raw;
    while (m_splitter.takeLine(raw)) {
        const QByteArrayView line = LineSplitter::stripTerminator(raw, NoLineFeed, NoReturn);
        if (!line.isEmpty() && OnDataReceived)
            OnDataReceived(Cp1252::decode(line.data(), line.size()));
    }
}
