#pragma once

#include "tools/Shell.h"

#include <QStringList>
#include <QUrl>

#include <functional>

// Records what the window asks of the desktop instead of doing it.
class RecordingShell final : public Shell
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingFolder;
    };

    QList<QUrl> opened;
    QList<Start> started;
    // Programs findExecutable finds, by name, as full paths.
    QStringList installed;
    bool succeeds = true;
    // Runs inside every openUrl and startDetached, while the window waits for the answer.
    std::function<void()> whileAsked;

    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override;
    QString findExecutable(const QString& name) override;
};
