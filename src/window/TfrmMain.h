#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

#include "chat/TimeStampText.h"
#include "net/LoginConfirmation.h"
#include "view/ChatView.h"
#include "window/WindowContext.h"

class Appearance;
class BottomStrip;
enum class ConnectFailure;
class ChatColumn;
class Prompts;
class QAction;
class QImage;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QSplitter;
class QTimer;
class QUrl;
class ReadMarker;
class Shell;
class StyleTable;
class TChatInterface;
class TComandos;
class TFastNicks;
class TGatewayChat;
class TIniFile;
class TLockWhisps;
class TfrmConectar;
class TopStrip;
class TrayIcon;
class UserColumn;
class UserListModel;
class WhisperNotices;

// The main window, by regions: the top strip with the toolbar, the chat column (channel and
// whisper panes), the user column, and the bottom strip with the input line and its locked
// whisper lines; around them the menus, and the handlers that tie them to the chat connection.
// Every control, menu item, action and timer carries its name as objectName.
class TfrmMain : public QMainWindow, public WindowContext
{
    Q_OBJECT
    // The client commands and the locked whisper lines act on the window directly.
    friend class TComandos;
    friend class TLockWhisps;

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
    QString channel() const { return FCanal; }
    bool showsTimes() const { return FHorario; }
    bool repliesToPhrases() const { return FRespFrase; }
    bool repliesToWhispers() const { return FRespWhisp; }
    bool opMode() const { return FOpMode; }
    // The connect-wait dialog while it is open.
    TfrmConectar* connectDialog() const;
    // The login was sent and the server has not yet shown whether it takes it.
    bool loginPending() const;

    // What the features may use of the window. Everything meant only for a logged-in user tests
    // loggedIn, never the connection's LoggedIn alone.
    void sendLine(const QString& line) override;
    bool holdsBackLine() override;
    bool loggedIn() const override;
    QString login() const override { return FLogin; }
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
    // "[21:05:09] " while time stamps are on, otherwise empty.
    QString horarioTexto() const;

    // Every handler the window runs goes through here.
    void guarded(const std::function<void()>& handler) override;

    QString randomUser() const;

    // Handlers, by the names of the controls and events they serve.
    void btnConectarClick();
    void btnDesconectarClick();
    void btnHomeChannelClick();
    void btnAwayClick();
    void btnDNDClick();
    void btnEnviarClick();
    void btnEmoteClick();
    void mnuLimpaTelaChatClick();
    void mnuLimpaTelaWhispsClick();
    void Limpartela1Click();
    void lblAutoScrollClick();
    void tmrScrollTimer();
    void joinCanal(QAction* item);
    void tmrSincTimer();

    // The synchronized messages: started (a running countdown goes on), stopped, and set again
    // from the settings after the options dialog's "OK".
    void startSyncMessages();
    void stopSyncMessages();
    void applySyncOptions();
    // Tests shorten the period: Timers/STempo then counts in units of ms instead of seconds.
    void setSyncSecondForTests(int ms);

    // Shared by the five locked whisper lines; Sender's Tag is the line's number.
    void btnWhispar1Click(QObject* Sender);
    void btnFecharWhispLock1Click(QObject* Sender);
    void lblAccWhisp1Click(QObject* Sender);
    void LockarWhisp1Click();

    // Operator mode: on for good once switched on; shows the controls kept for operators and
    // marks the caption. The "/OPMODE" command calls it once its conditions hold.
    void enterOpMode();

    // Moderation: each sends one server command about the account selected in the user list, or
    // asks the server for a list.
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

    // The suspect accounts list (Lista in confs.ini).
    void AdicionarLista1Click();
    void popAddCustomClick();
    void popMotCustomClick();
    void popDelCustomClick();
    void popCustomWhoisClick();
    void popCustomLockarWhispClick();
    void lstCustom1DblClick();

    // The options dialog, from the menu and from the toolbar; after "OK" the window takes the
    // settings again.
    void mnuOpcoesClick();
    void btnOpcoesClick();

