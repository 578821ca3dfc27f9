#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// What the program asks of the desktop: open an address or a file in its program, start a
// program. Tests record the requests instead.
class Shell
{
public:
    virtual ~Shell();

    // False when the desktop has nothing to open it with.
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts program with arguments in workingFolder, not waiting for it; false when it could not
    // be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) = 0;
    // The full path of a program found on the search path, empty when there is none.
    virtual QString findExecutable(const QString& name) = 0;
};

// The real desktop.
class QtShell final : public Shell
{
public:
    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder) override;
    QString findExecutable(const QString& name) override;
};
