#include "window/MainMenus.h"

#include <optional>

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "resources/Pictures.h"
#include "window/WidgetKit.h"

using WidgetKit::named;

namespace {

QAction* menuItem(QMenu* menu, const QString& name, const QString& caption,
                  std::optional<ToolbarPicture> picture = std::nullopt,
                  const QString& keys = QString())
{
    QAction* action = named(menu->addAction(caption), name);
    if (picture)
        action->setIcon(Pictures::toolbarIcon(*picture));
    if (!keys.isEmpty())
        action->setShortcut(QKeySequence(keys));
    return action;
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

} // namespace

MainMenus::MainMenus(QMainWindow* window) : m_window(window)
{
    setupActions();
    setupMenus();
    setupPopups();
}

void MainMenus::setupActions()
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString text(QLatin1Char{letter});
        auto* action = named(new QAction(text, m_window), QStringLiteral("atalho") + text);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+") + text));
        m_window->addAction(action);
    }
    atalhoMin =
        named(new QAction(QStringLiteral("Minimizar"), m_window), QStringLiteral("atalhoMin"));
    m_window->addAction(atalhoMin);
    const struct
    {
        const char* name;
        const char* keys;
    } others[] = {{"selectAll", "Ctrl+A"}, {"CrtlD", "Ctrl+D"}, {"CtrlF", "Ctrl+F"}};
    for (const auto& other : others) {
        const QString name = QString::fromLatin1(other.name);
        auto* action = named(new QAction(name, m_window), name);
        action->setShortcut(QKeySequence(QString::fromLatin1(other.keys)));
        m_window->addAction(action);
    }
}

void MainMenus::setupMenus()
{
    QMenuBar* bar = named(m_window->menuBar(), QStringLiteral("MainMenu1"));
    setupFileMenu(named(bar->addMenu(QStringLiteral("&Arquivo")), QStringLiteral("Arquivo1")));
    setupOptionsMenu(named(bar->addMenu(QStringLiteral("&Opções")), QStringLiteral("Opcoes1")));
    setupHelpMenu(named(bar->addMenu(QStringLiteral("Aju&da")), QStringLiteral("Ajuda1")));
}

void MainMenus::setupFileMenu(QMenu* menu)
{
    mnuSalvarChat = menuItem(menu, QStringLiteral("mnuSalvarChat"),
                             QStringLiteral("Salvar Tela de Chat"), ToolbarPicture::Floppy);
    mnuSalvarWhisps = menuItem(menu, QStringLiteral("mnuSalvarWhisps"),
                               QStringLiteral("Salvar Tela de Whisps"), ToolbarPicture::Floppy);
    separator(menu, QStringLiteral("N3"));
    mnuSair = menuItem(menu, QStringLiteral("mnuSair"), QStringLiteral("Sair"));
}

void MainMenus::setupOptionsMenu(QMenu* menu)
{
    mnuConectar = menuItem(menu, QStringLiteral("mnuConectar"), QStringLiteral("Conectar"),
                           ToolbarPicture::PlugJoined, QStringLiteral("Ctrl+N"));
    mnuDesconectar = menuItem(menu, QStringLiteral("mnuDesconectar"), QStringLiteral("Desconectar"),
                              ToolbarPicture::PlugApart);
    separator(menu, QStringLiteral("N1"));
    mnuConfigAtalhos =
        menuItem(menu, QStringLiteral("mnuConfigAtalhos"), QStringLiteral("Configurar atalhos..."),
                 ToolbarPicture::BackArrow, QStringLiteral("Ctrl+S"));
    mnuOrgCanal = menuItem(menu, QStringLiteral("mnuOrgCanal"),
                           QStringLiteral("Canais favoritos..."), ToolbarPicture::Star);
    separator(menu, QStringLiteral("N14"));
    mnuLimpaTelaChat =
        menuItem(menu, QStringLiteral("mnuLimpaTelaChat"), QStringLiteral("Limpar tela do chat"),
                 std::nullopt, QStringLiteral("Ctrl+E"));
    mnuLimpaTelaWhisps =
        menuItem(menu, QStringLiteral("mnuLimpaTelaWhisps"),
                 QStringLiteral("Limpar tela de whisps"), std::nullopt, QStringLiteral("Ctrl+W"));
    separator(menu, QStringLiteral("N2"));
    mnuOpcoes = menuItem(menu, QStringLiteral("mnuOpcoes"), QStringLiteral("Opções..."),
                         ToolbarPicture::Gears, QStringLiteral("Ctrl+O"));
}