    // Logs, the search window, the web pages and the about box.
    void mnuSalvarChatClick();
    void mnuSalvarWhispsClick();
    void SalvarLog1Click();
    void btnNotepadClick();
    void selectAllExecute();
    void CtrlFExecute();
    void btnSiteClick();
    void btnForumClick();
    void mnuSobreClick();
    // Tests shorten the wait before the file handed to the text editor is removed, and the time
    // after which closing the window may remove it.
    void setNotepadDelayForTests(int ms);
    void setNotepadReadTimeForTests(int ms);

    // Phrase shortcuts (Atalhos in confs.ini) and favourite channels (Canais). Sender is the
    // shortcut's action: its caption is the letter.
    void execAtalho(QAction* Sender);
    void mnuConfigAtalhosClick();
    void Adicionarcanal1Click();
    void CrtlDExecute();
    void Organizarcanais1Click();
    void mnuOrgCanalClick();

    // Screenshots and the game launcher.
    void btnScreenClick();
    void popGD2Click();
    void popGSCClick();
    void popGW3Click();
    void popGW3XPClick();

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
    void setupActions();
    void setupKeyboardActions();
    QList<QWidget*> focusStops() const;
    void setupMenus();
    void setupFileMenu(QMenu* menu);
    void setupOptionsMenu(QMenu* menu);
    void setupHelpMenu(QMenu* menu);
    void setupPopups();
    void setupUsersPopup();
    void setupChatPopup();
    void setupBackgroundMenu(QMenu* menu);
    void setupChannelsPopup();
    void setupCustomPopup();
    void setupGamesPopup();
    void setupRegions();
    void setupConnections();
    void setupLockConnections();
    void wireChatInterface();
    void wireGatewayChat();
    void setupModeration();
    void setupSuspectList();
    void setupOptionsDialog();
    void applyOptions();
    void setupShortcuts();
    void setupFavorites();
    // Builds the favourites of popCanais again from the file.
    void loadFavoriteChannels();
    void setupScreenshotGamesTray();
    // The screen area of the window's frame, as the screen shows it.
    QImage capturaTela();
    void salvaScreen(const QImage& image, const QString& name);
    void startGame(const QString& executable, const QString& parameters,
                   const QString& missingPathMessage);
    // Typing from a pane into the input line.
    void noteInputLine(QObject* watched);
    bool typeIntoInputLine(QObject* receiver, const QKeyEvent* event);
    // The input line or locked whisper line that had the focus last.
    QPointer<QLineEdit> m_lastInput;

    // Start-up and closing.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void applyGeometry();
    void followFrame();
    QSize frameExtra() const;
    void addFavoriteChannel(const QString& caption);

    // Connection.
    void ChatInterface1Connect();
    void ChatInterface1Login();
    void ChatInterface1ConnectClosed();
    void ChatInterface1Disconnect();
    void ChatInterface1ConnectFailed(ConnectFailure reason);
    void ChatInterface1DataReceived(const QString& DataString);
    // The enabled state of the connection controls.
    enum class Link
    {
        Down,       // not connected: only "Conectar"
        Confirming, // the login awaits the server's answer: only "Desconectar"
        Up,         // logged in
    };
    void setConnectedState(Link link);
    void acceptLogin();
    void refuseLogin();
    void showDisconnected();
    bool loginHoldsLine();
    QString homeChannel() const;

    // Server events.
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
    void updateChannelLabel();
    int rankOf(const QString& account) const;
    void answerTalk(const QString& User, const QString& Mess);
    void answerWhisper(const QString& User, const QString& Mess);

    // Input line.
    void txtMsgChange(const QString& text);
    void txtMsgEnter();
    bool txtMsgKeyDown(int key);
    void txtWhispEnter(int tag);
    bool ApplicationEvents1Message(QObject* receiver, QKeyEvent* event);
    void pressDefaultButton();
    bool listEnter(QObject* receiver, const QKeyEvent* event);
    void autoScrollMouse(const QMouseEvent* event);
    bool claimsShortcut(const QKeyEvent* event) const;

