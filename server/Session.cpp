#include "Session.h"

#include <QTcpSocket>
#include <QTimer>

#include "Protocol.h"
#include "ServerOptions.h"
#include "core/Cp1252.h"

namespace {

constexpr qint64 ReadSlice = 64 * 1024;

} // namespace

Session::Session(QTcpSocket* socket, const ServerOptions& options, QObject* parent)
    : QObject(parent), Member(QString(), QStringLiteral("CHAT"), Member::ChatFlags),
      m_socket(socket), m_peerHost(socket->peerAddress()), m_loginTimer(new QTimer(this)),
      m_splitter(options.maxLineBytes), m_maxPendingOutput(options.maxPendingOutput)
{
    if (options.floodLimit)
        m_flood.emplace(options.floodBurst, options.floodIntervalMs);
    m_socket->setParent(this);
    // Taking a fast sender's input in slices lets the output to everyone else drain in between,
    // and leaves the sender's excess to TCP flow control.
    m_socket->setReadBufferSize(ReadSlice);
    connect(m_socket, &QTcpSocket::readyRead, this, &Session::readInput);
    connect(m_socket, &QTcpSocket::disconnected, this, &Session::markClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &Session::markClosed);
    // A connection that never finishes its login is not kept forever.
    m_loginTimer->setSingleShot(true);
    connect(m_loginTimer, &QTimer::timeout, this, [this] {
        if (isLoggingIn())
            closeWithError(QStringLiteral("Tempo de login esgotado."));
    });
    m_loginTimer->start(options.loginTimeoutMs);
}

Session::~Session()
{
    m_socket->disconnect(this);
}

QString Session::address() const
{
    return m_socket->peerAddress().toString() + QLatin1Char(':') +
           QString::number(m_socket->peerPort());
}

void Session::deliver(const QString& line)
{
    if (m_state == State::Closed)
        return;
    m_socket->write(Cp1252::encode(line) + QByteArrayLiteral("\r\n"));
    if (m_socket->bytesToWrite() <= m_maxPendingOutput)
        return;
    // Output waits for the event loop; hand the kernel what it takes before judging the client.
    m_socket->flush();
    if (m_socket->bytesToWrite() > m_maxPendingOutput)
        abort();
}

FloodGate::Verdict Session::admitLine(qint64 nowMs)
{
    return m_flood ? m_flood->admit(nowMs) : FloodGate::Verdict::Pass;
}

void Session::terminate(const QString& reason)
{
    closeWithError(reason);
}

void Session::closeWithError(const QString& text)
{
    if (m_state == State::Closed)
        return;
    deliver(Protocol::error(text));
    if (m_state == State::Closed)
        return;
    markClosed();
    m_socket->disconnectFromHost();
}

void Session::abort()
{
    if (m_state == State::Closed)
        return;
    markClosed();
    m_socket->abort();
}

void Session::dispose()
{
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        deleteLater();
        return;
    }
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    QTimer::singleShot(5000, this, [this] {
        m_socket->abort();
        deleteLater();
    });
}

void Session::markClosed()
{
    m_state = State::Closed;
    m_loginTimer->stop();
    if (m_closedReported)
        return;
    m_closedReported = true;
    QTimer::singleShot(0, this, [this] {
        if (OnClosed)
            OnClosed(this);
    });
}

void Session::readInput()
{
    const QByteArray bytes = m_socket->readAll();
    if (m_state == State::Closed)
        return;
    m_splitter.append(bytes);
    // Empty lines are kept: an empty password is one. A dropped line is reported in its place in
    // the stream, so a login cut short is refused before the lines after it are read.
    QByteArrayView line;
    for (;;) {
        const bool complete = m_splitter.takeLine(line);
        const int dropped = m_splitter.takeDropped();
        if (dropped > 0 && OnLinesDropped)
            OnLinesDropped(this, dropped);
        if (!complete || m_state == State::Closed)
            return;
        line = LineSplitter::stripTerminator(line, true, true);
        if (OnLine)
            OnLine(this, Cp1252::decode(line.data(), line.size()));
        if (m_state == State::Closed)
            return;
    }
}