void MainMenus::setupHelpMenu(QMenu* menu)
{
    mnuSite = menuItem(menu, QStringLiteral("mnuSite"), QStringLiteral("Site do Tulmo"),
                       ToolbarPicture::SiteLogo);
    mnuForum = menuItem(menu, QStringLiteral("mnuForum"), QStringLiteral("Fórum do Tulmo"),
                        ToolbarPicture::ForumLogo);
    separator(menu, QStringLiteral("N17"));
    mnuSobre = menuItem(menu, QStringLiteral("mnuSobre"), QStringLiteral("Sobre..."),
                        ToolbarPicture::QuestionMark);
}

void MainMenus::setupPopups()
{
    setupUsersPopup();
    setupChatPopup();
    setupChannelsPopup();
    setupCustomPopup();
    setupGamesPopup();
}

void MainMenus::setupUsersPopup()
{
    popUsers = named(new QMenu(m_window), QStringLiteral("popUsers"));
    QMenu* kick = submenu(popUsers, QStringLiteral("Kick1"), QStringLiteral("Kick"));
    menuItem(kick, QStringLiteral("Kickar1"), QStringLiteral("Kick"));
    menuItem(kick, QStringLiteral("KickMotivo1"), QStringLiteral("Kick com motivo"));
    QMenu* ban = submenu(popUsers, QStringLiteral("Ban1"), QStringLiteral("Ban"));
    menuItem(ban, QStringLiteral("Banir1"), QStringLiteral("Ban"));
    menuItem(ban, QStringLiteral("BanMotivo1"), QStringLiteral("Ban com motivo"));
    menuItem(popUsers, QStringLiteral("Kill1"), QStringLiteral("Kill"))->setVisible(false);
    separator(popUsers, QStringLiteral("N8"));
    menuItem(popUsers, QStringLiteral("Whois1"), QStringLiteral("Whois"));
    QMenu* control = submenu(popUsers, QStringLiteral("Controle1"), QStringLiteral("Controle"));
    menuItem(control, QStringLiteral("voice"), QStringLiteral("+ Voice"));
    menuItem(control, QStringLiteral("devoice"), QStringLiteral("-  Voice"));
    control->menuAction()->setVisible(false);
    separator(popUsers, QStringLiteral("N5"));
    QMenu* tags = submenu(popUsers, QStringLiteral("Tags1"), QStringLiteral("Tags"));
    for (const char* tag : {"D2XP", "D2DV", "STAR", "SEXP", "WAR3", "W3XP", "CHAT", "-", "DRTL",
                            "DSHR", "SSHR", "W2BN"}) {
        const QString caption = QString::fromLatin1(tag);
        if (caption == QLatin1String("-"))
            separator(tags, QStringLiteral("N21"));
        else
            menuItem(tags, caption + QLatin1Char('1'), caption);
    }
    tags->menuAction()->setVisible(false);
    separator(popUsers, QStringLiteral("N9"));
    menuItem(popUsers, QStringLiteral("LockarWhisp1"), QStringLiteral("Lockar Whisp"));
    menuItem(popUsers, QStringLiteral("AdicionarLista1"), QStringLiteral("Adicionar à Lista"))
        ->setVisible(false);
    separator(popUsers, QStringLiteral("N4"));
    menuItem(popUsers, QStringLiteral("Squelch1"), QStringLiteral("Squelch"));
    menuItem(popUsers, QStringLiteral("Unsquelch1"), QStringLiteral("Unsquelch"));
}

