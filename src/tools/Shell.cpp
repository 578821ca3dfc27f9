#include "tools/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

Shell::~Shell() = default;

bool QtShell::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool QtShell::startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

QString QtShell::findExecutable(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}
