#include "tools/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

Shell::~Shell() = default;

bool Shell::startDetached(const QString& program, const QStringList& arguments,
                          const QString& workingFolder)
{
    return startDetached(ProgramStart{program, arguments, QString(), workingFolder});
}

bool QtShell::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtShell::startDetached(const ProgramStart& start)
{
    QProcess process;
    process.setProgram(start.program);
    process.setArguments(start.arguments);
#ifdef Q_OS_WIN
    process.setNativeArguments(start.nativeArguments);
#else
    Q_ASSERT(start.nativeArguments.isEmpty());
#endif
    process.setWorkingDirectory(start.workingFolder);
    return process.startDetached();
}

QString QtShell::findExecutable(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}
