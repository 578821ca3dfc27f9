#include "Protocol.h"

namespace {

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString accountLine(const char* head, const QString& name, int flags)
{
    return QLatin1String(head) + QLatin1Char(' ') + name + QLatin1Char(' ') +
           Protocol::flagsText(flags);
}

} // namespace

QString Protocol::flagsText(int flags)
{
    return QStringLiteral("%1").arg(flags & 0xffff, 4, 16, QLatin1Char('0'));
}

QString Protocol::user(const QString& name, int flags, const QString& tag)
{
    return accountLine("1001 USER", name, flags) + QStringLiteral(" [") + tag + QLatin1Char(']');
}

QString Protocol::join(const QString& name, int flags, const QString& tag)
{
    return accountLine("1002 JOIN", name, flags) + QStringLiteral(" [") + tag + QLatin1Char(']');
}

QString Protocol::leave(const QString& name, int flags)
{
    return accountLine("1003 LEAVE", name, flags);
}

QString Protocol::whisperFrom(const QString& name, int flags, const QString& text)
{
    return accountLine("1004 WHISPER", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::talk(const QString& name, int flags, const QString& text)
{
    return accountLine("1005 TALK", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::broadcast(const QString& text)
{
    return QStringLiteral("1006 BROADCAST ") + quoted(text);
}

QString Protocol::channel(const QString& name)
{
    return QStringLiteral("1007 CHANNEL ") + quoted(name);
}

QString Protocol::flagsChanged(const QString& name, int flags)
{
    return accountLine("1009 USER", name, flags);
}

QString Protocol::whisperTo(const QString& name, int flags, const QString& text)
{
    return accountLine("1010 WHISPER", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::whisperToFriends(const QString& text)
{
    return QStringLiteral("1010 WHISPER \"your friends\" 0010 ") + quoted(text);
}

QString Protocol::channelFull(const QString& text)
{
    return QStringLiteral("1013 CHANNELFULL ") + quoted(text);
}

QString Protocol::channelDoesNotExist(const QString& text)
{
    return QStringLiteral("1014 CHANNELDOESNOTEXIST ") + quoted(text);
}

QString Protocol::channelRestricted(const QString& text)
{
    return QStringLiteral("1015 CHANNELRESTRICTED ") + quoted(text);
}

QString Protocol::info(const QString& text)
{
    return QStringLiteral("1018 INFO ") + quoted(text);
}

QString Protocol::error(const QString& text)
{
    return QStringLiteral("1019 ERROR ") + quoted(text);
}

QString Protocol::emote(const QString& name, int flags, const QString& text)
{
    return accountLine("1023 EMOTE", name, flags) + QLatin1Char(' ') + quoted(text);
}

QString Protocol::uniqueName(const QString& name)
{
    return QStringLiteral("2010 NAME ") + name;
}
