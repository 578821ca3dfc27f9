#include "window/TfrmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeView>

#include "dialogs/OptionsContext.h"
#include "dialogs/Prompts.h"
#include "dialogs/TfrmOpcoes.h"
#include "net/TChatInterface.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/Appearance.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/TopStrip.h"
#include "window/TrayIcon.h"
#include "window/UserColumn.h"

void TfrmMain::setupOptionsDialog()
{
    connect(mnuOpcoes, &QAction::triggered, this, guard([this] { mnuOpcoesClick(); }));
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
    context.opMode = opMode();
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
    FLogin = Settings::read(*FIni, Keys::Geral::Login);
    FSenha = Settings::read(*FIni, Keys::Geral::Senha);
    ChatInterface1->Address = Settings::read(*FIni, Keys::Geral::Servidor);
    m_trayIcon->applyTrayOptions();
    FRespFrase = Settings::read(*FIni, Keys::Respostas::RespFrase);
    FRespWhisp = Settings::read(*FIni, Keys::Respostas::RespWhisp);
    FHorario = Settings::read(*FIni, Keys::Aparencia::HorarioMsg);
    applySyncOptions();
    m_appearance->carregaAparencia();
    // The entries take the new rank colours.
    m_userColumn->lstUsers->viewport()->update();
}
