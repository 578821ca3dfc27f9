#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// A program to start, not waiting for it.
struct ProgramStart
{
    QString program;
    QStringList arguments;
    // Windows only, where a program parses its own command line: this text follows the program
    // and the arguments on that command line as it stands. Other systems hand a program a list,
    // and there it must stay empty.
    QString nativeArguments;
    QString workingFolder;
};

// What the program asks of the desktop: open an address or a file in its program, start a
// program. Tests record the requests instead.
class Shell
{
public:
    virtual ~Shell();

    // False when the desktop has nothing to open it with.
    virtual bool openUrl(const QUrl& url) = 0;
    // False when the program could not be started.
    virtual bool startDetached(const ProgramStart& start) = 0;
    // Starts program with arguments in workingFolder.
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingFolder);
    // The full path of a program found on the search path, empty when there is none.
    virtual QString findExecutable(const QString& name) = 0;
};

// The real desktop.
class QtShell final : public Shell
{
public:
    using Shell::startDetached;

    bool openUrl(const QUrl& url) override;
    bool startDetached(const ProgramStart& start) override;
    QString findExecutable(const QString& name) override;
};
