#include "window/TfrmMain.h"

#include <utility>

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "dialogs/Prompts.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "resources/Pictures.h"
#include "settings/TIniFile.h"
#include "tools/Shell.h"
#include "view/StyleTable.h"
#include "window/Appearance.h"
#include "window/AutoLogs.h"
#include "window/AutoReconnect.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/ConnectionControl.h"
#include "window/CustomList.h"
#include "window/Favorites.h"
#include "window/Games.h"
#include "window/HelpLinks.h"
#include "window/InputLine.h"
#include "window/LockedWhisperPanel.h"
#include "window/Logs.h"
#include "window/MainMenus.h"
#include "window/Mentions.h"
#include "window/Moderation.h"
#include "window/PaneLinks.h"
#include "window/Panes.h"
#include "window/PhraseShortcuts.h"
#include "window/ReadMarker.h"
#include "window/RegionKeys.h"
#include "window/ReplySender.h"
#include "window/Screenshots.h"
#include "window/ServerEvents.h"
#include "window/SpellCheck.h"
#include "window/SyncMessages.h"
#include "window/TComandos.h"
#include "window/TLockWhisps.h"
#include "window/TopStrip.h"
#include "window/TrayIcon.h"
#include "window/UserColumn.h"
#include "window/WhisperNotices.h"
#include "window/WidgetKit.h"
#include "window/WindowTitle.h"

using WidgetKit::named;

namespace {

template <class Feature>
void drop(Feature*& feature)
{
    delete feature;
    feature = nullptr;
}

} // namespace

TfrmMain::TfrmMain(const QString& settingsFolder, Prompts* prompts, QWidget* parent)
    : QMainWindow(parent),
      m_folder(settingsFolder.isEmpty() ? defaultSettingsFolder() : settingsFolder),
      m_prompts(prompts)
{
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
    if (!m_prompts) {
        m_ownPrompts = std::make_unique<QtPrompts>();
        m_prompts = m_ownPrompts.get();
    }
    m_ownShell = std::make_unique<QtShell>();
    m_shell = m_ownShell.get();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(Pictures::programIcon());
    setFont(WidgetKit::pixelFont(QStringLiteral("Tahoma"), 11));
    resize(700, 600);
    setMinimumSize(700, 600);

    setupComponents();
    m_menus = std::make_unique<MainMenus>(this);
    setupRegions();
    FormCreate();
    setupFeatures();
    setupConnections();
}

TfrmMain::~TfrmMain()
{
    // The connection may still report while the window goes; nothing may reach a dead window.
    ChatInterface1->OnConnect = nullptr;
    ChatInterface1->OnDisconnect = nullptr;
    ChatInterface1->OnDataReceived = nullptr;
    ChatInterface1->OnLogin = nullptr;
    ChatInterface1->OnConnectClosed = nullptr;
    ChatInterface1->OnConnectFailed = nullptr;
    GatewayChat1->OnHoldLine = nullptr;
    // The features go before the regions they look at, the application-wide key filter first,
    // then the latest built first: an event filter or a handler of theirs must never see a
    // control half destroyed.
    m_chatColumn->pnlTopChat->removeEventFilter(this);
    // The lines the panes hold still go to the files.
    drop(m_autoLogs);
    drop(m_input);
    drop(m_spellCheck);
    FComandos.reset();
    drop(m_customList);
    drop(m_regionKeys);
    drop(m_reconnect);
    drop(m_connection);
    drop(m_events);
    drop(m_mentions);
    drop(m_panes);
    drop(m_favorites);
    drop(m_phraseShortcuts);
    drop(m_moderation);
    drop(m_whisperNotices);
    drop(m_trayIcon);
    drop(m_readMarker);
    drop(m_games);
    drop(m_screenshots);
    drop(m_helpLinks);
    drop(m_logs);
    drop(m_paneLinks);
    drop(FLockWhisps);
    drop(m_appearance);
    drop(m_replies);
    drop(m_sync);
    drop(m_title);
}

void TfrmMain::sendLine(const QString& line)
{
    GatewayChat1->SendLine(line);
}

bool TfrmMain::holdsBackLine()
{
    return m_connection->holdsBackLine();
}

bool TfrmMain::loggedIn() const
{
    return m_connection->loggedIn();
}

QString TfrmMain::login() const
{
    return m_connection->login();
}

QString TfrmMain::channel() const
{
    return m_events->channel();
}

void TfrmMain::mensagem(const QString& account, const QString& text)
{
    m_panes->mensagem(account, text);
}

void TfrmMain::emote(const QString& account, const QString& text)
{
    m_panes->emote(account, text);
}

void TfrmMain::info(const QString& text)
{
    m_panes->info(text);
}

void TfrmMain::erro(const QString& text)
{
    m_panes->erro(text);
}

void TfrmMain::whisp(int direction, const QString& account, const QString& text)
{
    m_panes->whisp(direction, account, text);
}

void TfrmMain::scrollPane(ChatView* pane)
{
    m_panes->scrollPane(pane);
}

