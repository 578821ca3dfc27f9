#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

#include "net/LoginConfirmation.h"
#include "net/ReconnectPolicy.h"

enum class ConnectFailure;
class QAction;
class QTimer;
class TChatInterface;
class TGatewayChat;
class TfrmConectar;
class TopStrip;
class WindowContext;

// The connection to the chat server and its login: "Conectar" and "Desconectar", the watch on
// the login until the server takes or refuses it, the gate that holds every line meanwhile, the
// enabled state of the connection controls, and the toolbar's home channel, away and do not
// disturb buttons. Owns the account and password of the session (FLogin, FSenha), tmrLogin,
// tmrTentativa (the bound of an attempt made without the dialog) and the connect-wait dialog;
// touches the top strip's connection buttons and the two menu items. Tells how each session or
// attempt ended, for the automatic reconnect, and makes that feature's attempts.
class ConnectionControl final : public QObject
{
    Q_OBJECT
public:
    // Told what became of the session, for the features that follow it.
    struct Hooks
    {
        // The server took the login, after the home channel was asked for.
        std::function<void()> accepted;
        // The session is down: first its channel goes, then what ran while logged in stops.
        std::function<void()> channelGone;
        std::function<void()> stopped;
        // The session or the attempt is over, and why; after channelGone and stopped.
        std::function<void(ReconnectPolicy::End how)> ended;
        // "Conectar" or "Desconectar" (disconnect true) was pressed while a reconnect waited.
        std::function<void(bool disconnect)> userTookOver;
    };

    // Takes over the connection's handlers and the gate of the chat; none of the arguments is
    // owned. The window takes the handlers back before the connection goes.
    ConnectionControl(WindowContext& context, TChatInterface* connection, TGatewayChat* chat,
                      TopStrip* top, QAction* mnuConectar, QAction* mnuDesconectar, Hooks hooks,
                      QObject* parent);

    // Logged in, and the server has taken the login.
    bool loggedIn() const;
    // The login was sent and the server has not yet shown whether it takes it.
    bool loginPending() const;
    QString login() const { return FLogin; }
    // The connect-wait dialog while it is open.
    TfrmConectar* connectDialog() const;
    // A typed line the gate would drop now stays in its input line: true, and the pane says so.
    bool holdsBackLine();
    // Account, password and server from the settings, at start and after the options dialog.
    void applyOptions();
    // Until the first connection the channel pane says how to make it.
    void showStartLine();

    // An attempt without the waiting dialog, bounded by Geral/Timeout like the dialog's.
    void reconnectNow();
    // A reconnect waits or makes an attempt: "Desconectar" stays enabled to end it.
    void setReconnectWaiting(bool waiting);

    void btnConectarClick();
    void btnDesconectarClick();
    void btnHomeChannelClick();
    void btnAwayClick();
    void btnDNDClick();

private:
    // The enabled state of the connection controls.
    enum class Link
    {
        Down,       // not connected: only "Conectar"
        Waiting,    // a reconnect waits or tries: "Conectar" and "Desconectar"
        Confirming, // the login awaits the server's answer: only "Desconectar"
        Up,         // logged in
    };
    void setConnectedState(Link link);
    void ChatInterface1Connect();
    void ChatInterface1Login();
    void ChatInterface1ConnectClosed();
    void ChatInterface1Disconnect();
    void ChatInterface1ConnectFailed(ConnectFailure reason);
    void ChatInterface1DataReceived(const QString& DataString);
    void acceptLogin();
    void refuseLogin();
    void showDisconnected(ReconnectPolicy::End how);
    void tmrTentativaTimer();
    void cancelAttempt();
    bool loginHoldsLine();
    QString homeChannel() const;

    WindowContext& m_ctx;
    TChatInterface* ChatInterface1;
    TGatewayChat* GatewayChat1;
    TopStrip* m_top;
    QAction* mnuConectar;
    QAction* mnuDesconectar;
    Hooks m_hooks;
    // Runs from the login's sending until the server answers it.
    QTimer* tmrLogin;
    QTimer* tmrTentativa;
    LoginConfirmation m_login;
    QPointer<TfrmConectar> m_connectDialog;
    QString FLogin;
    QString FSenha;
    bool m_reconnectWaiting = false;
};
