#pragma once

#include "tools/Shell.h"

#include <QStringList>
#include <QUrl>

#include <functional>

// Records what the window asks of the desktop instead of doing it.
class RecordingShell final : public Shell
{
public:
    // The program, its arguments, the native command-line text and the working folder.
    using Start = ProgramStart;

    QList<QUrl> opened;
    QList<Start> started;
    // Programs findExecutable finds, by name, as full paths.
    QStringList installed;
    bool succeeds = true;
    // Runs inside every openUrl and startDetached, while the window waits for the answer.
    std::function<void()> whileAsked;

    using Shell::startDetached;

    bool openUrl(const QUrl& url) override;
    bool startDetached(const ProgramStart& start) override;
    QString findExecutable(const QString& name) override;
};
