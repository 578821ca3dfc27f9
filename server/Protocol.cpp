#include "Protocol.h"

#include "net/GatewayProtocol.h"

namespace {

using GatewayProtocol::EventCode;

// The code and the word that follows it, which the client skips.
QString head(EventCode code, const char* word)
{
    return QString::number(int(code)) + QLatin1Char(' ') + QLatin1String(word);
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString accountLine(EventCode code, const char* word, const QString& name, int flags)
{
    return head(code, word) + QLatin1Char(' ') + name + QLatin1Char(' ') +
           Protocol::flagsText(flags);
}

QString textLine(EventCode code, const char* word, const QString& text)
{
    return head(code, word) + QLatin1Char(' ') + quoted(text);
}

} // namespace

QString Protocol::flagsText(int flags)
{
    return QStringLiteral("%1").arg(flags & 0xffff, 4, 16, QLatin1Char('0'));
}

QString Protocol::user(const QString& name, int flags, const QString& tag)
{
    return accountLine(EventCode::ShowUser, "USER", name, flags) + QStringLiteral(" [") + tag +
           QLatin1Char(']');
}

QString Protocol::join(const QString& name, int flags, const QString& tag)
{
    return accountLine(EventCode::Join, "JOIN", name, flags) + QStringLiteral(" [") + tag +
           QLatin1Char(']');
}

QString Protocol::leave(const QString& name, int flags)
{
    return accountLine(EventCode::Leave, "LEAVE", name, flags);
}

QString Protocol::whisperFrom(const QString& name, int flags, const QString& text)
{
    return accountLine(EventCode::Whisper, "WHISPER", name, flags) + QLatin1Char(' ') +
           quoted(text);
}

QString Protocol::talk(const QString& name, int flags, const QString& text)
{
    return accountLine(EventCode::Talk, "TALK", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::broadcast(const QString& text)
{
    return textLine(EventCode::Broadcast, "BROADCAST", text);
}

QString Protocol::channel(const QString& name)
{
    return textLine(EventCode::Channel, "CHANNEL", name);
}

QString Protocol::flagsChanged(const QString& name, int flags)
{
    return accountLine(EventCode::UserFlags, "USER", name, flags);
}

QString Protocol::whisperTo(const QString& name, int flags, const QString& text)
{
    return accountLine(EventCode::WhisperSent, "WHISPER", name, flags) + QLatin1Char(' ') +
           quoted(text);
}

QString Protocol::whisperToFriends(const QString& text)
{
    return head(EventCode::WhisperSent, "WHISPER") + QStringLiteral(" \"your friends\" 0010 ") +
           quoted(text);
}

QString Protocol::channelFull(const QString& text)
{
    return textLine(EventCode::ChannelFull, "CHANNELFULL", text);
}

QString Protocol::channelDoesNotExist(const QString& text)
{
    return textLine(EventCode::ChannelDoesNotExist, "CHANNELDOESNOTEXIST", text);
}

QString Protocol::channelRestricted(const QString& text)
{
    return textLine(EventCode::ChannelRestricted, "CHANNELRESTRICTED", text);
}

QString Protocol::info(const QString& text)
{
    return textLine(EventCode::Info, "INFO", text);
}

QString Protocol::error(const QString& text)
{
    return textLine(EventCode::Error, "ERROR", text);
}

QString Protocol::emote(const QString& name, int flags, const QString& text)
{
    return accountLine(EventCode::Emote, "EMOTE", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::uniqueName(const QString& name)
{
    return head(EventCode::UniqueName, "NAME") + QLatin1Char(' ') + name;
}
