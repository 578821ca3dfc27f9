#include "window/TfrmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

#include "chat/UserListModel.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/BottomStrip.h"
#include "window/SyncMessages.h"
#include "window/TfrmConectar.h"
#include "window/TopStrip.h"
#include "window/UserColumn.h"

void TfrmMain::wireChatInterface()
{
    // The connection calls back from inside its socket notifications: each handler catches.
    ChatInterface1->OnConnect = guard([this] { ChatInterface1Connect(); });
    ChatInterface1->OnDisconnect = guard([this] { ChatInterface1Disconnect(); });
    ChatInterface1->OnDataReceived = [this](const QString& line) {
        guarded([this, &line] { ChatInterface1DataReceived(line); });
    };
    ChatInterface1->OnLogin = guard([this] { ChatInterface1Login(); });
    ChatInterface1->OnConnectClosed = guard([this] { ChatInterface1ConnectClosed(); });
    ChatInterface1->OnConnectFailed = [this](ConnectFailure reason) {
        guarded([this, reason] { ChatInterface1ConnectFailed(reason); });
    };
}

void TfrmMain::wireGatewayChat()
{
    // Handlers run inside ProcessLine; their errors are caught in ChatInterface1DataReceived.
    TGatewayChat* chat = GatewayChat1;
    chat->OnTalk = [this](const QString& u, const QString& m) { GatewayChat1Talk(u, m); };
    chat->OnWhisper = [this](const QString& u, const QString& m) { GatewayChat1Whisper(u, m); };
    chat->OnWhisperSent = [this](const QString& u, const QString& m) {
        GatewayChat1WhisperSent(u, m);
    };
    chat->OnEmote = [this](const QString& u, const QString& m) { GatewayChat1Emote(u, m); };
    chat->OnShowUser = [this](const QString& u, const QString& f, const QString& t) {
        GatewayChat1ShowUser(u, f, t);
    };
    chat->OnJoin = [this](const QString& u, const QString& f, const QString& t) {
        GatewayChat1Join(u, f, t);
    };
    chat->OnLeave = [this](const QString& u, const QString& f, const QString& t) {
        GatewayChat1Leave(u, f, t);
    };
    chat->OnUserFlags = [this](const QString& u, const QString& f) { GatewayChat1UserFlags(u, f); };
    chat->OnInfo = [this](const QString& m) { GatewayChat1Info(m); };
    chat->OnBroadcast = [this](const QString& m) { GatewayChat1Broadcast(m); };
    chat->OnChannel = [this](const QString& m) { GatewayChat1Channel(m); };
    chat->OnChannelFull = [this](const QString& m) { GatewayChat1ChannelFull(m); };
    chat->OnChanNotExist = [this](const QString& m) { GatewayChat1ChanNotExist(m); };
    chat->OnRestricted = [this](const QString& m) { GatewayChat1Restricted(m); };
    chat->OnError = [this](const QString& m) { GatewayChat1Error(m); };
    chat->OnUnHandled = [this](const QString& m) { GatewayChat1UnHandled(m); };
    chat->OnHoldLine = [this](const QString&) { return loginHoldsLine(); };
}

void TfrmMain::sendLine(const QString& line)
{
    GatewayChat1->SendLine(line);
}

// The gate every line to the server passes: until the server has taken the login it reads what
// we send as the next account name or password.
bool TfrmMain::loginHoldsLine()
{
    if (!loginPending())
        return false;
    info(QStringLiteral("Aguardando a confirmação do login; a linha não foi enviada."));
    return true;
}

QString TfrmMain::homeChannel() const
{
    return Settings::read(*FIni, Keys::Geral::CanalPrincipal);
}

bool TfrmMain::loggedIn() const
{
    return ChatInterface1->LoggedIn && m_login.confirmed();
}

bool TfrmMain::loginPending() const
{
    return ChatInterface1->LoggedIn && m_login.pending();
}

void TfrmMain::setConnectedState(Link link)
{
    const bool up = link == Link::Up;
    for (QToolButton* button :
         {m_topStrip->btnHomeChannel, m_topStrip->btnJoin, m_topStrip->btnAway, m_topStrip->btnDND})
        button->setEnabled(up);
    m_topStrip->btnDesconectar->setEnabled(link != Link::Down);
    mnuDesconectar->setEnabled(link != Link::Down);
    m_topStrip->btnConectar->setEnabled(link == Link::Down);
    mnuConectar->setEnabled(link == Link::Down);
}

void TfrmMain::btnConectarClick()
{
    auto* dialog = new TfrmConectar(ChatInterface1, FIni.get(), this);
    dialog->onError = [this](const QString& text) { erro(text); };
    m_connectDialog = dialog;
    connect(dialog, &QDialog::finished, this, [this] { m_bottomStrip->txtMsg->setFocus(); });
    dialog->show();
}

void TfrmMain::btnDesconectarClick()
{
    ChatInterface1->Disconnect();
}

