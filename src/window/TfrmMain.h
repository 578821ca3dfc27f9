#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

#include "window/WindowContext.h"

class Appearance;
class AutoLogs;
class AutoReconnect;
class BottomStrip;
class ChatColumn;
class ConnectionControl;
class Favorites;
class Games;
class HelpLinks;
class InputLine;
class Logs;
class MainMenus;
class Mentions;
class Moderation;
class PaneLinks;
class Panes;
class PhraseShortcuts;
class Prompts;
class QSplitter;
class ReadMarker;
class RegionKeys;
class ReplySender;
class Screenshots;
class ServerEvents;
class SpellCheck;
class Shell;
class StyleTable;
class CustomList;
class SyncMessages;
class TChatInterface;
class TComandos;
class TFastNicks;
class TGatewayChat;
class TIniFile;
class TLockWhisps;
class TopStrip;
class TrayIcon;
class UserColumn;
class UserListModel;
class WhisperNotices;
class WindowTitle;

// The main window puts the program together: the chat connection and the settings, the menus,
// the regions (the top strip with the toolbar, the chat column with the channel and whisper panes,
// the user column, the bottom strip with the input line and its locked whisper lines) and the
// features, each of which owns its behaviour; the window wires them and keeps only its own place
// on screen. Every control, menu item, action and timer carries its name as objectName.
class TfrmMain : public QMainWindow, public WindowContext
{
    Q_OBJECT
public:
    // settingsFolder holds confs.ini and bg.bmp (empty: defaultSettingsFolder()); prompts answers
    // every modal question (nullptr: real Qt dialogs). Neither argument is owned.
    explicit TfrmMain(const QString& settingsFolder = QString(), Prompts* prompts = nullptr,
                      QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The executable's folder, unless it has no confs.ini and cannot take one: then the user's
    // configuration folder.
    static QString defaultSettingsFolder();

    // Where the window opens addresses and starts programs (by default the real desktop); not
    // owned.
    void setShell(Shell* shell);

    TChatInterface* chatInterface() const { return ChatInterface1; }
    TGatewayChat* gatewayChat() const { return GatewayChat1; }
    UserListModel* users() const { return m_users; }
    TFastNicks* fastNicks() const { return FFastNicks.get(); }
    TLockWhisps* lockWhisps() const { return FLockWhisps; }
    StyleTable* styles() const { return RVStyle1; }
    // A feature of the window, by its class.
    template <class Feature>
    Feature* feature() const
    {
        return findChild<Feature*>();
    }

    // What the features may use of the window. Everything meant only for a logged-in user tests
    // loggedIn, never the connection's LoggedIn alone.
    void sendLine(const QString& line) override;
    bool holdsBackLine() override;
    bool loggedIn() const override;
    QString login() const override;
    QString channel() const override;
    QString selectedUser() const override;
    void mensagem(const QString& account, const QString& text) override;
    void emote(const QString& account, const QString& text) override;
    void info(const QString& text) override;
    void erro(const QString& text) override;
    void whisp(int direction, const QString& account, const QString& text) override;
    ChatView* chatPane() const override;
    ChatView* whisperPane() const override;
    void scrollPane(ChatView* pane) override;
    void focusInputLine() override;
    TIniFile* settings() const override { return FIni.get(); }
    Prompts& prompts() const override { return *m_prompts; }
    Shell* shell() const override { return m_shell; }
    QString settingsFolder() const override { return m_folder; }
    QWidget* dialogParent() override { return this; }

    // Every handler the window runs goes through here.
    void guarded(const std::function<void()>& handler) override;

    QString randomUser() const;

    // The options dialog, from the menu and from the toolbar; after "OK" the window takes the
    // settings again.
    void mnuOpcoesClick();
    void btnOpcoesClick();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction, in order.
    void setupComponents();
    void setupRegions();
    void setupFeatures();
    void setupConnections();
    void setupOptionsDialog();
    void applyOptions();

    // Start-up and closing.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void applyGeometry();
    void followFrame();
    QSize frameExtra() const;

    QString m_folder;
    Prompts* m_prompts = nullptr;
    std::unique_ptr<Prompts> m_ownPrompts;
    Shell* m_shell = nullptr;
    std::unique_ptr<Shell> m_ownShell;

    // Components.
    TChatInterface* ChatInterface1 = nullptr;
    TGatewayChat* GatewayChat1 = nullptr;
    std::unique_ptr<TIniFile> FIni;
    UserListModel* m_users = nullptr;
    std::unique_ptr<TFastNicks> FFastNicks;
    std::unique_ptr<MainMenus> m_menus;
    StyleTable* RVStyle1 = nullptr;

    // FormShow has run.
    bool m_shown = false;

    // The stored outer size waits for the window frame to be known.
    QSize m_outerPending;
    QSize m_frameApplied;

    // Regions, top to bottom; Splitter1 runs between the two columns.
    TopStrip* m_topStrip = nullptr;
    QSplitter* Splitter1 = nullptr;
    ChatColumn* m_chatColumn = nullptr;
    UserColumn* m_userColumn = nullptr;
    BottomStrip* m_bottomStrip = nullptr;

    // Features.
    std::unique_ptr<TComandos> FComandos;
    TLockWhisps* FLockWhisps = nullptr;
    Panes* m_panes = nullptr;
    ServerEvents* m_events = nullptr;
    ConnectionControl* m_connection = nullptr;
    AutoReconnect* m_reconnect = nullptr;
    InputLine* m_input = nullptr;
    RegionKeys* m_regionKeys = nullptr;
    SpellCheck* m_spellCheck = nullptr;
    Moderation* m_moderation = nullptr;
    CustomList* m_customList = nullptr;
    SyncMessages* m_sync = nullptr;
    ReplySender* m_replies = nullptr;
    PhraseShortcuts* m_phraseShortcuts = nullptr;
    Favorites* m_favorites = nullptr;
    PaneLinks* m_paneLinks = nullptr;
    HelpLinks* m_helpLinks = nullptr;
    Logs* m_logs = nullptr;
    Screenshots* m_screenshots = nullptr;
    Games* m_games = nullptr;
    Appearance* m_appearance = nullptr;
    ReadMarker* m_readMarker = nullptr;
    TrayIcon* m_trayIcon = nullptr;
    WhisperNotices* m_whisperNotices = nullptr;
    WindowTitle* m_title = nullptr;
    Mentions* m_mentions = nullptr;
    AutoLogs* m_autoLogs = nullptr;
};
