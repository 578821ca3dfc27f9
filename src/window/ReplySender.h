#pragma once

#include <QObject>
#include <QString>

#include <functional>

class UserListModel;
class WindowContext;

// The automatic replies: answers talk and whispers with the stored phrases (Respostas in
// confs.ini) and the version query. Owns the two reply switches; sends through the window's gate
// and shows its replies in the panes, and draws the random account from the user list.
class ReplySender final : public QObject
{
    Q_OBJECT
public:
    struct Hooks
    {
        // Operator mode is on: the answer to the version query says so.
        std::function<bool()> opMode;
    };

    ReplySender(WindowContext& ctx, UserListModel* users, Hooks hooks, QObject* parent);

    // The reply switches from the settings: at start-up and after the options dialog's "OK".
    void applyOptions();
    bool repliesToPhrases() const { return FRespFrase; }
    bool repliesToWhispers() const { return FRespWhisp; }

    // After the talk or the whisper is shown.
    void answerTalk(const QString& User, const QString& Mess);
    void answerWhisper(const QString& User, const QString& Mess);

private:
    WindowContext& m_ctx;
    UserListModel* m_users;
    Hooks m_hooks;
    bool FRespFrase = false;
    bool FRespWhisp = false;
};
