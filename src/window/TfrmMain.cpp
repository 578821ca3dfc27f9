#include "window/TfrmMain.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
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
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/LockedWhisperPanel.h"
#include "window/ReadMarker.h"
#include "window/TComandos.h"
#include "window/TfrmConectar.h"
#include "window/TopStrip.h"
#include "window/TrayIcon.h"
#include "window/UserColumn.h"
#include "window/WhisperNotices.h"
#include "window/WidgetKit.h"

using WidgetKit::named;

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
    setWindowTitle(QStringLiteral("Tulmo Chat v1.5 Light"));
    setWindowIcon(Pictures::programIcon());
    setFont(WidgetKit::pixelFont(QStringLiteral("Tahoma"), 11));
    resize(700, 600);
    setMinimumSize(700, 600);

    setupComponents();
    setupActions();
    setupMenus();
    setupPopups();
    setupRegions();
    setupConnections();
    setupModeration();
    setupSuspectList();
    setupOptionsDialog();
    setupShortcuts();
    setupFavorites();
    wireChatInterface();
    wireGatewayChat();
    setConnectedState(Link::Down);
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
    // The connection may still report while the window goes; nothing may reach a dead window.
    ChatInterface1->OnConnect = nullptr;
    ChatInterface1->OnDisconnect = nullptr;
    ChatInterface1->OnDataReceived = nullptr;
    ChatInterface1->OnLogin = nullptr;
    ChatInterface1->OnConnectClosed = nullptr;
    ChatInterface1->OnConnectFailed = nullptr;
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
    tmrSinc = named(new QTimer(this), QStringLiteral("tmrSinc"));
    tmrScroll = named(new QTimer(this), QStringLiteral("tmrScroll"));
    tmrScroll->setInterval(100);
    tmrLogin = named(new QTimer(this), QStringLiteral("tmrLogin"));
    tmrLogin->setSingleShot(true);
}

void TfrmMain::setupRegions()
{
    auto* central = named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(central);
    m_topStrip = new TopStrip(popCanais, popGames, this);
    m_chatColumn = new ChatColumn(RVStyle1, popChat, this);
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
    TopStrip* top = m_topStrip;
    connect(top->btnConectar, &QToolButton::clicked, this, guard([this] { btnConectarClick(); }));
    connect(mnuConectar, &QAction::triggered, this, guard([this] { btnConectarClick(); }));
    connect(top->btnDesconectar, &QToolButton::clicked, this,
            guard([this] { btnDesconectarClick(); }));
    connect(mnuDesconectar, &QAction::triggered, this, guard([this] { btnDesconectarClick(); }));
    connect(top->btnHomeChannel, &QToolButton::clicked, this,
            guard([this] { btnHomeChannelClick(); }));
    connect(top->btnAway, &QToolButton::clicked, this, guard([this] { btnAwayClick(); }));
    connect(top->btnDND, &QToolButton::clicked, this, guard([this] { btnDNDClick(); }));

    BottomStrip* bottom = m_bottomStrip;
    connect(bottom->btnEnviar, &QPushButton::clicked, this, guard([this] { btnEnviarClick(); }));
    connect(bottom->btnEmote, &QPushButton::clicked, this, guard([this] { btnEmoteClick(); }));
    connect(bottom->txtMsg, &QLineEdit::returnPressed, this,
            guard([this] { pressDefaultButton(); }));
    connect(bottom->txtMsg, &QLineEdit::textChanged, this,
            [this](const QString& text) { guarded([this, &text] { txtMsgChange(text); }); });
    for (LockedWhisperPanel* lock : bottom->lockPanels())
        connect(lock->txtWhisp, &QLineEdit::returnPressed, this,
                guard([this] { pressDefaultButton(); }));

    connect(mnuLimpaTelaChat, &QAction::triggered, this,
            guard([this] { mnuLimpaTelaChatClick(); }));
    connect(mnuLimpaTelaWhisps, &QAction::triggered, this,
            guard([this] { mnuLimpaTelaWhispsClick(); }));
    connect(Limpartela1, &QAction::triggered, this, guard([this] { Limpartela1Click(); }));
    connect(tmrScroll, &QTimer::timeout, this, guard([this] { tmrScrollTimer(); }));
    connect(tmrSinc, &QTimer::timeout, this, guard([this] { tmrSincTimer(); }));
    connect(tmrLogin, &QTimer::timeout, this, guard([this] { refuseLogin(); }));
    Appearance::Hooks appearanceHooks;
    appearanceHooks.opMode = [this] { return opMode(); };
    m_appearance = new Appearance(*this, m_chatColumn, m_userColumn, RVStyle1,
                                  {AlterarBg1, Remover1, Centralizado1, Ladoalado1, Esticado1},
                                  std::move(appearanceHooks), this);
    connect(mnuSair, &QAction::triggered, this, &QWidget::close);

    QTreeView* users = m_userColumn->lstUsers;
    connect(users, &QWidget::customContextMenuRequested, this, [this, users](const QPoint& at) {
        popUsers->popup(users->viewport()->mapToGlobal(at));
    });
    QTreeWidget* custom = m_userColumn->lstCustom;
    connect(custom, &QWidget::customContextMenuRequested, this, [this, custom](const QPoint& at) {
        popCustom->popup(custom->viewport()->mapToGlobal(at));
    });
    setupLockConnections();
    setupLogs();
    setupLinks();
    setupPaneLinks();
    setupScreenshotGamesTray();
    m_readMarker = new ReadMarker(*this, this, this);
    m_trayIcon = new TrayIcon(*this, this, atalhoMin, m_readMarker, this);
    m_whisperNotices = new WhisperNotices(*this, this, m_trayIcon, this);
    qApp->installEventFilter(this);
}

void TfrmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange)
        m_readMarker->readMarkerActivationChanged();
    // The font and title set while the window is built change it before the tray icon exists.
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

void TfrmMain::focusInputLine()
{
    m_bottomStrip->txtMsg->setFocus();
}
