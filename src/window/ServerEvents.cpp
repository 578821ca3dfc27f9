#include "window/ServerEvents.h"

#include <QLabel>

#include "chat/AutoReplies.h"
#include "chat/UserListModel.h"
#include "net/TGatewayChat.h"
#include "window/WindowContext.h"

namespace {
// The server repeats a whisper to the friends list with this target.
const QString FriendsTarget = QStringLiteral("\"your");
constexpr int FriendsPrefixLength = 20;
} // namespace

ServerEvents::ServerEvents(WindowContext& context, TGatewayChat* chat, UserListModel* users,
                           QLabel* lblChannel, Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(context), m_users(users), m_lblChannel(lblChannel),
      m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("ServerEvents"));
    // Handlers run inside ProcessLine; their errors are caught where the line was received.
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
}

void ServerEvents::clear()
{
    m_users->clear();
    m_lblChannel->clear();
}

void ServerEvents::GatewayChat1Talk(const QString& User, const QString& Mess)
{
    if (!m_hooks.mention(User, Mess, false))
        m_ctx.mensagem(User, Mess);
    m_hooks.talkArrived(User, Mess);
}

void ServerEvents::GatewayChat1Emote(const QString& User, const QString& Mess)
{
    if (!m_hooks.mention(User, Mess, true))
        m_ctx.emote(User, Mess);
}

void ServerEvents::GatewayChat1Whisper(const QString& User, const QString& Mess)
{
    m_ctx.whisp(0, User, Mess);
    m_hooks.whisperArrived(User, Mess);
}

void ServerEvents::GatewayChat1WhisperSent(const QString& User, const QString& Mess)
{
    QString account = User;
    QString text = Mess;
    if (User == FriendsTarget) {
        account = QStringLiteral("FRIENDS LIST");
        text = Mess.mid(FriendsPrefixLength);
    }
    // Our own answers to a version query are not repeated in the whisper pane.
    if (AutoReplies::hidesEcho(text))
        return;
    m_ctx.whisp(1, account, text);
}

// A line cut short ("1001" alone) names no account: nothing to list.
void ServerEvents::GatewayChat1ShowUser(const QString& User, const QString& Flags,
                                        const QString& UserType)
{
    if (User.isEmpty())
        return;
    m_users->addUser(User, Flags, UserType);
    updateChannelLabel();
}

void ServerEvents::GatewayChat1Join(const QString& User, const QString& Flags,
                                    const QString& UserType)
{
    if (User.isEmpty())
        return;
    m_users->addUser(User, Flags, UserType);
    updateChannelLabel();
}

void ServerEvents::GatewayChat1Leave(const QString& User, const QString&, const QString&)
{
    if (m_users->removeUser(User))
        updateChannelLabel();
}

void ServerEvents::GatewayChat1UserFlags(const QString& User, const QString& Flags)
{
    m_users->setUserFlags(User, Flags);
}

void ServerEvents::updateChannelLabel()
{
    m_lblChannel->setText(FCanal + QStringLiteral(" (") + QString::number(m_users->count()) +
                          QLatin1Char(')'));
}

void ServerEvents::GatewayChat1Channel(const QString& Mess)
{
    m_users->clear();
    FCanal = Mess;
}

void ServerEvents::GatewayChat1ChannelFull(const QString&)
{
    m_ctx.erro(QStringLiteral("O canal esta cheio!"));
}

void ServerEvents::GatewayChat1ChanNotExist(const QString& Mess)
{
    m_ctx.erro(Mess);
}

void ServerEvents::GatewayChat1Restricted(const QString& Mess)
{
    m_ctx.erro(Mess);
}

void ServerEvents::GatewayChat1Error(const QString& Mess)
{
    m_ctx.erro(Mess);
}

void ServerEvents::GatewayChat1Info(const QString& Mess)
{
    m_ctx.info(Mess);
}

void ServerEvents::GatewayChat1Broadcast(const QString& Mess)
{
    m_ctx.info(Mess);
}

void ServerEvents::GatewayChat1UnHandled(const QString&) {}
