#pragma once

#include <QString>

// The lines the server sends, without their CR LF. Each begins with a four-digit event code; the
// client finds the account as the third blank-separated field, the text after the first double
// quote (up to the last character), the flags as four lower-case hex digits just before the
// client tag in brackets or at the very end of the line:
//   1001 USER name 0010 [CHAT]        an account present in the channel just entered
//   1002 JOIN name 0010 [D2XP]        an account entering the channel
//   1003 LEAVE name 0010              an account leaving the channel
//   1004 WHISPER name 0010 "text"     a whisper from name
//   1005 TALK name 0010 "text"        channel talk
//   1006 BROADCAST "text"             a notice to the whole server
//   1007 CHANNEL "name"               the channel entered; a user list follows
//   1009 USER name 0002               new flags of an account
//   1010 WHISPER name 0010 "text"     our own whisper to name, repeated back
//   1013 CHANNELFULL "text"   1014 CHANNELDOESNOTEXIST "text"   1015 CHANNELRESTRICTED "text"
//   1018 INFO "text"   1019 ERROR "text"
//   1023 EMOTE name 0010 "text"       an emote, sent to the speaker too
//   2010 NAME name                    the account name the server settled on
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
