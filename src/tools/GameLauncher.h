#pragma once

#include <QString>

class Shell;

// Starts an installed game: its executable, in the executable's folder, with the game's
// parameters, one text passed on unchanged. On Windows the game receives the text as its command
// line as it stands. Elsewhere a Windows executable (".exe") runs through Wine, which gets the
// text split by the Windows rules the game itself would apply, and any other program gets it
// split as a POSIX shell would.
class GameLauncher final
{
public:
    enum class Outcome
    {
        Asked,      // the start was handed to the desktop; whether the game runs is its business
        WineMissing // a Windows executable on a system without Wine
    };

    enum class Platform
    {
        Windows,
        Posix
    };

    // The platform this program was built for.
    static Platform hostPlatform();

    explicit GameLauncher(Shell& shell, Platform platform = hostPlatform());

    Outcome start(const QString& executable, const QString& parameters);

private:
    Shell& m_shell;
    Platform m_platform;
};
