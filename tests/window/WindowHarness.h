#pragma once

#include "FakeServer.h"
#include "RecordingShell.h"
#include "ScriptedPrompts.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <memory>

class ChatView;
class QSystemTrayIcon;
class TfrmMain;
struct ChatPiece;

// A main window on a temporary settings folder, answering its dialogs from a script, pointed at
// a loopback fake server.
class WindowHarness
{
public:
    // The lines of confs.ini (joined with CR LF); no lines: no file at all.
    explicit WindowHarness(const QStringList& ini = {});
    ~WindowHarness();

    // Creates the window (again, after close()) and shows it.
    void open();
    // Closes and destroys the window; its settings stay in the folder.
    void close();
    // Clicks "Conectar" and waits until the server has the login line and the window has its
    // confirmation.
    bool connectToServer();
    // Sends a server line, then an information marker, and waits until the marker is shown, so
    // the first line has been handled whatever it did.
    bool serverLine(const QString& line);

    QString path(const QString& name) const;
    QString iniText() const;

    static int paragraphs(const ChatView* pane);
    // back = 0: the last paragraph, 1: the one before it...
    static QString lastText(const ChatView* pane, int back = 0);
    // The pieces of a paragraph that hold text, each as "text|style".
    static QStringList lastPieces(const ChatView* pane, int back = 0);
    // Lets every queued reaction of the window run: a marker queued now runs after them.
    static bool settle(TfrmMain* window);
    static QSystemTrayIcon* trayIcon(TfrmMain* window);

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    RecordingShell shell;
    FakeServer server;
    std::unique_ptr<TfrmMain> window;
    // What the channel pane held when the window opened, as lastPieces gives each paragraph; the
    // pane is emptied then, so a test sees only what it caused.
    QList<QStringList> startLines;
    // The server takes every login at once, answering "2010 NAME" with the account it was given.
    bool confirmLogins = true;

private:
    void confirmLogin(int client);

    int m_marks = 0;
    QList<int> m_confirmed;
};
