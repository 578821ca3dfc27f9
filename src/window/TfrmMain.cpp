#include "window/TfrmMain.h"

#include <algorithm>
#include <limits>
#include <optional>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "chat/TFastNicks.h"
#include "chat/UserListModel.h"
#include "net/TChatInterface.h"
#include "net/TGatewayChat.h"
#include "resources/Pictures.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/StyleTable.h"
#include "window/Prompts.h"
#include "window/TfrmConectar.h"
#include "window/UserListDelegate.h"

namespace {

template <typename T>
T* named(T* object, const QString& name)
{
    object->setObjectName(name);
    return object;
}

QFont pixelFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

void setColors(QWidget* widget, const QColor& base, const QColor& text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Window, base);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
}

QWidget* panel(const QString& name, QWidget* parent)
{
    return named(new QWidget(parent), name);
}

QVBoxLayout* columnLayout(QWidget* owner)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

QAction* separator(QMenu* menu, const QString& name)
{
    return named(menu->addSeparator(), name);
}

QMenu* submenu(QMenu* menu, const QString& name, const QString& caption)
{
    QMenu* sub = named(menu->addMenu(caption), name);
    sub->menuAction()->setObjectName(name);
    return sub;
}

const QColor Lime(0x00, 0xFF, 0x00);
const QColor BarColor(0x49, 0x49, 0x49);

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
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tulmo Chat v1.5 Light"));
    setWindowIcon(Pictures::programIcon());
    setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    resize(700, 600);
    setMinimumSize(700, 600);

    setupComponents();
    setupActions();
    setupMenus();
    setupPopups();

    auto* central = named(new QWidget(this), QStringLiteral("frmMainClient"));
    setCentralWidget(central);
    auto* layout = columnLayout(central);
    setupTopStrip();
    setupChatColumn();
    setupUserColumn();
    Splitter1 = named(new QSplitter(Qt::Horizontal, central), QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(pnlFundoChat);
    Splitter1->addWidget(pnlFundoUsers);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({488, 201});
    setupBottomStrip();
    layout->addWidget(pnlTopo);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(pnlRodape);

    setupConnections();
    wireChatInterface();
    wireGatewayChat();
    setConnectedState(false);
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
    Tray = named(new QSystemTrayIcon(Pictures::programIcon(), this), QStringLiteral("Tray"));
}

void TfrmMain::setupActions()
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString text(QLatin1Char{letter});
        auto* action = named(new QAction(text, this), QStringLiteral("atalho") + text);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+") + text));
        addAction(action);
    }
    atalhoMin = named(new QAction(QStringLiteral("Minimizar"), this), QStringLiteral("atalhoMin"));
    addAction(atalhoMin);
    const struct
    {
        const char* name;
        const char* keys;
    } others[] = {{"selectAll", "Ctrl+A"}, {"CrtlD", "Ctrl+D"}, {"CtrlF", "Ctrl+F"}};
    for (const auto& other : others) {
        const QString name = QString::fromLatin1(other.name);
        auto* action = named(new QAction(name, this), name);
        action->setShortcut(QKeySequence(QString::fromLatin1(other.keys)));
        addAction(action);
    }
}

