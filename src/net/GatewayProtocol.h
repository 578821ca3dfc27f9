#pragma once

#include <QLatin1String>

// The chat gateway protocol, shared by the client's interpreter and the trial server.
//
// Login, client to server, in one send: 0x03 0x04 name CR password CR CR. No answer is awaited.
//
// Every later line either way ends in CR (the client) or CR LF (the server); a receiver cuts at
// CR or at LF and takes a CR LF pair as one end. The client sends plain text (talk) and slash
// commands. Every line the server sends starts with a four-digit event code and a space:
//   1001 USER name 0010 [CHAT]        an account present in the channel just entered
//   1002 JOIN name 0010 [D2XP]        an account entering the channel
//   1003 LEAVE name 0010              an account leaving the channel
//   1004 WHISPER name 0010 "text"     a whisper from name
//   1005 TALK name 0010 "text"        channel talk
//   1006 BROADCAST "text"             a notice to the whole server
//   1007 CHANNEL "name"               the channel entered; its user list follows
//   1009 USER name 0002               new flags of an account
//   1010 WHISPER name 0010 "text"     our own whisper to name, repeated back
//   1013 CHANNELFULL "text"           1014 CHANNELDOESNOTEXIST "text"
//   1015 CHANNELRESTRICTED "text"     1018 INFO "text"     1019 ERROR "text"
//   1023 EMOTE name 0010 "text"       an emote, repeated to the speaker too
//   2000 ...                          the null event: consumed, it means nothing to the client
//   2010 NAME name                    the account name the server settled on
// The fields are found by position: the account is the third blank-separated field; the text is
// everything after the first double quote but the line's last character (inner quotes stay);
// the flags are four lower-case hex digits just before the bracketed client tag, or the last
// four characters of a line without one. A short line gives short or empty fields, never an
// error. Any other code means nothing to the client.
namespace GatewayProtocol {

inline constexpr QLatin1String LoginPrefix("\x03\x04");

enum class EventCode : int
{
    ShowUser = 1001,
    Join = 1002,
    Leave = 1003,
    Whisper = 1004,
    Talk = 1005,
    Broadcast = 1006,
    Channel = 1007,
    UserFlags = 1009,
    WhisperSent = 1010,
    ChannelFull = 1013,
    ChannelDoesNotExist = 1014,
    ChannelRestricted = 1015,
    Info = 1018,
    Error = 1019,
    Emote = 1023,
    Null = 2000,
    UniqueName = 2010,
};

} // namespace GatewayProtocol
