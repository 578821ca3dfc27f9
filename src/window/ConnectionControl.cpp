#include "window/ConnectionControl.h"

#include <algorithm>
#include <limits>

#include <QAction>
#include <QTimer>
#include <QToolButton>

#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/TfrmConectar.h"
#include "window/TopStrip.h"
#include "window/WindowContext.h"

ConnectionControl::ConnectionControl(WindowContext& context, TChatInterface* connection,
                                     TGatewayChat* chat, TopStrip* top, QAction* mnuConectar,
                                     QAction* mnuDesconectar, Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(context), ChatInterface1(connection), GatewayChat1(chat), m_top(top),
      mnuConectar(mnuConectar), mnuDesconectar(mnuDesconectar), m_hooks(std::move(hooks)),
      tmrLogin(new QTimer(this)), tmrTentativa(new QTimer(this))
{
    setObjectName(QStringLiteral("ConnectionControl"));
    tmrLogin->setObjectName(QStringLiteral("tmrLogin"));
    tmrLogin->setSingleShot(true);
    connect(tmrLogin, &QTimer::timeout, this, m_ctx.guard([this] { refuseLogin(); }));
    tmrTentativa->setObjectName(QStringLiteral("tmrTentativa"));
    tmrTentativa->setSingleShot(true);
    connect(tmrTentativa, &QTimer::timeout, this, m_ctx.guard([this] { tmrTentativaTimer(); }));
    connect(m_top->btnConectar, &QToolButton::clicked, this,
            m_ctx.guard([this] { btnConectarClick(); }));
    connect(mnuConectar, &QAction::triggered, this, m_ctx.guard([this] { btnConectarClick(); }));
    connect(m_top->btnDesconectar, &QToolButton::clicked, this,
            m_ctx.guard([this] { btnDesconectarClick(); }));
    connect(mnuDesconectar, &QAction::triggered, this,
            m_ctx.guard([this] { btnDesconectarClick(); }));
    connect(m_top->btnHomeChannel, &QToolButton::clicked, this,
            m_ctx.guard([this] { btnHomeChannelClick(); }));
    connect(m_top->btnAway, &QToolButton::clicked, this, m_ctx.guard([this] { btnAwayClick(); }));
    connect(m_top->btnDND, &QToolButton::clicked, this, m_ctx.guard([this] { btnDNDClick(); }));

    // The connection calls back from inside its socket notifications: each handler catches.
    ChatInterface1->OnConnect = m_ctx.guard([this] { ChatInterface1Connect(); });
    ChatInterface1->OnDisconnect = m_ctx.guard([this] { ChatInterface1Disconnect(); });
    ChatInterface1->OnDataReceived = [this](const QString& line) {
        m_ctx.guarded([this, &line] { ChatInterface1DataReceived(line); });
    };
    ChatInterface1->OnLogin = m_ctx.guard([this] { ChatInterface1Login(); });
    ChatInterface1->OnConnectClosed = m_ctx.guard([this] { ChatInterface1ConnectClosed(); });
    ChatInterface1->OnConnectFailed = [this](ConnectFailure reason) {
        m_ctx.guarded([this, reason] { ChatInterface1ConnectFailed(reason); });
    };
    GatewayChat1->OnHoldLine = [this](const QString&) { return loginHoldsLine(); };
    FLogin = Settings::read(*m_ctx.settings(), Keys::Geral::Login);
    FSenha = Settings::read(*m_ctx.settings(), Keys::Geral::Senha);
    setConnectedState(Link::Down);
}

void ConnectionControl::applyOptions()
{
    FLogin = Settings::read(*m_ctx.settings(), Keys::Geral::Login);
    FSenha = Settings::read(*m_ctx.settings(), Keys::Geral::Senha);
    ChatInterface1->Address = Settings::read(*m_ctx.settings(), Keys::Geral::Servidor);
}

TfrmConectar* ConnectionControl::connectDialog() const
{
    return m_connectDialog;
}

void ConnectionControl::showStartLine()
{
    ChatInterface1->Address = Settings::read(*m_ctx.settings(), Keys::Geral::Servidor);
    m_ctx.info(QStringLiteral("Para conectar a %1, clique em Conectar (Ctrl+N).")
                   .arg(ChatInterface1->Address));
}

// The gate every line to the server passes: until the server has taken the login it reads what
// we send as the next account name or password.
bool ConnectionControl::loginHoldsLine()
{
    if (!loginPending())
        return false;
    m_ctx.info(QStringLiteral("Aguardando a confirmação do login; a linha não foi enviada."));
    return true;
}

QString ConnectionControl::homeChannel() const
{
    return Settings::read(*m_ctx.settings(), Keys::Geral::CanalPrincipal);
}

// A typed line the gate would drop stays in the input line instead.
bool ConnectionControl::holdsBackLine()
{
    if (!loginHoldsLine())
        return false;
    m_ctx.focusInputLine();
    return true;
}

bool ConnectionControl::loggedIn() const
{
    return ChatInterface1->LoggedIn && m_login.confirmed();
}

bool ConnectionControl::loginPending() const
{
    return ChatInterface1->LoggedIn && m_login.pending();
}

void ConnectionControl::setConnectedState(Link link)
{
    const bool up = link == Link::Up;
    for (QToolButton* button :
         {m_top->btnHomeChannel, m_top->btnJoin, m_top->btnAway, m_top->btnDND})
        button->setEnabled(up);
    m_top->btnDesconectar->setEnabled(link != Link::Down);
    mnuDesconectar->setEnabled(link != Link::Down);
    const bool down = link == Link::Down || link == Link::Waiting;
    m_top->btnConectar->setEnabled(down);
    mnuConectar->setEnabled(down);
}

void ConnectionControl::setReconnectWaiting(bool waiting)
{
    m_reconnectWaiting = waiting;
    if (!ChatInterface1->LoggedIn)
        setConnectedState(waiting ? Link::Waiting : Link::Down);
}

void ConnectionControl::reconnectNow()
{
    const qint64 seconds = std::max(1, Settings::read(*m_ctx.settings(), Keys::Geral::Timeout));
    tmrTentativa->start(int(std::min<qint64>(seconds * 1000, std::numeric_limits<int>::max())));
    ChatInterface1->Connect();
}

// The attempt's connection never came within the time-out: the server never answered.
void ConnectionControl::tmrTentativaTimer()
{
    if (ChatInterface1->LoggedIn)
        return;
    m_ctx.erro(QStringLiteral("Tempo de espera excedido, o servidor pode não estar respondendo."));
    ChatInterface1->CancelConnect();
    m_hooks.ended(ReconnectPolicy::End::AttemptFailed);
}

void ConnectionControl::cancelAttempt()
{
    tmrTentativa->stop();
    ChatInterface1->CancelConnect();
}

void ConnectionControl::btnConectarClick()
{
    // The user's own attempt, with its dialog, replaces the reconnect's.
    if (m_reconnectWaiting) {
        cancelAttempt();
        m_hooks.userTookOver(false);
    }
    auto* dialog = new TfrmConectar(ChatInterface1, m_ctx.settings(), m_ctx.dialogParent());
    dialog->onError = [this](const QString& text) { m_ctx.erro(text); };
    dialog->onTimedOut = [this] { m_hooks.ended(ReconnectPolicy::End::AttemptFailed); };
    m_connectDialog = dialog;
    connect(dialog, &QDialog::finished, this, [this] { m_ctx.focusInputLine(); });
    dialog->show();
}

void ConnectionControl::btnDesconectarClick()
{
    // Waiting, or trying before the login went out, there is no connection to end.
    if (m_reconnectWaiting && !ChatInterface1->LoggedIn) {
        cancelAttempt();
        m_hooks.userTookOver(true);
        return;
    }
    ChatInterface1->Disconnect();
}

void ConnectionControl::ChatInterface1Connect()
{
    GatewayChat1->UserName = FLogin;
    GatewayChat1->Password = FSenha;
    ChatInterface1->LoggedIn = false;
    if (GatewayChat1->Login())
        ChatInterface1->LoggedIn = true;
}

// The login is only sent: the server has yet to take it (see acceptLogin and refuseLogin).
void ConnectionControl::ChatInterface1Login()
{
    tmrTentativa->stop();
    m_login.start();
    setConnectedState(Link::Confirming);
    tmrLogin->start(
        LoginConfirmation::waitMs(Settings::read(*m_ctx.settings(), Keys::Geral::Timeout)));
}

void ConnectionControl::acceptLogin()
{
    tmrLogin->stop();
    m_ctx.info(QStringLiteral("Conexao estabelecida!"));
    setConnectedState(Link::Up);
    if (Settings::read(*m_ctx.settings(), Keys::Geral::JoinPrinc))
        m_ctx.sendLine(QStringLiteral("/join ") + homeChannel() + QLatin1Char('\r'));
    m_hooks.accepted();
}

// Refused by the server's error event, by its silence, or by its closing first. The user is told
// what most likely went wrong instead of how the connection ended.
void ConnectionControl::refuseLogin()
{
    tmrLogin->stop();
    m_login.refuse();
    m_ctx.erro(QStringLiteral("Falha no login: verifique a conta e a senha."));
    // A refusal that comes at once must not leave the waiting dialog counting down to a
    // time-out message.
    if (m_connectDialog)
        m_connectDialog->connectFailed();
    ChatInterface1->Disconnect();
    // Disconnect runs ChatInterface1Disconnect, which leaves the refused state; a connection
    // already without a socket fires nothing and is put down here.
    if (m_login.refused())
        showDisconnected(ReconnectPolicy::End::LoginRefused);
}

void ConnectionControl::ChatInterface1ConnectClosed()
{
    // Closing during the login is the server's refusal; closing before the login went out, the
    // server never answered.
    ReconnectPolicy::End how = ReconnectPolicy::End::AttemptFailed;
    if (m_login.pending()) {
        m_ctx.erro(QStringLiteral("Falha no login: verifique a conta e a senha."));
        how = ReconnectPolicy::End::LoginRefused;
    } else {
        m_ctx.erro(QStringLiteral("Conexao interrompida!"));
        if (m_login.confirmed())
            how = ReconnectPolicy::End::SessionLost;
    }
    showDisconnected(how);
    // A server that refuses the login closes at once; the waiting dialog then ends at its next
    // tick instead of counting down to a time-out message that would blame a silent server.
    if (m_connectDialog)
        m_connectDialog->connectFailed();
}

void ConnectionControl::ChatInterface1Disconnect()
{
    const bool refused = m_login.refused();
    if (!refused)
        m_ctx.info(QStringLiteral("Conexao finalizada"));
    showDisconnected(refused ? ReconnectPolicy::End::LoginRefused : ReconnectPolicy::End::ByUser);
}

void ConnectionControl::showDisconnected(ReconnectPolicy::End how)
{
    tmrLogin->stop();
    tmrTentativa->stop();
    m_login.reset();
    m_hooks.channelGone();
    setConnectedState(m_reconnectWaiting ? Link::Waiting : Link::Down);
    m_top->btnAway->setChecked(false);
    m_top->btnDND->setChecked(false);
    m_hooks.stopped();
    m_hooks.ended(how);
}

// A failed attempt is told at once, with where it went, why and where to change the server; the
// waiting dialog closes at its next tick instead of running into the time-out.
void ConnectionControl::ChatInterface1ConnectFailed(ConnectFailure reason)
{
    tmrTentativa->stop();
    QString why;
    switch (reason) {
    case ConnectFailure::Refused:
        why = QStringLiteral("conexão recusada");
        break;
    case ConnectFailure::HostNotFound:
        why = QStringLiteral("servidor não encontrado");
        break;
    case ConnectFailure::Unreachable:
        why = QStringLiteral("servidor inacessível");
        break;
    }
    m_ctx.erro(
        QStringLiteral("Não foi possível conectar a %1:%2: %3. Verifique o servidor em Opções > "
                       "Geral > Servidor.")
            .arg(ChatInterface1->Address)
            .arg(ChatInterface1->Port)
            .arg(why));
    if (m_connectDialog)
        m_connectDialog->connectFailed();
    m_hooks.ended(reason == ConnectFailure::HostNotFound ? ReconnectPolicy::End::NameNotFound
                                                         : ReconnectPolicy::End::AttemptFailed);
}

void ConnectionControl::ChatInterface1DataReceived(const QString& DataString)
{
    switch (m_login.take(DataString)) {
    case LoginConfirmation::Step::ShowAsInfo:
        m_ctx.info(DataString);
        return;
    case LoginConfirmation::Step::Refuse:
        GatewayChat1->ProcessLine(DataString);
        refuseLogin();
        return;
    case LoginConfirmation::Step::Confirm:
        acceptLogin();
        break;
    case LoginConfirmation::Step::Process:
        break;
    }
    GatewayChat1->ProcessLine(DataString);
}

void ConnectionControl::btnHomeChannelClick()
{
    m_ctx.sendLine(QStringLiteral("/join ") + homeChannel() + QLatin1Char('\r'));
    m_ctx.focusInputLine();
}

void ConnectionControl::btnAwayClick()
{
    m_ctx.sendLine(QStringLiteral("/away\r"));
    m_ctx.focusInputLine();
}

void ConnectionControl::btnDNDClick()
{
    m_ctx.sendLine(QStringLiteral("/dnd\r"));
    m_ctx.focusInputLine();
}