void TfrmMain::setupMenus()
{
    QMenuBar* bar = named(menuBar(), QStringLiteral("MainMenu1"));
    const auto item = [this](QMenu* menu, const QString& name, const QString& caption,
                             std::optional<ToolbarPicture> picture, const QString& keys) {
        QAction* action = named(menu->addAction(caption), name);
        if (picture)
            action->setIcon(Pictures::toolbarIcon(*picture));
        if (!keys.isEmpty())
            action->setShortcut(QKeySequence(keys));
        return action;
    };
    QMenu* arquivo = named(bar->addMenu(QStringLiteral("&Arquivo")), QStringLiteral("Arquivo1"));
    mnuSalvarChat = item(arquivo, QStringLiteral("mnuSalvarChat"),
                         QStringLiteral("Salvar Tela de Chat"), ToolbarPicture::Floppy, QString());
    mnuSalvarWhisps =
        item(arquivo, QStringLiteral("mnuSalvarWhisps"), QStringLiteral("Salvar Tela de Whisps"),
             ToolbarPicture::Floppy, QString());
    separator(arquivo, QStringLiteral("N3"));
    mnuSair =
        item(arquivo, QStringLiteral("mnuSair"), QStringLiteral("Sair"), std::nullopt, QString());

    QMenu* opcoes = named(bar->addMenu(QStringLiteral("&Opções")), QStringLiteral("Opcoes1"));
    mnuConectar = item(opcoes, QStringLiteral("mnuConectar"), QStringLiteral("Conectar"),
                       ToolbarPicture::PlugJoined, QStringLiteral("Ctrl+N"));
    mnuDesconectar = item(opcoes, QStringLiteral("mnuDesconectar"), QStringLiteral("Desconectar"),
                          ToolbarPicture::PlugApart, QString());
    separator(opcoes, QStringLiteral("N1"));
    mnuConfigAtalhos =
        item(opcoes, QStringLiteral("mnuConfigAtalhos"), QStringLiteral("Configurar atalhos..."),
             ToolbarPicture::BackArrow, QStringLiteral("Ctrl+S"));
    mnuOrgCanal = item(opcoes, QStringLiteral("mnuOrgCanal"), QStringLiteral("Canais favoritos..."),
                       ToolbarPicture::Star, QString());
    separator(opcoes, QStringLiteral("N14"));
    mnuLimpaTelaChat =
        item(opcoes, QStringLiteral("mnuLimpaTelaChat"), QStringLiteral("Limpar tela do chat"),
             std::nullopt, QStringLiteral("Ctrl+E"));
    mnuLimpaTelaWhisps =
        item(opcoes, QStringLiteral("mnuLimpaTelaWhisps"), QStringLiteral("Limpar tela de whisps"),
             std::nullopt, QStringLiteral("Ctrl+W"));
    separator(opcoes, QStringLiteral("N2"));
    mnuOpcoes = item(opcoes, QStringLiteral("mnuOpcoes"), QStringLiteral("Opções..."),
                     ToolbarPicture::Gears, QStringLiteral("Ctrl+O"));

    QMenu* ajuda = named(bar->addMenu(QStringLiteral("Aju&da")), QStringLiteral("Ajuda1"));
    mnuSite = item(ajuda, QStringLiteral("mnuSite"), QStringLiteral("Site do Tulmo"),
                   ToolbarPicture::SiteLogo, QString());
    mnuForum = item(ajuda, QStringLiteral("mnuForum"), QStringLiteral("Fórum do Tulmo"),
                    ToolbarPicture::ForumLogo, QString());
    separator(ajuda, QStringLiteral("N17"));
    mnuSobre = item(ajuda, QStringLiteral("mnuSobre"), QStringLiteral("Sobre..."),
                    ToolbarPicture::QuestionMark, QString());
}

