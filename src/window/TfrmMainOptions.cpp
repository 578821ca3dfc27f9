#include "window/TfrmMain.h"

#include <QLineEdit>
#include <QToolButton>
#include <QTreeView>

#include "dialogs/OptionsContext.h"
#include "dialogs/Prompts.h"
#include "dialogs/TfrmOpcoes.h"
#include "window/Appearance.h"
#include "window/AutoLogs.h"
#include "window/AutoReconnect.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/ConnectionControl.h"
#include "window/MainMenus.h"
#include "window/Mentions.h"
#include "window/Moderation.h"
#include "window/Panes.h"
#include "window/ReplySender.h"
#include "window/SpellCheck.h"
#include "window/SyncMessages.h"
#include "window/TopStrip.h"
#include "window/TrayIcon.h"
#include "window/UserColumn.h"

void TfrmMain::setupOptionsDialog()
{
    connect(m_menus->mnuOpcoes, &QAction::triggered, this, guard([this] { mnuOpcoesClick(); }));
    connect(m_topStrip->btnOpcoes, &QToolButton::clicked, this,
            guard([this] { btnOpcoesClick(); }));
}

// A new dialog each time, loaded from the file as it is now; the window takes the settings
// again only when the dialog was confirmed.
void TfrmMain::mnuOpcoesClick()
{
    m_chatColumn->txtChat->setFocus();
    OptionsContext context;
    context.settingsPath = settingsFolder() + QStringLiteral("confs.ini");
    context.prompts = m_prompts;
    context.styles = styles();
    context.chatPane = chatPane();
    context.whisperPane = whisperPane();
    context.userList = m_userColumn->lstUsers;
    context.opMode = m_moderation->opMode();
    TfrmOpcoes dialog(context, this);
    if (m_prompts->exec(dialog) == QDialog::Accepted)
        guarded([this] { applyOptions(); });
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::btnOpcoesClick()
{
    mnuOpcoesClick();
}

void TfrmMain::applyOptions()
{
    m_connection->applyOptions();
    m_reconnect->applyOptions();
    m_trayIcon->applyTrayOptions();
    m_replies->applyOptions();
    m_panes->applyOptions();
    m_mentions->applyOptions();
    m_sync->applySyncOptions();
    m_appearance->carregaAparencia();
    m_spellCheck->applyOptions();
    m_autoLogs->applyOptions();
    // The entries take the new rank colours.
    m_userColumn->lstUsers->viewport()->update();
}
