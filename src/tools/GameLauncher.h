#pragma once

#include <QString>
#include <QStringList>

class Shell;

// Starts an installed game: its executable, in the executable's folder, with the game's
// parameters. On Linux a Windows executable (".exe") runs through Wine.
class GameLauncher final
{
public:
    enum class Outcome
    {
        Asked,      // the start was handed to the desktop; whether the game runs is its business
        WineMissing // a Windows executable on a system without Wine
    };

    explicit GameLauncher(Shell& shell);

    // parameters is one text, split into arguments as a shell would split it.
    Outcome start(const QString& executable, const QString& parameters);

    // True where the executable must be run through Wine.
    static bool needsWine(const QString& executable);

private:
    Shell& m_shell;
};