void TfrmMain::setupPopups()
{
    const auto item = [](QMenu* menu, const QString& name, const QString& caption) {
        return named(menu->addAction(caption), name);
    };

    popUsers = named(new QMenu(this), QStringLiteral("popUsers"));
    QMenu* kick = submenu(popUsers, QStringLiteral("Kick1"), QStringLiteral("Kick"));
    item(kick, QStringLiteral("Kickar1"), QStringLiteral("Kick"));
    item(kick, QStringLiteral("KickMotivo1"), QStringLiteral("Kick com motivo"));
    QMenu* ban = submenu(popUsers, QStringLiteral("Ban1"), QStringLiteral("Ban"));
    item(ban, QStringLiteral("Banir1"), QStringLiteral("Ban"));
    item(ban, QStringLiteral("BanMotivo1"), QStringLiteral("Ban com motivo"));
    item(popUsers, QStringLiteral("Kill1"), QStringLiteral("Kill"))->setVisible(false);
    separator(popUsers, QStringLiteral("N8"));
    item(popUsers, QStringLiteral("Whois1"), QStringLiteral("Whois"));
    QMenu* controle = submenu(popUsers, QStringLiteral("Controle1"), QStringLiteral("Controle"));
    item(controle, QStringLiteral("voice"), QStringLiteral("+ Voice"));
    item(controle, QStringLiteral("devoice"), QStringLiteral("-  Voice"));
    controle->menuAction()->setVisible(false);
    separator(popUsers, QStringLiteral("N5"));
    QMenu* tags = submenu(popUsers, QStringLiteral("Tags1"), QStringLiteral("Tags"));
    for (const char* tag : {"D2XP", "D2DV", "STAR", "SEXP", "WAR3", "W3XP", "CHAT", "-", "DRTL",
                            "DSHR", "SSHR", "W2BN"}) {
        const QString caption = QString::fromLatin1(tag);
        if (caption == QLatin1String("-"))
            separator(tags, QStringLiteral("N21"));
        else
            item(tags, caption + QLatin1Char('1'), caption);
    }
    tags->menuAction()->setVisible(false);
    separator(popUsers, QStringLiteral("N9"));
    item(popUsers, QStringLiteral("LockarWhisp1"), QStringLiteral("Lockar Whisp"));
    item(popUsers, QStringLiteral("AdicionarLista1"), QStringLiteral("Adicionar à Lista"))
        ->setVisible(false);
    separator(popUsers, QStringLiteral("N4"));
    item(popUsers, QStringLiteral("Squelch1"), QStringLiteral("Squelch"));
    item(popUsers, QStringLiteral("Unsquelch1"), QStringLiteral("Unsquelch"));

    popChat = named(new QMenu(this), QStringLiteral("popChat"));
    Limpartela1 = item(popChat, QStringLiteral("Limpartela1"), QStringLiteral("Limpar tela"));
    separator(popChat, QStringLiteral("N16"));
    item(popChat, QStringLiteral("Usurios1"), QStringLiteral("Usuários"));
    item(popChat, QStringLiteral("Canais1"), QStringLiteral("Canais"));
    item(popChat, QStringLiteral("Hora1"), QStringLiteral("Hora"));
    separator(popChat, QStringLiteral("N11"));
    item(popChat, QStringLiteral("Moderar1"), QStringLiteral("Moderar"))->setVisible(false);
    item(popChat, QStringLiteral("Rejoin1"), QStringLiteral("Rejoin"));
    item(popChat, QStringLiteral("Banidos1"), QStringLiteral("Banidos"));
    separator(popChat, QStringLiteral("N22"));
    QMenu* fundo =
        submenu(popChat, QStringLiteral("ImagemdeFundo1"), QStringLiteral("Imagem de Fundo"));
    AlterarBg1 = item(fundo, QStringLiteral("AlterarBg1"), QStringLiteral("Alterar..."));
    Remover1 = item(fundo, QStringLiteral("Remover1"), QStringLiteral("Remover"));
    separator(fundo, QStringLiteral("N23"));
    auto* placement = named(new QActionGroup(this), QStringLiteral("GroupIndex1"));
    placement->setExclusive(true);
    Centralizado1 = item(fundo, QStringLiteral("Centralizado1"), QStringLiteral("Centralizado"));
    Ladoalado1 = item(fundo, QStringLiteral("Ladoalado1"), QStringLiteral("Lado a lado"));
    Esticado1 = item(fundo, QStringLiteral("Esticado1"), QStringLiteral("Esticado"));
    for (QAction* radio : {Centralizado1, Ladoalado1, Esticado1}) {
        radio->setCheckable(true);
        placement->addAction(radio);
    }
    Centralizado1->setChecked(true);
    separator(popChat, QStringLiteral("N12"));
    item(popChat, QStringLiteral("SalvarLog1"), QStringLiteral("Salvar log..."));

    popCanais = named(new QMenu(this), QStringLiteral("popCanais"));
    // The key itself belongs to the action CrtlD; the item only shows it.
    item(popCanais, QStringLiteral("Adicionarcanal1"), QStringLiteral("Adicionar Canal\tCtrl+D"));
    item(popCanais, QStringLiteral("Organizarcanais1"), QStringLiteral("Organizar Canais"));
    separator(popCanais, QStringLiteral("N13"));

    popCustom = named(new QMenu(this), QStringLiteral("popCustom"));
    popCustom->setDefaultAction(
        item(popCustom, QStringLiteral("popCustomWhois"), QStringLiteral("Whois")));
    item(popCustom, QStringLiteral("popCustomLockarWhisp"), QStringLiteral("Lockar Whisp"));
    separator(popCustom, QStringLiteral("N15"));
    item(popCustom, QStringLiteral("popAddCustom"), QStringLiteral("Adicionar à Lista"));
    item(popCustom, QStringLiteral("popDelCustom"), QStringLiteral("Excluir da Lista"));
    item(popCustom, QStringLiteral("popMotCustom"), QStringLiteral("Editar Motivo"));

    popGames = named(new QMenu(this), QStringLiteral("popGames"));
    const struct
    {
        const char* name;
        const char* caption;
        ToolbarPicture picture;
    } games[] = {{"popGD2", "Diablo II", ToolbarPicture::DiabloII},
                 {"popGSC", "Starcraft", ToolbarPicture::StarCraft},
                 {"popGW3", "Warcraft III", ToolbarPicture::WarcraftIII},
                 {"popGW3XP", "Warcraft III: Frozen Throne", ToolbarPicture::FrozenThrone}};
    for (const auto& game : games)
        item(popGames, QString::fromLatin1(game.name), QString::fromLatin1(game.caption))
            ->setIcon(Pictures::toolbarIcon(game.picture));
}

