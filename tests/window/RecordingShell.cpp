#include "RecordingShell.h"

#include <QFileInfo>

bool RecordingShell::openUrl(const QUrl& url)
{
    opened << url;
    if (whileAsked)
        whileAsked();
    return succeeds;
}

bool RecordingShell::startDetached(const ProgramStart& start)
{
    started << start;
    if (whileAsked)
        whileAsked();
    return succeeds;
}

QString RecordingShell::findExecutable(const QString& name)
{
    for (const QString& path : installed)
        if (QFileInfo(path).fileName() == name)
            return path;
    return QString();
}
