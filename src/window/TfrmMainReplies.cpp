#include "window/TfrmMain.h"

#include "chat/AutoReplies.h"
#include "net/TGatewayChat.h"
#include "settings/TIniFile.h"
#include "window/Moderation.h"

// Runs after the line is shown: the version query first, whatever the reply switches say, then
// the stored phrases, which the query line goes through like any other.
void TfrmMain::answerTalk(const QString& User, const QString& Mess)
{
    if (const std::optional<QString> answer =
            AutoReplies::versionAnswer(User, Mess, m_moderation->opMode()))
        sendLine(*answer + QLatin1Char('\r'));
    if (!FRespFrase)
        return;
    const std::optional<QString> reply =
        AutoReplies(*FIni).phraseReply(User, Mess, [this] { return randomUser(); });
    if (!reply)
        return;
    sendLine(*reply + QLatin1Char('\r'));
    // A reply that starts with "/" is a server command (an emote, say): the server shows it.
    if (!reply->startsWith(QLatin1Char('/')))
        mensagem(login(), *reply);
}

// Whisper replies go out as stored, placeholders and all, and are shown as whispers we sent to
// the account that whispered; the server's echo of them is shown as well.
void TfrmMain::answerWhisper(const QString& User, const QString& Mess)
{
    if (!FRespWhisp)
        return;
    const std::optional<QString> reply = AutoReplies(*FIni).whisperReply(Mess);
    if (!reply)
        return;
    sendLine(QStringLiteral("/w ") + User + QLatin1Char(' ') + *reply + QLatin1Char('\r'));
    whisp(1, User, *reply);
}