void TfrmMain::setupTopStrip()
{
    pnlTopo = panel(QStringLiteral("pnlTopo"), this);
    pnlTopo->setFixedHeight(35);
    Bevel1 = named(new QFrame(pnlTopo), QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 0, 692, 2);

    // A plain row of flat buttons: a tool bar would fold the last ones into an overflow menu.
    auto* bar = named(new QWidget(pnlTopo), QStringLiteral("ToolBar"));
    ToolBar = bar;
    bar->setGeometry(0, 0, 513, 35);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 2, 0, 3);
    row->setSpacing(0);
    const auto button = [bar](const QString& name, const QString& hint, ToolbarPicture picture) {
        auto* b = named(new QToolButton(bar), name);
        b->setToolTip(hint);
        b->setIcon(Pictures::toolbarIcon(picture));
        b->setIconSize(QSize(24, 24));
        b->setFixedSize(33, 30);
        b->setAutoRaise(true);
        bar->layout()->addWidget(b);
        return b;
    };
    const auto gap = [bar](const QString& name, int width) {
        auto* spacer = named(new QWidget(bar), name);
        spacer->setFixedSize(width, 30);
        bar->layout()->addWidget(spacer);
    };
    btnConectar = button(QStringLiteral("btnConectar"), QStringLiteral("Conectar"),
                         ToolbarPicture::PlugJoined);
    btnDesconectar = button(QStringLiteral("btnDesconectar"), QStringLiteral("Desconectar"),
                            ToolbarPicture::PlugApart);
    gap(QStringLiteral("ToolButton3"), 8);
    btnHomeChannel = button(QStringLiteral("btnHomeChannel"),
                            QStringLiteral("Ir para canal principal"), ToolbarPicture::HomeChannel);
    btnJoin =
        button(QStringLiteral("btnJoin"), QStringLiteral("Canais favoritos"), ToolbarPicture::Star);
    btnJoin->setMenu(popCanais);
    btnJoin->setPopupMode(QToolButton::MenuButtonPopup);
    btnJoin->setFixedSize(45, 30);
    gap(QStringLiteral("ToolButton1"), 8);
    btnAway = button(QStringLiteral("btnAway"), QStringLiteral("Entrar/sair do away"),
                     ToolbarPicture::Away);
    btnAway->setCheckable(true);
    btnDND = button(QStringLiteral("btnDND"), QStringLiteral("Entrar/sair do DND"),
                    ToolbarPicture::NoEntry);
    btnDND->setCheckable(true);
    gap(QStringLiteral("ToolButton2"), 8);
    btnOpcoes =
        button(QStringLiteral("btnOpcoes"), QStringLiteral("Opções"), ToolbarPicture::Gears);
    gap(QStringLiteral("ToolButton4"), 8);
    btnNotepad = button(QStringLiteral("btnNotepad"),
                        QStringLiteral("Abrir bloco de notas com o texto do chat"),
                        ToolbarPicture::Notebook);
    btnScreen = button(QStringLiteral("btnScreen"), QStringLiteral("Tirar screenshot da tela"),
                       ToolbarPicture::Screenshot);
    gap(QStringLiteral("ToolButton6"), 8);
    btnDiablo = button(QStringLiteral("btnDiablo"), QStringLiteral("Menu de games"),
                       ToolbarPicture::GamesMenu);
    btnDiablo->setMenu(popGames);
    btnDiablo->setPopupMode(QToolButton::MenuButtonPopup);
    btnDiablo->setFixedSize(45, 30);
    gap(QStringLiteral("ToolButton5"), 33);
    btnSite = button(QStringLiteral("btnSite"), QStringLiteral("Abrir site do Tulmo"),
                     ToolbarPicture::SiteLogo);
    btnForum = button(QStringLiteral("btnForum"), QStringLiteral("Abrir fórum do Tulmo"),
                      ToolbarPicture::ForumLogo);
    row->addStretch(1);

    imgBanner = named(new QLabel(pnlTopo), QStringLiteral("imgBanner"));
    imgBanner->setPixmap(Pictures::logoBanner());
    imgBanner->setGeometry(511, 0, 180, 34);
    imgPrintScreen = named(new QLabel(pnlTopo), QStringLiteral("imgPrintScreen"));
    imgPrintScreen->setGeometry(616, 8, 39, 27);
    imgPrintScreen->hide();
}

