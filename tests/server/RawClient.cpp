#include "RawClient.h"

#include <QDeadlineTimer>
#include <QTcpSocket>
#include <QTest>

#include "core/Cp1252.h"

RawClient::RawClient(quint16 port) : m_socket(new QTcpSocket)
{
    m_socket->connectToHost(QStringLiteral("127.0.0.1"), port);
}

RawClient::~RawClient()
{
    m_socket->abort();
    delete m_socket;
}

bool RawClient::waitForConnected(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired())
        QTest::qWait(5);
    return m_socket->state() == QAbstractSocket::ConnectedState;
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
    QDeadlineTimer deadline(timeoutMs);
    collect();
    while (m_lines.isEmpty() && !deadline.hasExpired()) {
        QTest::qWait(5);
        collect();
    }
    return m_lines.isEmpty() ? QString() : m_lines.takeFirst();
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
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket->state() != QAbstractSocket::UnconnectedState && !deadline.hasExpired()) {
        QTest::qWait(5);
        collect();
    }
    collect();
    return m_socket->state() == QAbstractSocket::UnconnectedState;
}

bool RawClient::isConnected() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}
