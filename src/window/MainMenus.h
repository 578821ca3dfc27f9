#pragma once

class QAction;
class QMainWindow;
class QMenu;

// The menus of the main window and its keyboard actions: the menu bar (Arquivo, Opções, Ajuda),
// the context menus of the panes and the lists, the channels and games menus of the toolbar,
// and the window's own keys (the phrase shortcuts "atalhoA" to "atalhoZ", the minimize key,
// Ctrl+A, Ctrl+D, Ctrl+F). Like a region it only builds them and names them; the features that
// own an item connect to it. Every item carries its name as objectName.
class MainMenus final
{
public:
    // Everything is parented to window, the menu bar is the window's.
    explicit MainMenus(QMainWindow* window);

    // The items, by their names; set once by the constructor.
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

private:
    void setupActions();
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

    QMainWindow* m_window;
};
