#include "window/Games.h"

#include <QAction>
#include <QMenu>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "tools/GameLauncher.h"
#include "window/WindowContext.h"

Games::Games(WindowContext& ctx, QMenu* popGames, QObject* parent) : QObject(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("Games"));
    const struct
    {
        const char* name;
        void (Games::*handler)();
    } games[] = {
        {"popGD2", &Games::popGD2Click},
        {"popGSC", &Games::popGSCClick},
        {"popGW3", &Games::popGW3Click},
        {"popGW3XP", &Games::popGW3XPClick},
    };
    for (const auto& game : games) {
        auto handler = game.handler;
        connect(popGames->findChild<QAction*>(QLatin1String(game.name)), &QAction::triggered, this,
                m_ctx.guard([this, handler] { (this->*handler)(); }));
    }
}

// The paths are read at each start, so a path changed in the options applies at once.

void Games::popGD2Click()
{
    startGame(Settings::read(*m_ctx.settings(), Keys::Geral::CaminhoD2XP),
              Settings::read(*m_ctx.settings(), Keys::Geral::D2Param),
              QStringLiteral("Você deve definir o caminho onde está instalado o Diablo II"));
}

void Games::popGSCClick()
{
    startGame(Settings::read(*m_ctx.settings(), Keys::Geral::CaminhoSTAR), QString(),
              QStringLiteral("Você deve definir o caminho onde está instalado o Starcraft"));
}

// Both items of the third game start the same executable; "-classic" makes it start the base
// game instead of its expansion.
void Games::popGW3Click()
{
    startGame(Settings::read(*m_ctx.settings(), Keys::Geral::CaminhoWAR3),
              QStringLiteral("-classic"),
              QStringLiteral("Você deve definir o caminho onde está instalado o Warcraft III"));
}

void Games::popGW3XPClick()
{
    startGame(Settings::read(*m_ctx.settings(), Keys::Geral::CaminhoWAR3), QString(),
              QStringLiteral("Você deve definir o caminho onde está instalado o Warcraft III"));
}

// A game that does not start is not reported: the game and its path are the user's business.
void Games::startGame(const QString& executable, const QString& parameters,
                      const QString& missingPathMessage)
{
    if (executable.isEmpty()) {
        m_ctx.prompts().warningBox(m_ctx.dialogParent(), missingPathMessage);
    } else if (GameLauncher(*m_ctx.shell()).start(executable, parameters) ==
               GameLauncher::Outcome::WineMissing) {
        m_ctx.prompts().warningBox(
            m_ctx.dialogParent(),
            QStringLiteral("Não foi possível iniciar o jogo: o Wine não está instalado."));
    }
    m_ctx.focusInputLine();
}
