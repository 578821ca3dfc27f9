#pragma once

#include <QObject>
#include <QString>

#include <functional>

class TChatInterface;

using tTalkEvent = std::function<void(const QString& User, const QString& Mess)>;
using tUserTypeEvent =
    std::function<void(const QString& User, const QString& Flags, const QString& UserType)>;
using tUserFlagEvent = std::function<void(const QString& User, const QString& Flags)>;
using tBaseEvent = std::function<void(const QString& Mess)>;
using tUserEvent = std::function<void(const QString& User)>;

// The operations every chat protocol interpreter offers, and its event slots. Events fire only
// when assigned.
class tBaseInterpreter : public QObject
{
    Q_OBJECT
public:
    explicit tBaseInterpreter(QObject* parent = nullptr);
    ~tBaseInterpreter() override;

    TChatInterface* ChatInterface = nullptr; // not owned

    tTalkEvent OnTalk;
    tTalkEvent OnWhisper;
    tTalkEvent OnWhisperSent;
    tUserTypeEvent OnShowUser;
    tBaseEvent OnInfo;
    tUserTypeEvent OnJoin;
    tUserTypeEvent OnLeave;
    tBaseEvent OnBroadcast;
    tBaseEvent OnChannel;
    tUserFlagEvent OnUserFlags;
    tBaseEvent OnChannelFull;
    tBaseEvent OnChanNotExist;
    tBaseEvent OnRestricted;
    tBaseEvent OnError;
    tTalkEvent OnEmote;
    tUserEvent OnUniqueName;
    tBaseEvent OnUnHandled;

    virtual QString ExtractUser(const QString& line) const = 0;
    virtual QString ExtractMess(const QString& line) const = 0;
    virtual QString ExtractFlags(const QString& line) const = 0;
    virtual QString ExtractUserType(const QString& line) const = 0;
    // Parses one received line (without CR/LF) and fires at most one event.
    virtual void ProcessLine(const QString& line) = 0;
    // Sends a complete line (the caller adds the CR) now or after the flood interval.
    virtual void SendLine(const QString& line) = 0;
};
