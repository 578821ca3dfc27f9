#pragma once

#include <QObject>
#include <QString>

class ChatColumn;
class QAction;
class QLineEdit;
class QMenu;
class QWidget;
class UserColumn;
class WindowContext;
class WindowTitle;

// Operator mode and the moderation commands: the items of the user list's menu and of the chat
// pane's menu that send one server command, the statistics buttons of the channel bar and the
// double click in the user list. Owns the operator mode flag; touches those items and buttons,
// the window's title (through WindowTitle), the suspect list's visibility and the input line.
class Moderation final : public QObject
{
    Q_OBJECT
public:
    // window parents the feature and title shows operator mode; popUsers and popChat hold the
    // items it serves by name. None is owned.
    Moderation(WindowContext& ctx, QWidget* window, WindowTitle* title, QMenu* popUsers,
               QMenu* popChat, ChatColumn* chatColumn, UserColumn* userColumn, QLineEdit* txtMsg);

    bool opMode() const { return FOpMode; }
    // Operator mode: on for good once switched on; shows the controls kept for operators and
    // marks the caption. The "/OPMODE" command calls it once its conditions hold.
    void enterOpMode();

    // Each sends one server command about the account selected in the user list, or asks the
    // server for a list.
    void Kickar1Click();
    void KickMotivo1Click();
    void Banir1Click();
    void BanMotivo1Click();
    void Kill1Click();
    void Whois1Click();
    void voiceClick();
    void devoiceClick();
    void Squelch1Click();
    void Unsquelch1Click();
    void D2XP1Click(QAction* item);
    void Usurios1Click();
    void Canais1Click();
    void Hora1Click();
    void Moderar1Click();
    void Rejoin1Click();
    void Banidos1Click();
    void btnTopGamesClick();
    void btnTopGamesNormClick();
    void btnTopGamesNMClick();
    void btnTopGamesHellClick();
    void btnTopConClick();
    void btnTopConAllClick();
    void lstUsersDblClick();

private:
    void setupModeration();
    QAction* item(const char* name) const;
    void sendAboutUser(const QString& command);
    void sendWithReason(const QString& command, const QString& title, const QString& prompt);
    void sendWhenLoggedIn(const QString& line, bool operatorOnly = false);

    WindowContext& m_ctx;
    WindowTitle* m_title;
    QMenu* popUsers;
    QMenu* popChat;
    ChatColumn* m_chatColumn;
    UserColumn* m_userColumn;
    QLineEdit* txtMsg;
    bool FOpMode = false;
};
