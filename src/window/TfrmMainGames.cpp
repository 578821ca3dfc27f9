#include "window/TfrmMain.h"

#include <QLineEdit>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/GameLauncher.h"
#include "window/BottomStrip.h"

// The paths are read at each start, so a path changed in the options applies at once.

void TfrmMain::popGD2Click()
{
    startGame(Settings::read(*FIni, Keys::Geral::CaminhoD2XP),
              Settings::read(*FIni, Keys::Geral::D2Param),
              QStringLiteral("Você deve definir o caminho onde está instalado o Diablo II"));
}

void TfrmMain::popGSCClick()
{
    startGame(Settings::read(*FIni, Keys::Geral::CaminhoSTAR), QString(),
              QStringLiteral("Você deve definir o caminho onde está instalado o Starcraft"));
}

// Both items of the third game start the same executable; "-classic" makes it start the base
// game instead of its expansion.
void TfrmMain::popGW3Click()
{
    startGame(Settings::read(*FIni, Keys::Geral::CaminhoWAR3), QStringLiteral("-classic"),
              QStringLiteral("Você deve definir o caminho onde está instalado o Warcraft III"));
}

void TfrmMain::popGW3XPClick()
{
    startGame(Settings::read(*FIni, Keys::Geral::CaminhoWAR3), QString(),
              QStringLiteral("Você deve definir o caminho onde está instalado o Warcraft III"));
}

// A game that does not start is not reported: the game and its path are the user's business.
void TfrmMain::startGame(const QString& executable, const QString& parameters,
                         const QString& missingPathMessage)
{
    if (executable.isEmpty()) {
        m_prompts->warningBox(this, missingPathMessage);
    } else if (GameLauncher(*m_shell).start(executable, parameters) ==
               GameLauncher::Outcome::WineMissing) {
        m_prompts->warningBox(
            this, QStringLiteral("Não foi possível iniciar o jogo: o Wine não está instalado."));
    }
    m_bottomStrip->txtMsg->setFocus();
}