void TfrmMain::setupChatColumn()
{
    pnlFundoChat = panel(QStringLiteral("pnlFundoChat"), this);
    pnlFundoChat->setMinimumWidth(150);
    Splitter2 = named(new QSplitter(Qt::Vertical, pnlFundoChat), QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(3);
    Splitter2->setOpaqueResize(true);
    Splitter2->setChildrenCollapsible(false);
    columnLayout(pnlFundoChat)->addWidget(Splitter2);

    pnlChat = panel(QStringLiteral("pnlChat"), Splitter2);
    pnlChat->setMinimumHeight(80);
    pnlTopChat = panel(QStringLiteral("pnlTopChat"), pnlChat);
    pnlTopChat->setFixedHeight(22);
    shpTopChat = panel(QStringLiteral("shpTopChat"), pnlTopChat);
    shpTopChat->setAutoFillBackground(true);
    setColors(shpTopChat, BarColor, Lime);
    columnLayout(pnlTopChat)->addWidget(shpTopChat);

    const auto textButton = [this](const QString& name, const QString& caption, int left, int width,
                                   const QColor& color) {
        auto* b = named(new QToolButton(pnlTopChat), name);
        b->setText(caption);
        b->setAutoRaise(true);
        b->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
        b->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: transparent; "
                                        "border: none; padding: 0px; }")
                             .arg(color.name()));
        b->setGeometry(left, 3, width, 14);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    btnTopGames = textButton(QStringLiteral("btnTopGames"), QStringLiteral("GAMES"), 2, 51,
                             QColor(0xFF, 0xFF, 0x00));
    btnTopGamesNorm =
        textButton(QStringLiteral("btnTopGamesNorm"), QStringLiteral("NORMAL"), 55, 53, Lime);
    btnTopGamesNM =
        textButton(QStringLiteral("btnTopGamesNM"), QStringLiteral("NIGHTMARE"), 109, 70, Lime);
    btnTopGamesHell =
        textButton(QStringLiteral("btnTopGamesHell"), QStringLiteral("HELL"), 180, 41, Lime);
    btnTopCon = textButton(QStringLiteral("btnTopCon"), QStringLiteral("CON"), 262, 43, Lime);
    btnTopCon->hide();
    btnTopConAll =
        textButton(QStringLiteral("btnTopConAll"), QStringLiteral("CON ALL"), 308, 50, Lime);
    btnTopConAll->hide();

    lblAutoScroll = named(new QLabel(QStringLiteral("Auto-Rolagem"), pnlTopChat),
                          QStringLiteral("lblAutoScroll"));
    lblAutoScroll->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 12));
    setColors(lblAutoScroll, BarColor, Lime);
    // Wide enough for its caption where the stand-in font runs wider than the original.
    lblAutoScroll->setGeometry(
        384, 1,
        std::max(75, lblAutoScroll->fontMetrics().horizontalAdvance(lblAutoScroll->text()) + 2),
        18);
    lblAutoScroll->setCursor(Qt::PointingHandCursor);
    chkAutoScroll = named(new QCheckBox(pnlTopChat), QStringLiteral("chkAutoScroll"));
    chkAutoScroll->setGeometry(464, 2, 17, 17);
    chkAutoScroll->setChecked(true);
    chkAutoScroll->setAutoFillBackground(true);
    setColors(chkAutoScroll, BarColor, Lime);

    txtChat = named(new ChatView(RVStyle1, pnlChat), QStringLiteral("txtChat"));
    txtChat->setBackgroundColor(Qt::black);
    txtChat->setTextMargins(2, 2, 2, 10);
    txtChat->setBackgroundStyle(ChatView::BackgroundStyle::Centered);
    txtChat->setPopupMenu(popChat);
    auto* chatLayout = columnLayout(pnlChat);
    chatLayout->addWidget(pnlTopChat);
    chatLayout->addWidget(txtChat, 1);

    pnlWhisp = panel(QStringLiteral("pnlWhisp"), Splitter2);
    pnlWhisp->setMinimumHeight(80);
    Bevel2 = named(new QFrame(pnlWhisp), QStringLiteral("Bevel2"));
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setFixedHeight(2);
    txtWhisps = named(new ChatView(RVStyle1, pnlWhisp), QStringLiteral("txtWhisps"));
    txtWhisps->setBackgroundColor(Qt::black);
    txtWhisps->setTextMargins(1, 1, 1, 0);
    txtWhisps->setPopupMenu(popChat);
    auto* whispLayout = columnLayout(pnlWhisp);
    whispLayout->addWidget(Bevel2);
    whispLayout->addWidget(txtWhisps, 1);

    Splitter2->addWidget(pnlChat);
    Splitter2->addWidget(pnlWhisp);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({383, 95});
}

