#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class TGatewayChat;
class UserListModel;
class WindowContext;

// What the server tells about the channel: talk, emotes and whispers written to the panes, the
// accounts of the channel kept in the user list, its name and head count above the list, and the
// server's information and error lines. Owns the channel's name (FCanal); touches the user list
// model, the channel label and, through the context, the panes.
class ServerEvents final : public QObject
{
    Q_OBJECT
public:
    // Told after a line is written, for the features that answer or announce it.
    struct Hooks
    {
        std::function<void(const QString& User, const QString& Mess)> talkArrived;
        std::function<void(const QString& User, const QString& Mess)> whisperArrived;
        // Writes a talk (or emote) line that mentions the user in its own way: true. False for
        // any other line, which is then written as usual.
        std::function<bool(const QString& User, const QString& Mess, bool emote)> mention;
    };

    // Takes over the chat's event handlers; none of the arguments is owned.
    ServerEvents(WindowContext& context, TGatewayChat* chat, UserListModel* users,
                 QLabel* lblChannel, Hooks hooks, QObject* parent);

    // The channel the server last put us in.
    QString channel() const { return FCanal; }
    // The channel and its accounts are gone with the connection.
    void clear();

    void GatewayChat1Talk(const QString& User, const QString& Mess);
    void GatewayChat1Emote(const QString& User, const QString& Mess);
    void GatewayChat1Whisper(const QString& User, const QString& Mess);
    void GatewayChat1WhisperSent(const QString& User, const QString& Mess);
    void GatewayChat1ShowUser(const QString& User, const QString& Flags, const QString& UserType);
    void GatewayChat1Join(const QString& User, const QString& Flags, const QString& UserType);
    void GatewayChat1Leave(const QString& User, const QString& Flags, const QString& UserType);
    void GatewayChat1UserFlags(const QString& User, const QString& Flags);
    void GatewayChat1Channel(const QString& Mess);
    void GatewayChat1ChannelFull(const QString& Mess);
    void GatewayChat1ChanNotExist(const QString& Mess);
    void GatewayChat1Restricted(const QString& Mess);
    void GatewayChat1Error(const QString& Mess);
    void GatewayChat1Info(const QString& Mess);
    void GatewayChat1Broadcast(const QString& Mess);
    void GatewayChat1UnHandled(const QString& Mess);

private:
    void updateChannelLabel();

    WindowContext& m_ctx;
    UserListModel* m_users;
    QLabel* m_lblChannel;
    Hooks m_hooks;
    QString FCanal;
};
