#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QStringList>

class QTcpSocket;

// A bare loopback connection to the server under test: sends bytes, collects the CR LF lines it
// gets back. Every wait spins the event loop, since the server runs in the same thread.
class RawClient
{
public:
    // Connects from `from` when given (any 127.x.y.z works on loopback), else from 127.0.0.1.
    explicit RawClient(quint16 port, const QHostAddress& from = QHostAddress());
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool waitForConnected(int timeoutMs = 5000);
    void send(const QByteArray& bytes);
    // The line in Windows-1252 with one CR, as the chat client ends its lines.
    void sendLine(const QString& line);
    // Sends the login and waits for the server's name line.
    bool login(const QString& name, const QString& password = QStringLiteral("x"));

    // The next line not read yet; a null string when none comes in time.
    QString next(int timeoutMs = 5000);
    // Reads lines up to and including the first equal to `line`; false if it never comes.
    bool waitForLine(const QString& line, int timeoutMs = 5000);
    // Reads lines up to and including the first that starts with `prefix`; a null string if none.
    QString waitForPrefix(const QString& prefix, int timeoutMs = 5000);
    // Reads and forgets whatever has arrived.
    void drain();
    // Asks the server for the time and returns every line that came before the answer: whatever
    // the server sent this client before handling the request.
    QStringList linesBeforeSync();
    bool waitForDisconnected(int timeoutMs = 5000);
    bool isConnected() const;
    QTcpSocket* socket() const { return m_socket; }

private:
    void collect();

    QTcpSocket* m_socket;
    QByteArray m_buffer;
    QStringList m_lines;
};