void TfrmMain::setupUserColumn()
{
    pnlFundoUsers = panel(QStringLiteral("pnlFundoUsers"), this);
    pnlFundoUsers->setMinimumWidth(150);
    m_usersSplitter =
        named(new QSplitter(Qt::Vertical, pnlFundoUsers), QStringLiteral("pnlFundoUsersSplit"));
    m_usersSplitter->setHandleWidth(3);
    m_usersSplitter->setOpaqueResize(true);
    m_usersSplitter->setChildrenCollapsible(false);
    columnLayout(pnlFundoUsers)->addWidget(m_usersSplitter);

    pnlUsers = panel(QStringLiteral("pnlUsers"), m_usersSplitter);
    pnlTopUsers = panel(QStringLiteral("pnlTopUsers"), pnlUsers);
    pnlTopUsers->setFixedHeight(22);
    pnlTopUsers->setAutoFillBackground(true);
    setColors(pnlTopUsers, QColor(0x2A, 0x2A, 0x2A), Lime);
    lblChannel = named(new QLabel(pnlTopUsers), QStringLiteral("lblChannel"));
    lblChannel->setAlignment(Qt::AlignCenter);
    lblChannel->setAutoFillBackground(true);
    lblChannel->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 12));
    setColors(lblChannel, BarColor, Lime);
    columnLayout(pnlTopUsers)->addWidget(lblChannel);

    lstUsers = named(new QTreeView(pnlUsers), QStringLiteral("lstUsers"));
    lstUsers->setModel(m_users);
    for (int column = UserListModel::FlagColumn; column < UserListModel::ColumnCount; ++column)
        lstUsers->setColumnHidden(column, true);
    lstUsers->setHeaderHidden(true);
    lstUsers->header()->setStretchLastSection(false);
    lstUsers->header()->setSectionResizeMode(UserListModel::AccountColumn, QHeaderView::Stretch);
    lstUsers->setRootIsDecorated(false);
    lstUsers->setItemsExpandable(false);
    lstUsers->setUniformRowHeights(true);
    lstUsers->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    lstUsers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstUsers->setIconSize(QSize(27, 18));
    lstUsers->setFont(pixelFont(QStringLiteral("Verdana"), 12));
    lstUsers->setItemDelegate(new UserListDelegate(RVStyle1, lstUsers));
    // The entries take their colours from the style table: a changed colour shows at once.
    connect(RVStyle1, &StyleTable::changed, lstUsers->viewport(), qOverload<>(&QWidget::update));
    lstUsers->setContextMenuPolicy(Qt::CustomContextMenu);
    setColors(lstUsers, Qt::black, Qt::white);
    auto* usersLayout = columnLayout(pnlUsers);
    usersLayout->addWidget(pnlTopUsers);
    usersLayout->addWidget(lstUsers, 1);

    pnlCustom = panel(QStringLiteral("pnlCustom"), m_usersSplitter);
    lstCustom = named(new QTreeWidget(pnlCustom), QStringLiteral("lstCustom"));
    lstCustom->setColumnCount(2);
    lstCustom->setHeaderLabels({QStringLiteral("Account"), QStringLiteral("Motivo")});
    lstCustom->setHeaderHidden(true);
    lstCustom->setRootIsDecorated(false);
    lstCustom->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstCustom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstCustom->setFont(pixelFont(QStringLiteral("Verdana"), 13));
    lstCustom->setContextMenuPolicy(Qt::CustomContextMenu);
    setColors(lstCustom, Qt::black, Qt::white);
    columnLayout(pnlCustom)->addWidget(lstCustom);

    m_usersSplitter->addWidget(pnlUsers);
    m_usersSplitter->addWidget(pnlCustom);
    m_usersSplitter->setStretchFactor(0, 1);
    m_usersSplitter->setStretchFactor(1, 0);
    m_usersSplitter->setSizes({383, 95});
    m_usersSplitter->handle(1)->setObjectName(QStringLiteral("Splitter3"));
    pnlCustom->hide();
}

