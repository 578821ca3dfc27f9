#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The real program, copied into a folder of its own beside a prepared confs.ini, started on the X
// display of the test (xcb) and worked from outside as a user works it: keys go through the X
// server with xdotool into its focused main window. The program takes no arguments, so this is
// the only way to drive it. Every wait spins the test's event loop, so a server in the test keeps
// answering meanwhile.
class ChatProgram final
{
public:
    // The lines of confs.ini, written in Windows-1252 with CR LF as the program keeps the file.
    explicit ChatProgram(const QStringList& confs);
    // Kills the program when it is still running.
    ~ChatProgram();

    ChatProgram(const ChatProgram&) = delete;
    ChatProgram& operator=(const ChatProgram&) = delete;

    // The executable this suite works, and whether the X display and xdotool are there.
    static QString executable();
    static QString missingTools();

    // Starts the program and waits for its main window.
    bool start();
    QString folder() const { return m_dir.path(); }
    bool running() const;

    // Keys and text go to the main window, or to the program's window whose title matches the
    // pattern (a dialog): the main window takes no keys while a dialog is open.
    bool useWindow(const QString& titlePattern);
    void useMainWindow() { m_target = m_window; }

    // Keys as xdotool names them ("Return", "ctrl+n", "shift+Tab"), one argument per key, typed
    // into the window in use after focusing it.
    bool key(const QStringList& keys);
    bool key(const QString& keys) { return key(QStringList{keys}); }
    // Clicks the window in use at a point given from its bottom edge: xFraction of its width from
    // the left, aboveBottom pixels up from the bottom; button 3 is the right one.
    bool clickFromBottom(double xFraction, int aboveBottom, int button = 1);
    // Types the text into the focused control of the window in use (ASCII only: the display's
    // keyboard map has no other letters).
    bool type(const QString& text);
    // Types the text and presses Enter.
    bool sendLine(const QString& text);

    // "Conectar" by its shortcut, Ctrl+N. The waiting dialog shows before the program connects.
    bool pressConnect();
    // The waiting dialog closes at its first tick after the login was sent. It may be gone before
    // a search sees it: wait for the login at the server first.
    bool waitForConnectDialogToClose();
    // Opens the "&Arquivo" menu and closes it. Once it showed, every key typed before it has been
    // handled: keys reach the program in order.
    bool settle();
    // A visible window of the program whose title matches the pattern, within the time.
    bool waitForWindow(const QString& titlePattern, bool shown, int timeoutMs = 5000);
    // A menu of the program opening or closing over `windows` windows of its own (the main
    // window, and a dialog when one is open).
    bool waitForPopup(bool shown, int windows = 1);
    // "Sair" in the "&Arquivo" menu, then waits for the program to end.
    bool quit(int timeoutMs = 10000);
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }

    // What the program wrote to its standard error, for a failing test's report.
    QByteArray diagnostics();

private:
    bool xdo(const QStringList& args, QByteArray* out = nullptr) const;
    // Every window of the program, or those whose title matches a pattern.
    QStringList visibleWindows(const QString& titlePattern) const;

    QTemporaryDir m_dir;
    QStringList m_confs;
    QProcess m_process;
    QByteArray m_stderr;
    QString m_window;
    QString m_target; // the window that takes keys
};
