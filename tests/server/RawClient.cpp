#include "RawClient.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QTest>

#include "core/Cp1252.h"

RawClient::RawClient(quint16 port, const QHostAddress& from) : m_socket(new QTcpSocket)
{
    if (!from.isNull())
        m_socket->bind(from);
    m_socket->connectToHost(QStringLiteral("127.0.0.1"), port);
}

RawClient::~RawClient()
{
    m_socket->abort();
    delete m_socket;
}

bool RawClient::waitForConnected(int timeoutMs)
{
    return QTest::qWaitFor([this] { return isConnected(); }, timeoutMs);
}

void RawClient::send(const QByteArray& bytes)
{
    m_socket->write(bytes);
    m_socket->flush();
}

void RawClient::sendLine(const QString& line)
{
    send(Cp1252::encode(line) + '\r');
}

bool RawClient::login(const QString& name, const QString& password)
{
    if (!waitForConnected())
        return false;
    send(QByteArray("\x03\x04") + Cp1252::encode(name) + '\r' + Cp1252::encode(password) + "\r\r");
    return waitForLine(QStringLiteral("2010 NAME ") + name);
}

void RawClient::collect()
{
    m_buffer += m_socket->readAll();
    qsizetype end;
    while ((end = m_buffer.indexOf("\r\n")) >= 0) {
        m_lines.append(Cp1252::decode(m_buffer.left(end)));
        m_buffer.remove(0, end + 2);
    }
}

QString RawClient::next(int timeoutMs)
{
    const bool arrived = QTest::qWaitFor(
        [this] {
            collect();
            return !m_lines.isEmpty();
        },
        timeoutMs);
    return arrived ? m_lines.takeFirst() : QString();
}

bool RawClient::waitForLine(const QString& line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QString got = next(int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (got.isNull())
            return false;
        if (got == line)
            return true;
    }
}

QString RawClient::waitForPrefix(const QString& prefix, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QString got = next(int(qMax<qint64>(deadline.remainingTime(), 0)));
        if (got.isNull() || got.startsWith(prefix))
            return got;
    }
}

void RawClient::drain()
{
    collect();
    m_lines.clear();
}

QStringList RawClient::linesBeforeSync()
{
    sendLine(QStringLiteral("/time"));
    QStringList before;
    for (;;) {
        const QString got = next();
        if (got.isNull() || got.startsWith(QStringLiteral("1018 INFO \"Horário do servidor:")))
            return before;
        before.append(got);
    }
}

bool RawClient::waitForDisconnected(int timeoutMs)
{
    const bool closed = QTest::qWaitFor(
        [this] {
            collect();
            return m_socket->state() == QAbstractSocket::UnconnectedState;
        },
        timeoutMs);
    collect();
    return closed;
}

bool RawClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}