void TfrmMain::setupBottomStrip()
{
    pnlRodape = panel(QStringLiteral("pnlRodape"), this);
    pnlRodape->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = columnLayout(pnlRodape);
    layout->setContentsMargins(0, 2, 0, 0);
    const QFont tahoma = pixelFont(QStringLiteral("Tahoma"), 11);
    // Panel 1 sits right above the input line, the later ones above it.
    for (int n = 5; n >= 1; --n) {
        const QString number = QString::number(n);
        const int i = n - 1;
        QWidget* lock = panel(QStringLiteral("pnlWhispLock") + number, pnlRodape);
        pnlWhispLock[i] = lock;
        lock->setFixedHeight(30);
        lock->setProperty("Tag", n);
        lblTo[i] = named(new QLabel(QStringLiteral("TO:"), lock), QStringLiteral("lblTo") + number);
        lblTo[i]->setFont(tahoma);
        // Wide enough for its caption where the stand-in font runs wider than the original.
        lblTo[i]->setGeometry(
            9, 8, std::max(18, lblTo[i]->fontMetrics().horizontalAdvance(lblTo[i]->text())), 13);
        setColors(lblTo[i], palette().color(QPalette::Window), Qt::black);
        lblAccWhisp[i] = named(new QLabel(lock), QStringLiteral("lblAccWhisp") + number);
        lblAccWhisp[i]->setGeometry(31, 8, 78, 13);
        lblAccWhisp[i]->setFont(tahoma);
        lblAccWhisp[i]->setCursor(Qt::PointingHandCursor);
        setColors(lblAccWhisp[i], palette().color(QPalette::Window), QColor(0x00, 0x80, 0x00));
        txtWhisp[i] = named(new QLineEdit(lock), QStringLiteral("txtWhisp") + number);
        txtWhisp[i]->setGeometry(112, 5, 457, 22);
        txtWhisp[i]->setFont(pixelFont(QStringLiteral("Tahoma"), 12));
        txtWhisp[i]->setMaxLength(std::numeric_limits<int>::max());
        setColors(txtWhisp[i], Qt::black, Qt::white);
        btnWhispar[i] = named(new QPushButton(QStringLiteral("Whispar"), lock),
                              QStringLiteral("btnWhispar") + number);
        btnWhispar[i]->setGeometry(576, 3, 81, 25);
        btnWhispar[i]->setAutoDefault(false);
        btnFecharWhispLock[i] = named(new QPushButton(QStringLiteral("X"), lock),
                                      QStringLiteral("btnFecharWhispLock") + number);
        btnFecharWhispLock[i]->setGeometry(664, 3, 25, 25);
        btnFecharWhispLock[i]->setAutoDefault(false);
        for (QWidget* child : lock->findChildren<QWidget*>())
            child->setProperty("Tag", n);
        lock->hide();
        layout->addWidget(lock);
    }

    pnlMsg = panel(QStringLiteral("pnlMsg"), pnlRodape);
    pnlMsg->setFixedHeight(30);
    txtMsg = named(new QLineEdit(pnlMsg), QStringLiteral("txtMsg"));
    txtMsg->setGeometry(8, 1, 505, 26);
    txtMsg->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 13));
    // The input line has no length limit; a pasted line is sent as it stands.
    txtMsg->setMaxLength(std::numeric_limits<int>::max());
    setColors(txtMsg, Qt::black, Qt::white);
    btnEnviar =
        named(new QPushButton(QStringLiteral("Enviar"), pnlMsg), QStringLiteral("btnEnviar"));
    btnEnviar->setGeometry(526, 2, 83, 25);
    btnEnviar->setAutoDefault(false);
    btnEnviar->setDefault(true);
    btnEmote = named(new QPushButton(QStringLiteral("E&mote"), pnlMsg), QStringLiteral("btnEmote"));
    btnEmote->setGeometry(614, 2, 75, 25);
    btnEmote->setAutoDefault(false);
    layout->addWidget(pnlMsg);
    setTabOrder(txtMsg, btnEnviar);
}

