#include "tools/GameLauncher.h"

#include <QFileInfo>

#include "core/ArgumentSplitter.h"
#include "tools/Shell.h"

GameLauncher::Platform GameLauncher::hostPlatform()
{
#ifdef Q_OS_WIN
    return Platform::Windows;
#else
    return Platform::Posix;
#endif
}

GameLauncher::GameLauncher(Shell& shell, Platform platform) : m_shell(shell), m_platform(platform)
{
}

GameLauncher::Outcome GameLauncher::start(const QString& executable, const QString& parameters)
{
    ProgramStart game;
    game.workingFolder = QFileInfo(executable).absolutePath();
    if (m_platform == Platform::Windows) {
        game.program = executable;
        game.nativeArguments = parameters;
    } else if (executable.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        // Wine builds the game's command line again from the list, so the game reads the
        // arguments the text stands for on Windows, backslashes of its paths included.
        game.program = m_shell.findExecutable(QStringLiteral("wine"));
        if (game.program.isEmpty())
            return Outcome::WineMissing;
        game.arguments = QStringList{executable} + ArgumentSplitter::windows(parameters);
    } else {
        game.program = executable;
        game.arguments = ArgumentSplitter::posix(parameters);
    }
    m_shell.startDetached(game);
    return Outcome::Asked;
}
