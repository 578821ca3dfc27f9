#pragma once

#include <QString>

// The lines the server sends, without their CR LF, in the grammar of net/GatewayProtocol.h.
class Protocol
{
public:
    static QString flagsText(int flags);
    static QString user(const QString& name, int flags, const QString& tag);
    static QString join(const QString& name, int flags, const QString& tag);
    static QString leave(const QString& name, int flags);
    static QString whisperFrom(const QString& name, int flags, const QString& text);
    static QString talk(const QString& name, int flags, const QString& text);
    static QString broadcast(const QString& text);
    static QString channel(const QString& name);
    static QString flagsChanged(const QString& name, int flags);
    static QString whisperTo(const QString& name, int flags, const QString& text);
    // The echo of a whisper to the friends list; the client recognises exactly this form.
    static QString whisperToFriends(const QString& text);
    static QString channelFull(const QString& text);
    static QString channelDoesNotExist(const QString& text);
    static QString channelRestricted(const QString& text);
    static QString info(const QString& text);
    static QString error(const QString& text);
    static QString emote(const QString& name, int flags, const QString& text);
    static QString uniqueName(const QString& name);
};