// The account selected in the user list; empty when none is.
QString TfrmMain::selectedUser() const
{
    const QModelIndexList rows =
        m_userColumn->lstUsers->selectionModel()->selectedRows(UserListModel::AccountColumn);
    if (rows.isEmpty())
        return QString();
    return m_users->at(rows.first().row()).account;
}

ChatView* TfrmMain::chatPane() const
{
    return m_chatColumn->txtChat;
}

ChatView* TfrmMain::whisperPane() const
{
    return m_chatColumn->txtWhisps;
}

void TfrmMain::setupComponents()
{
    ChatInterface1 = named(new TChatInterface(this), QStringLiteral("ChatInterface1"));
    ChatInterface1->Port = 6112;
    ChatInterface1->NoLineFeed = true;
    ChatInterface1->NoReturn = true;
    GatewayChat1 = named(new TGatewayChat(this), QStringLiteral("GatewayChat1"));
    GatewayChat1->ChatInterface = ChatInterface1;
    GatewayChat1->setFloodInterval(1500);
    GatewayChat1->UserName = QStringLiteral("Guest");
    RVStyle1 = named(new StyleTable(this), QStringLiteral("RVStyle1"));
    m_users = named(new UserListModel(this), QStringLiteral("lstUsersModel"));
}

void TfrmMain::setupRegions()
{
    auto* central = named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(central);
    m_topStrip = new TopStrip(m_menus->popCanais, m_menus->popGames, this);
    m_chatColumn = new ChatColumn(RVStyle1, m_menus->popChat, this);
    m_userColumn = new UserColumn(m_users, RVStyle1, this);
    Splitter1 = named(new QSplitter(Qt::Horizontal, central), QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(m_chatColumn);
    Splitter1->addWidget(m_userColumn);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({488, 201});
    m_bottomStrip = new BottomStrip(this);

    auto* layout = WidgetKit::columnLayout(central);
    layout->addWidget(m_topStrip);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(m_bottomStrip);
}

void TfrmMain::setupConnections()
{
    connect(m_menus->mnuSair, &QAction::triggered, this, &QWidget::close);

    QTreeView* users = m_userColumn->lstUsers;
    connect(users, &QWidget::customContextMenuRequested, this, [this, users](const QPoint& at) {
        m_menus->popUsers->popup(users->viewport()->mapToGlobal(at));
    });
    QTreeWidget* custom = m_userColumn->lstCustom;
    connect(custom, &QWidget::customContextMenuRequested, this, [this, custom](const QPoint& at) {
        m_menus->popCustom->popup(custom->viewport()->mapToGlobal(at));
    });
    setupOptionsDialog();
    m_chatColumn->pnlTopChat->installEventFilter(this);
}

// The features, each given what it serves; what one tells another goes through the hooks
// wired here.
void TfrmMain::setupFeatures()
{
    m_title = new WindowTitle(this);
    m_sync = new SyncMessages(*this, this);
    m_replies = new ReplySender(*this, m_users, {[this] { return m_moderation->opMode(); }}, this);
    Appearance::Hooks appearanceHooks;
    appearanceHooks.opMode = [this] { return m_moderation->opMode(); };
    m_appearance = new Appearance(*this, m_chatColumn, m_userColumn, RVStyle1,
                                  {m_menus->AlterarBg1, m_menus->Remover1, m_menus->Centralizado1,
                                   m_menus->Ladoalado1, m_menus->Esticado1},
                                  std::move(appearanceHooks), this);
    FLockWhisps = new TLockWhisps(*this, m_bottomStrip, m_chatColumn->chkAutoScroll,
                                  findChild<QAction*>(QStringLiteral("LockarWhisp1")), this);
    // The logs and the web links open addresses through the pane links.
    m_paneLinks = new PaneLinks(
        *this, m_menus->popChat->findChild<QAction*>(QStringLiteral("popCopyAddress")),
        m_menus->popChat->findChild<QAction*>(QStringLiteral("popCopyAddressSeparator")), this);
    m_logs = new Logs(*this, *m_paneLinks,
                      {[this] { return channel(); }, [this] { m_appearance->ajustaFundoChat(); }},
                      this, m_menus->mnuSalvarChat, m_menus->mnuSalvarWhisps,
                      findChild<QAction*>(QStringLiteral("SalvarLog1")), m_topStrip->btnNotepad,
                      findChild<QAction*>(QStringLiteral("selectAll")),
                      findChild<QAction*>(QStringLiteral("CtrlF")), this);
    m_helpLinks = new HelpLinks(*this, *m_paneLinks, m_topStrip->btnSite, m_topStrip->btnForum,
                                m_menus->mnuSite, m_menus->mnuForum, m_menus->mnuSobre, this);
    m_screenshots = new Screenshots(*this, this, m_topStrip->btnScreen, this);
    m_games = new Games(*this, m_menus->popGames, this);
    m_readMarker = new ReadMarker(*this, this, this);
    m_trayIcon = new TrayIcon(*this, this, m_menus->atalhoMin, m_readMarker, this);
    m_whisperNotices =
        new WhisperNotices(*this, this, m_trayIcon, {[this] { m_title->countUnseen(); }}, this);
    m_moderation = new Moderation(*this, this, m_title, m_menus->popUsers, m_menus->popChat,
                                  m_chatColumn, m_userColumn, m_bottomStrip->txtMsg);
    QList<QAction*> atalhos;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        atalhos << findChild<QAction*>(QStringLiteral("atalho") + QLatin1Char(letter));
    m_phraseShortcuts =
        new PhraseShortcuts(*this, atalhos, m_menus->mnuConfigAtalhos, m_bottomStrip->txtMsg, this);
    m_favorites = new Favorites(*this, m_menus->popCanais, m_menus->mnuOrgCanal,
                                findChild<QAction*>(QStringLiteral("CrtlD")),
                                {[this] { return channel(); }}, this);
    FComandos = std::make_unique<TComandos>(
        *this, FLockWhisps, m_sync, m_users, m_chatColumn->chkAutoScroll,
        TComandos::Hooks{[this] { m_panes->lblAutoScrollClick(); },
                         [this] { return m_moderation->opMode(); },
                         [this] { m_moderation->enterOpMode(); }});
    m_panes =
        new Panes(*this, m_chatColumn, m_users, FFastNicks.get(), this, m_menus->mnuLimpaTelaChat,
                  m_menus->mnuLimpaTelaWhisps, m_menus->Limpartela1);
    m_mentions = new Mentions(*this, GatewayChat1, m_panes, m_whisperNotices, this);
    ServerEvents::Hooks events;
    events.talkArrived = [this](const QString& User, const QString& Mess) {
        m_replies->answerTalk(User, Mess);
    };
    events.whisperArrived = [this](const QString& User, const QString& Mess) {
        m_replies->answerWhisper(User, Mess);
        m_whisperNotices->noticeWhisper(User, Mess);
    };
    events.mention = [this](const QString& User, const QString& Mess, bool emote) {
        return m_mentions->showMention(User, Mess, emote);
    };
    m_events = new ServerEvents(*this, GatewayChat1, m_users, m_userColumn->lblChannel,
                                std::move(events), this);
    ConnectionControl::Hooks session;
    session.accepted = [this] {
        m_sync->loginAccepted();
        m_reconnect->sessionAccepted();
    };
    session.channelGone = [this] { m_events->clear(); };
    session.stopped = [this] {
        m_sync->stopSyncMessages();
        m_mentions->sessionEnded();
    };
    session.ended = [this](ReconnectPolicy::End how) { m_reconnect->sessionEnded(how); };
    session.userTookOver = [this](bool disconnect) { m_reconnect->userTookOver(disconnect); };
    m_connection =
        new ConnectionControl(*this, ChatInterface1, GatewayChat1, m_topStrip, m_menus->mnuConectar,
                              m_menus->mnuDesconectar, std::move(session), this);
    m_reconnect =
        new AutoReconnect(*this,
                          {[this] { m_connection->reconnectNow(); },
                           [this](bool waiting) { m_connection->setReconnectWaiting(waiting); }},
                          this);
    InputLine::Hooks input;
    input.clientCommand = [this](const QString& line) { return FComandos->analisar(line); };
    input.lockEntered = [this](int N) { FLockWhisps->selecionaCampo(N); };
    m_input = new InputLine(*this, this, m_topStrip, m_chatColumn, m_userColumn, m_bottomStrip,
                            FFastNicks.get(), std::move(input));
    m_regionKeys = new RegionKeys(*this, this, m_input, m_bottomStrip, m_chatColumn, m_userColumn);
    QList<QLineEdit*> spellLines{m_bottomStrip->txtMsg};
    for (LockedWhisperPanel* lock : m_bottomStrip->lockPanels())
        spellLines << lock->txtWhisp;
    m_spellCheck = new SpellCheck(*this, m_users, spellLines, this);
    // After the locked whisper lines, which it opens lines on.
    m_customList = new CustomList(*this, m_menus->popUsers, m_menus->popCustom, m_userColumn,
                                  m_moderation, FLockWhisps, this);
    m_autoLogs = new AutoLogs(*this, this);
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The font and title set while the window is built change it before the features exist.
    if (event->type() == QEvent::ActivationChange && m_readMarker)
        m_readMarker->readMarkerActivationChanged();
    if (m_trayIcon)
        m_trayIcon->changeEvent(event);
}

void TfrmMain::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        m_prompts->errorBox(this, QString::fromUtf8(e.what()));
    }
}

void TfrmMain::setShell(Shell* shell)
{
    m_shell = shell ? shell : m_ownShell.get();
}

QString TfrmMain::randomUser() const
{
    return m_users->randomUser();
}

void TfrmMain::focusInputLine()
{
    m_bottomStrip->txtMsg->setFocus();
}
