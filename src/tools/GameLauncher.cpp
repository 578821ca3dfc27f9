#include "tools/GameLauncher.h"

#include <QFileInfo>
#include <QProcess>

#include "tools/Shell.h"

GameLauncher::GameLauncher(Shell& shell) : m_shell(shell) {}

bool GameLauncher::needsWine(const QString& executable)
{
#ifdef Q_OS_WIN
    Q_UNUSED(executable);
    return false;
#else
    return executable.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive);
#endif
}

GameLauncher::Outcome GameLauncher::start(const QString& executable, const QString& parameters)
{
    // The program starts directly, so no argument list comes from a shell: the text is split here.
    const QStringList arguments = QProcess::splitCommand(parameters);
    const QString folder = QFileInfo(executable).absolutePath();
    if (!needsWine(executable)) {
        m_shell.startDetached(executable, arguments, folder);
        return Outcome::Asked;
    }
    const QString wine = m_shell.findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return Outcome::WineMissing;
    m_shell.startDetached(wine, QStringList{executable} + arguments, folder);
    return Outcome::Asked;
}
