#include "window/ReplySender.h"

#include <utility>

#include "chat/AutoReplies.h"
#include "chat/UserListModel.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/WindowContext.h"

ReplySender::ReplySender(WindowContext& ctx, UserListModel* users, Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_users(users), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("ReplySender"));
}

void ReplySender::applyOptions()
{
    FRespFrase = Settings::read(*m_ctx.settings(), Keys::Respostas::RespFrase);
    FRespWhisp = Settings::read(*m_ctx.settings(), Keys::Respostas::RespWhisp);
}

// Runs after the line is shown: the version query first, whatever the reply switches say, then
// the stored phrases, which the query line goes through like any other.
void ReplySender::answerTalk(const QString& User, const QString& Mess)
{
    if (const std::optional<QString> answer =
            AutoReplies::versionAnswer(User, Mess, m_hooks.opMode()))
        m_ctx.sendLine(*answer + QLatin1Char('\r'));
    if (!FRespFrase)
        return;
    const std::optional<QString> reply =
        AutoReplies(*m_ctx.settings()).phraseReply(User, Mess, [this] {
            return m_users->randomUser();
        });
    if (!reply)
        return;
    m_ctx.sendLine(*reply + QLatin1Char('\r'));
    // A reply that starts with "/" is a server command (an emote, say): the server shows it.
    if (!reply->startsWith(QLatin1Char('/')))
        m_ctx.mensagem(m_ctx.login(), *reply);
}

// Whisper replies go out as stored, placeholders and all, and are shown as whispers we sent to
// the account that whispered; the server's echo of them is shown as well.
void ReplySender::answerWhisper(const QString& User, const QString& Mess)
{
    if (!FRespWhisp)
        return;
    const std::optional<QString> reply = AutoReplies(*m_ctx.settings()).whisperReply(Mess);
    if (!reply)
        return;
    m_ctx.sendLine(QStringLiteral("/w ") + User + QLatin1Char(' ') + *reply + QLatin1Char('\r'));
    m_ctx.whisp(1, User, *reply);
}
