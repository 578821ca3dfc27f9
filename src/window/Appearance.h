#pragma once

#include <QObject>

#include <functional>

#include "view/ChatView.h"

class ChatColumn;
class QAction;
class QString;
class StyleTable;
class UserColumn;
class WindowContext;

// The window's appearance from the settings: colours, fonts, the channel pane's background
// picture and its placement. Owns the handlers of the background menu; touches the panes, the
// user list's colour, the style table, the channel bar and the suspect list's visibility.
class Appearance final : public QObject
{
    Q_OBJECT
public:
    // The items of the background menu; none is owned.
    struct BackgroundMenu
    {
        QAction* AlterarBg1 = nullptr;
        QAction* Remover1 = nullptr;
        QAction* Centralizado1 = nullptr;
        QAction* Ladoalado1 = nullptr;
        QAction* Esticado1 = nullptr;
    };
    // What the appearance asks of the rest of the window.
    struct Hooks
    {
        // Operator mode is on: the suspect list follows its setting.
        std::function<bool()> opMode;
    };

    Appearance(WindowContext& ctx, ChatColumn* chatColumn, UserColumn* userColumn,
               StyleTable* styles, const BackgroundMenu& menu, Hooks hooks, QObject* parent);

    // Appearance from the settings: at start-up and after the options dialog is confirmed.
    void carregaAparencia();
    // The background placement from the settings.
    void ajustaFundoChat();

    void AlterarBg1Click();
    void Remover1Click();
    void Centralizado1Click();
    void Ladoalado1Click();
    void Esticado1Click();

private:
    void loadBackgroundBitmap(const QString& path);
    // Shows the picture so in the channel pane and checks its item in the background menu.
    void applyBackgroundStyle(ChatView::BackgroundStyle style);

    WindowContext& m_ctx;
    ChatColumn* m_chatColumn = nullptr;
    UserColumn* m_userColumn = nullptr;
    StyleTable* RVStyle1 = nullptr;
    QAction* AlterarBg1 = nullptr;
    QAction* Remover1 = nullptr;
    QAction* Centralizado1 = nullptr;
    QAction* Ladoalado1 = nullptr;
    QAction* Esticado1 = nullptr;
    Hooks m_hooks;
};
