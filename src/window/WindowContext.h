#pragma once

#include <QString>

#include <functional>

class ChatView;
class Prompts;
class QWidget;
class Shell;
class TIniFile;

// What a feature of the main window may use of the window itself: the one gate to the server,
// the panes, the settings, the prompts and the desktop, and who is chosen in the user list. A
// feature gets it at construction; any control, action or other feature it needs is handed to it
// by name there too, never found through the window.
class WindowContext
{
public:
    virtual ~WindowContext() = default;

    // Every line to the server leaves through here. While the login awaits the server's answer
    // the line is dropped and the channel pane says so.
    virtual void sendLine(const QString& line) = 0;
    // For a line the user typed: true when the gate would drop it now. The pane has said so and
    // the input line has the keyboard again; the caller keeps the text where it is.
    virtual bool holdsBackLine() = 0;
    // Logged in, and the server has taken the login.
    virtual bool loggedIn() const = 0;
    // The account this session logs in with.
    virtual QString login() const = 0;
    // The channel the server last put us in.
    virtual QString channel() const = 0;
    // The account chosen in the user list; empty: none.
    virtual QString selectedUser() const = 0;

    // Pane writers: talk, emote, information and error lines in the channel pane, whispers
    // (direction 1: sent, 0: received) in the whisper pane.
    virtual void mensagem(const QString& account, const QString& text) = 0;
    virtual void emote(const QString& account, const QString& text) = 0;
    virtual void info(const QString& text) = 0;
    virtual void erro(const QString& text) = 0;
    virtual void whisp(int direction, const QString& account, const QString& text) = 0;
    virtual ChatView* chatPane() const = 0;
    virtual ChatView* whisperPane() const = 0;
    // Lays a pane out after a write and, while auto-scroll is on, shows its end.
    virtual void scrollPane(ChatView* pane) = 0;
    // Gives the keyboard back to the input line, as after a button or a menu item.
    virtual void focusInputLine() = 0;

    virtual TIniFile* settings() const = 0;
    virtual Prompts& prompts() const = 0;
    virtual Shell* shell() const = 0;
    // The folder of confs.ini, with its trailing slash.
    virtual QString settingsFolder() const = 0;
    // The main window, as the parent of dialogs and boxes.
    virtual QWidget* dialogParent() = 0;

    // Runs a handler; an exception it raises is shown in the error box and the program goes on.
    virtual void guarded(const std::function<void()>& handler) = 0;
    // A slot that runs handler guarded: every handler a feature connects goes through one.
    std::function<void()> guard(std::function<void()> handler);
};