void MainMenus::setupChatPopup()
{
    popChat = named(new QMenu(m_window), QStringLiteral("popChat"));
    // Shown only while the menu is open over an address.
    QAction* popCopyAddress =
        menuItem(popChat, QStringLiteral("popCopyAddress"), QStringLiteral("Copiar endereço"));
    QAction* popCopyAddressSeparator =
        separator(popChat, QStringLiteral("popCopyAddressSeparator"));
    popCopyAddress->setVisible(false);
    popCopyAddressSeparator->setVisible(false);
    Limpartela1 = menuItem(popChat, QStringLiteral("Limpartela1"), QStringLiteral("Limpar tela"));
    separator(popChat, QStringLiteral("N16"));
    menuItem(popChat, QStringLiteral("Usurios1"), QStringLiteral("Usuários"));
    menuItem(popChat, QStringLiteral("Canais1"), QStringLiteral("Canais"));
    menuItem(popChat, QStringLiteral("Hora1"), QStringLiteral("Hora"));
    separator(popChat, QStringLiteral("N11"));
    menuItem(popChat, QStringLiteral("Moderar1"), QStringLiteral("Moderar"))->setVisible(false);
    menuItem(popChat, QStringLiteral("Rejoin1"), QStringLiteral("Rejoin"));
    menuItem(popChat, QStringLiteral("Banidos1"), QStringLiteral("Banidos"));
    separator(popChat, QStringLiteral("N22"));
    setupBackgroundMenu(
        submenu(popChat, QStringLiteral("ImagemdeFundo1"), QStringLiteral("Imagem de Fundo")));
    separator(popChat, QStringLiteral("N12"));
    menuItem(popChat, QStringLiteral("SalvarLog1"), QStringLiteral("Salvar log..."));
}

void MainMenus::setupBackgroundMenu(QMenu* menu)
{
    AlterarBg1 = menuItem(menu, QStringLiteral("AlterarBg1"), QStringLiteral("Alterar..."));
    Remover1 = menuItem(menu, QStringLiteral("Remover1"), QStringLiteral("Remover"));
    separator(menu, QStringLiteral("N23"));
    auto* placement = named(new QActionGroup(m_window), QStringLiteral("GroupIndex1"));
    placement->setExclusive(true);
    Centralizado1 = menuItem(menu, QStringLiteral("Centralizado1"), QStringLiteral("Centralizado"));
    Ladoalado1 = menuItem(menu, QStringLiteral("Ladoalado1"), QStringLiteral("Lado a lado"));
    Esticado1 = menuItem(menu, QStringLiteral("Esticado1"), QStringLiteral("Esticado"));
    for (QAction* radio : {Centralizado1, Ladoalado1, Esticado1}) {
        radio->setCheckable(true);
        placement->addAction(radio);
    }
    Centralizado1->setChecked(true);
}

void MainMenus::setupChannelsPopup()
{
    popCanais = named(new QMenu(m_window), QStringLiteral("popCanais"));
    // The key itself belongs to the action CrtlD; the item only shows it.
    menuItem(popCanais, QStringLiteral("Adicionarcanal1"),
             QStringLiteral("Adicionar Canal\tCtrl+D"));
    menuItem(popCanais, QStringLiteral("Organizarcanais1"), QStringLiteral("Organizar Canais"));
    separator(popCanais, QStringLiteral("N13"));
}

void MainMenus::setupCustomPopup()
{
    popCustom = named(new QMenu(m_window), QStringLiteral("popCustom"));
    popCustom->setDefaultAction(
        menuItem(popCustom, QStringLiteral("popCustomWhois"), QStringLiteral("Whois")));
    menuItem(popCustom, QStringLiteral("popCustomLockarWhisp"), QStringLiteral("Lockar Whisp"));
    separator(popCustom, QStringLiteral("N15"));
    menuItem(popCustom, QStringLiteral("popAddCustom"), QStringLiteral("Adicionar à Lista"));
    menuItem(popCustom, QStringLiteral("popDelCustom"), QStringLiteral("Excluir da Lista"));
    menuItem(popCustom, QStringLiteral("popMotCustom"), QStringLiteral("Editar Motivo"));
}

void MainMenus::setupGamesPopup()
{
    popGames = named(new QMenu(m_window), QStringLiteral("popGames"));
    menuItem(popGames, QStringLiteral("popGD2"), QStringLiteral("Diablo II"),
             ToolbarPicture::DiabloII);
    menuItem(popGames, QStringLiteral("popGSC"), QStringLiteral("Starcraft"),
             ToolbarPicture::StarCraft);
    menuItem(popGames, QStringLiteral("popGW3"), QStringLiteral("Warcraft III"),
             ToolbarPicture::WarcraftIII);
    menuItem(popGames, QStringLiteral("popGW3XP"), QStringLiteral("Warcraft III: Frozen Throne"),
             ToolbarPicture::FrozenThrone);
}