void TfrmMain::ChatInterface1Connect()
{
    GatewayChat1->UserName = FLogin;
    GatewayChat1->Password = FSenha;
    ChatInterface1->LoggedIn = false;
    if (GatewayChat1->Login())
        ChatInterface1->LoggedIn = true;
}

// The login is only sent: the server has yet to take it (see acceptLogin and refuseLogin).
void TfrmMain::ChatInterface1Login()
{
    m_login.start();
    setConnectedState(Link::Confirming);
    tmrLogin->start(LoginConfirmation::waitMs(Settings::read(*FIni, Keys::Geral::Timeout)));
}

void TfrmMain::acceptLogin()
{
    tmrLogin->stop();
    info(QStringLiteral("Conexao estabelecida!"));
    setConnectedState(Link::Up);
    if (Settings::read(*FIni, Keys::Geral::JoinPrinc))
        sendLine(QStringLiteral("/join ") + homeChannel() + QLatin1Char('\r'));
    if (Settings::read(*FIni, Keys::Timers::TimersOn) &&
        NumberedList::synchronizedMessages().count(*FIni) > 0)
        m_sync->startSyncMessages();
}

// Refused by the server's error event, by its silence, or by its closing first. The user is told
// what most likely went wrong instead of how the connection ended.
void TfrmMain::refuseLogin()
{
    tmrLogin->stop();
    m_login.refuse();
    erro(QStringLiteral("Falha no login: verifique a conta e a senha."));
    // A refusal that comes at once must not leave the waiting dialog counting down to a
    // time-out message.
    if (m_connectDialog)
        m_connectDialog->connectFailed();
    ChatInterface1->Disconnect();
    // Disconnect runs ChatInterface1Disconnect, which leaves the refused state; a connection
    // already without a socket fires nothing and is put down here.
    if (m_login.refused())
        showDisconnected();
}

void TfrmMain::ChatInterface1ConnectClosed()
{
    if (m_login.pending())
        erro(QStringLiteral("Falha no login: verifique a conta e a senha."));
    else
        erro(QStringLiteral("Conexao interrompida!"));
    showDisconnected();
    // A server that refuses the login closes at once; the waiting dialog then ends at its next
    // tick instead of counting down to a time-out message that would blame a silent server.
    if (m_connectDialog)
        m_connectDialog->connectFailed();
}

void TfrmMain::ChatInterface1Disconnect()
{
    if (!m_login.refused())
        info(QStringLiteral("Conexao finalizada"));
    showDisconnected();
}

void TfrmMain::showDisconnected()
{
    tmrLogin->stop();
    m_login.reset();
    m_users->clear();
    m_userColumn->lblChannel->clear();
    setConnectedState(Link::Down);
    m_topStrip->btnAway->setChecked(false);
    m_topStrip->btnDND->setChecked(false);
    m_sync->stopSyncMessages();
}

// A failed attempt is told at once, with where it went, why and where to change the server; the
// waiting dialog closes at its next tick instead of running into the time-out.
void TfrmMain::ChatInterface1ConnectFailed(ConnectFailure reason)
{
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
    erro(QStringLiteral("Não foi possível conectar a %1:%2: %3. Verifique o servidor em Opções > "
                        "Geral > Servidor.")
             .arg(ChatInterface1->Address)
             .arg(ChatInterface1->Port)
             .arg(why));
    if (m_connectDialog)
        m_connectDialog->connectFailed();
}

void TfrmMain::ChatInterface1DataReceived(const QString& DataString)
{
    switch (m_login.take(DataString)) {
    case LoginConfirmation::Step::ShowAsInfo:
        info(DataString);
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

void TfrmMain::btnHomeChannelClick()
{
    sendLine(QStringLiteral("/join ") + homeChannel() + QLatin1Char('\r'));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::btnAwayClick()
{
    sendLine(QStringLiteral("/away\r"));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::btnDNDClick()
{
    sendLine(QStringLiteral("/dnd\r"));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::GatewayChat1Channel(const QString& Mess)
{
    m_users->clear();
    FCanal = Mess;
}

void TfrmMain::GatewayChat1ChannelFull(const QString&)
{
    erro(QStringLiteral("O canal esta cheio!"));
}

void TfrmMain::GatewayChat1ChanNotExist(const QString& Mess)
{
    erro(Mess);
}

void TfrmMain::GatewayChat1Restricted(const QString& Mess)
{
    erro(Mess);
}

void TfrmMain::GatewayChat1Error(const QString& Mess)
{
    erro(Mess);
}

void TfrmMain::GatewayChat1Info(const QString& Mess)
{
    info(Mess);
}

void TfrmMain::GatewayChat1Broadcast(const QString& Mess)
{
    info(Mess);
}

void TfrmMain::GatewayChat1UnHandled(const QString&) {}

TfrmConectar* TfrmMain::connectDialog() const
{
    return m_connectDialog;
}