    // Synchronized messages.
    static constexpr int MinSyncPeriod = 120; // seconds
    void setSyncPeriod(int seconds);

    // Moderation.
    void sendAboutUser(const QString& command);
    void sendWithReason(const QString& command, const QString& title, const QString& prompt);
    void sendWhenLoggedIn(const QString& line, bool operatorOnly = false);

    // Suspect accounts list.
    void addSuspect(const QString& account);
    int selectedSuspect() const;
    int storedSuspect(int row) const;

    // Logs and links.
    void setupLogs();
    void setupLinks();
    void salvarLog(ChatView* pane);
    void releaseNotepadFile();
    QTimer* tmrNotepad = nullptr;
    // Since the text editor was last asked to open the file.
    QElapsedTimer m_notepadStarted;
    int m_notepadReadMs = 0;
    // The type of log chosen last, as its entry of the save dialog's filter.
    QString m_logFilter;

    // Addresses in the panes: a click opens one, the context menu copies one.
    void setupPaneLinks();
    void paneLinkClick(const QUrl& url);
    // Opens an address or file in the desktop's program; says so in the channel pane when none can.
    void openAddress(const QUrl& url);
    void cannotOpen(const QString& what);
    void popChatOpening(const QString& link);
    void popCopyAddressClick();
    QAction* popCopyAddress = nullptr;
    QAction* popCopyAddressSeparator = nullptr;
    // The address the panes' context menu was last opened over; empty: none.
    QString m_popupLink;

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
    std::unique_ptr<TComandos> FComandos;
    TLockWhisps* FLockWhisps = nullptr;
    StyleTable* RVStyle1 = nullptr;
    QTimer* tmrSinc = nullptr;
    QTimer* tmrScroll = nullptr;
    // Runs from the login's sending until the server answers it.
    QTimer* tmrLogin = nullptr;
    LoginConfirmation m_login;
    QPointer<TfrmConectar> m_connectDialog;

    // Fields shared by the chat handlers.
    QString FLogin;
    QString FSenha;
    QString FCanal;
    bool FOpMode = false;
    int FSincIndex = 1;
    int m_syncSecondMs = 1000;
    bool FRespFrase = false;
    bool FRespWhisp = false;
    bool FHorario = true;
    // The text of horarioTexto, renewed once per second.
    mutable TimeStampText m_horarioTexto;
    int FScrollCount = 0;
    // The next release of the left button over "Auto-Rolagem" ends a double click.
    bool m_autoScrollDoubleClick = false;
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
    Appearance* m_appearance = nullptr;
    ReadMarker* m_readMarker = nullptr;
    TrayIcon* m_trayIcon = nullptr;
    WhisperNotices* m_whisperNotices = nullptr;

    // Menus and actions.
    QAction* mnuSalvarChat = nullptr;
    QAction* mnuSalvarWhisps = nullptr;
    QAction* mnuSair = nullptr;
    QAction* mnuConectar = nullptr;
    QAction* mnuDesconectar = nullptr;
    QAction* mnuConfigAtalhos = nullptr;
    QAction* mnuOrgCanal = nullptr;
    QAction* mnuLimpaTelaChat = nullptr;
    QAction* mnuLimpaTelaWhisps = nullptr;
    QAction* mnuOpcoes = nullptr;
    QAction* mnuSite = nullptr;
    QAction* mnuForum = nullptr;
    QAction* mnuSobre = nullptr;
    QMenu* popUsers = nullptr;
    QMenu* popChat = nullptr;
    QMenu* popCanais = nullptr;
    QMenu* popCustom = nullptr;
    QMenu* popGames = nullptr;
    QAction* Limpartela1 = nullptr;
    QAction* AlterarBg1 = nullptr;
    QAction* Remover1 = nullptr;
    QAction* Centralizado1 = nullptr;
    QAction* Ladoalado1 = nullptr;
    QAction* Esticado1 = nullptr;
    QAction* atalhoMin = nullptr;
};
