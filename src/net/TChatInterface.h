#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "net/LineSplitter.h"

class QTcpSocket;

using tChatEvent = std::function<void()>;
using tDataReceived = std::function<void(const QString& DataString)>;

// Why a connect attempt ended without a connection.
enum class ConnectFailure
{
    Refused,      // the host answered, but nothing listens on the port
    HostNotFound, // the name does not resolve, or the address names no host
    Unreachable,  // no route, a time-out, or the system could not make the socket
};
using tConnectFailed = std::function<void(ConnectFailure reason)>;

// The one TCP connection to the chat server: resolves and connects without blocking, cuts the
// received bytes into lines at CR or LF and hands each non-empty line on, sends strings as given.
// Text crosses this boundary as Windows-1252 bytes. Events fire only when assigned, never from
// inside Connect(). Owners may call back into the object from any event (log in from OnConnect,
// disconnect from OnDataReceived); to destroy it from inside one of its events use deleteLater().
//
// States: idle -> Connect -> connecting -> connected (OnConnect) -> logged in (RunLoginScript,
// OnLogin). Disconnect (OnDisconnect) or a close by the server (OnConnectClosed) returns to idle;
// so does an attempt that fails, a name that does not resolve included (OnConnectFailed), or
// CancelConnect (no event).
class TChatInterface : public QObject
{
    Q_OBJECT
public:
    explicit TChatInterface(QObject* parent = nullptr);
    // Closes an open socket as Disconnect does, without firing OnDisconnect.
    ~TChatInterface() override;

    // Longest line kept while waiting for its end; a longer one is dropped whole.
    static constexpr qsizetype MaxLineLength = 64 * 1024;

    QString Address;
    quint16 Port = 0;
    QStringList LoginScript;
    bool NoLineFeed = true; // remove every LF from a received line
    bool NoReturn = true;   // remove every CR from a received line
    // The login script was sent in full; the owner may clear it.
    bool LoggedIn = false;

    tChatEvent OnConnect;
    tChatEvent OnDisconnect;
    tChatEvent OnSendError;
    tDataReceived OnDataReceived;
    tChatEvent OnLogin;
    tChatEvent OnSocketError;
    tChatEvent OnConnectClosed;
    // The attempt has ended without a connection, for the reason given.
    tConnectFailed OnConnectFailed;

    bool Connected() const { return m_connected; }
    bool Connecting() const { return m_connecting; }

    // Starts an attempt to Address:Port over IPv4; false only while an attempt is under way. An
    // Address of digits and dots only (or none) is numeric, anything else is a host name. A
    // connection already open is closed as by Disconnect, without events.
    bool Connect();
    // Ends the connection, or an attempt, from this side; OnDisconnect when a socket was open. The
    // state is idle at once, while the old socket writes what SendData accepted in the background
    // and closes once the server has closed its side (cut after a two-second grace when the server
    // stops taking bytes or does not close).
    void Disconnect();
    // Abandons an attempt under way; nothing fires and its socket never reports.
    void CancelConnect();
    // Hands the whole string to the socket, which writes what the system does not take at once
    // from the event loop; false (and OnSendError) when the write fails. Nothing to send succeeds.
    bool SendData(const QString& data);
    // Sends each LoginScript line followed by CR, then sets LoggedIn and fires OnLogin.
    bool RunLoginScript();

    // Digits and dots only, or empty: converted as a numeric IPv4 address, never looked up.
    static bool isNumericAddress(const QString& address);

private:
    void startConnecting(quint64 attempt);
    // The one way back to idle: no socket, no attempt, not logged in, no partial line.
    void becomeIdle();
    void dropSocket();
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onErrorOccurred(QAbstractSocket::SocketError error);
    void readAvailable();
    void dispatchLines();

    bool m_connected = false;
    bool m_connecting = false;
    QTcpSocket* m_socket = nullptr;
    // Counts attempts and tear-downs, so a queued start of an abandoned attempt does nothing.
    quint64 m_attempt = 0;
    LineSplitter m_splitter{MaxLineLength};
};