void TfrmMain::setupConnections()
{
    // Every handler runs guarded: an error it raises is shown and the program goes on.
    const auto handler = [this](void (TfrmMain::*fn)()) {
        return [this, fn] { guarded([this, fn] { (this->*fn)(); }); };
    };
    connect(btnConectar, &QToolButton::clicked, this, handler(&TfrmMain::btnConectarClick));
    connect(mnuConectar, &QAction::triggered, this, handler(&TfrmMain::btnConectarClick));
    connect(btnDesconectar, &QToolButton::clicked, this, handler(&TfrmMain::btnDesconectarClick));
    connect(mnuDesconectar, &QAction::triggered, this, handler(&TfrmMain::btnDesconectarClick));
    connect(btnHomeChannel, &QToolButton::clicked, this, handler(&TfrmMain::btnHomeChannelClick));
    connect(btnAway, &QToolButton::clicked, this, handler(&TfrmMain::btnAwayClick));
    connect(btnDND, &QToolButton::clicked, this, handler(&TfrmMain::btnDNDClick));
    connect(btnEnviar, &QPushButton::clicked, this, handler(&TfrmMain::btnEnviarClick));
    connect(btnEmote, &QPushButton::clicked, this, handler(&TfrmMain::btnEmoteClick));
    connect(txtMsg, &QLineEdit::returnPressed, this, handler(&TfrmMain::pressDefaultButton));
    connect(txtMsg, &QLineEdit::textChanged, this,
            [this](const QString& text) { guarded([this, text] { txtMsgChange(text); }); });
    for (QLineEdit* edit : txtWhisp)
        connect(edit, &QLineEdit::returnPressed, this, handler(&TfrmMain::pressDefaultButton));
    connect(mnuLimpaTelaChat, &QAction::triggered, this, handler(&TfrmMain::mnuLimpaTelaChatClick));
    connect(mnuLimpaTelaWhisps, &QAction::triggered, this,
            handler(&TfrmMain::mnuLimpaTelaWhispsClick));
    connect(Limpartela1, &QAction::triggered, this, handler(&TfrmMain::Limpartela1Click));
    connect(tmrScroll, &QTimer::timeout, this, handler(&TfrmMain::tmrScrollTimer));
    connect(AlterarBg1, &QAction::triggered, this, handler(&TfrmMain::AlterarBg1Click));
    connect(Remover1, &QAction::triggered, this, handler(&TfrmMain::Remover1Click));
    connect(Centralizado1, &QAction::triggered, this, handler(&TfrmMain::Centralizado1Click));
    connect(Ladoalado1, &QAction::triggered, this, handler(&TfrmMain::Ladoalado1Click));
    connect(Esticado1, &QAction::triggered, this, handler(&TfrmMain::Esticado1Click));
    connect(mnuSair, &QAction::triggered, this, &QWidget::close);
    connect(lstUsers, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popUsers->popup(lstUsers->viewport()->mapToGlobal(at)); });
    connect(lstCustom, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popCustom->popup(lstCustom->viewport()->mapToGlobal(at)); });
    qApp->installEventFilter(this);
}

void TfrmMain::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        m_prompts->errorBox(this, QString::fromUtf8(e.what()));
    }
}
