#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QCheckBox;
class SyncMessages;
class TLockWhisps;
class UserListModel;
class WindowContext;

// Carries out the client's own commands typed into the input line: "/lock", "/ascroll",
// "/acset", "/opmode" and "/achelp". It has no state of its own: it writes to the channel pane and
// the settings, opens locked whisper lines, starts and stops the synchronized messages, and
// reaches the rest of the window only through its hooks.
class TComandos final
{
public:
    struct Hooks
    {
        // Switches auto-scroll over, as a double click on "Auto-Rolagem" does.
        std::function<void()> toggleAutoScroll;
        // Operator mode is on.
        std::function<bool()> opMode;
        // Switches operator mode on.
        std::function<void()> enterOpMode;
    };

    // users finds the own account's flags; chkAutoScroll says whether the help ends scrolled.
    TComandos(WindowContext& ctx, TLockWhisps* locks, SyncMessages* sync, UserListModel* users,
              QCheckBox* chkAutoScroll, Hooks hooks);

    // True when the line is a client command; it has then been carried out, whatever it reported,
    // and must not reach the server.
    bool analisar(const QString& line);

private:
    void lockaWhisps(const QStringList& words);
    void alteraOpcao(const QStringList& words);
    void ativaOpMode();
    void mostraAjuda(const QStringList& words);

    // A line of its own in the channel pane, laid out at once.
    void report(const QString& text, int style);
    void helpLine(const QString& text);
    // "syntax", tabs to line up the description, then the description, on one line.
    void helpEntry(const QString& syntax, int tabs, const QString& description);

    WindowContext& m_ctx;
    TLockWhisps* m_locks;
    SyncMessages* m_sync;
    UserListModel* m_users;
    QCheckBox* chkAutoScroll;
    Hooks m_hooks;
};
