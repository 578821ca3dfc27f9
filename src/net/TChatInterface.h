#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpSocket;

using tChatEvent = std::function<void()>;
using tDataReceived = std::function<void(const QString& DataString)>;

// The one TCP connection to the chat server: resolves and connects without blocking, cuts the
// received bytes into lines at CR or LF and hands each non-empty line on, sends strings as given.
// Text crosses this boundary as Windows-1252 bytes. Events fire only when assigned.
class TChatInterface : public QObject
{
    Q_OBJECT
public:
    explicit TChatInterface(QObject* parent = nullptr);
    // Closes an open socket without firing OnDisconnect.
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
    // A connect refused or unreachable after the name was resolved; the attempt has ended.
    tChatEvent OnConnectFailed;

    bool Connected() const { return m_connected; }
    bool Connecting() const { return m_connecting; }

    // Starts an attempt to Address:Port; false only while an attempt is under way.
    bool Connect();
    void Disconnect();
    void CancelConnect();
    // Sends the whole string at once; false (and OnSendError) when the write fails.
    bool SendData(const QString& data);
    // Sends each LoginScript line followed by CR, then sets LoggedIn and fires OnLogin.
    bool RunLoginScript();

private:
    bool m_connected = false;
    bool m_connecting = false;
};
