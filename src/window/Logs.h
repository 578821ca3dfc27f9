#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

class ChatView;
class PaneLinks;
class QAction;
class QTimer;
class QToolButton;
class QWidget;
class WindowContext;

// The panes' logs, the channel text handed to the text editor, select-all in a pane and the
// search window. Owns tmrNotepad, the editor's file and the log type chosen last; touches the
// panes, the prompts and the settings folder through the window, and reports an editor that
// cannot be started through the pane links.
class Logs final : public QObject
{
    Q_OBJECT
public:
    // What the logs need of the window beyond its context.
    struct Hooks
    {
        // The channel the user is in, as the title of the channel's HTML log names it.
        std::function<QString()> channel;
        // Puts the channel pane's background picture back as the settings place it.
        std::function<void()> ajustaFundoChat;
    };

    // window: the main window, whose focused pane chooses what to save or select. The actions
    // and btnNotepad are the window's; none is owned.
    Logs(WindowContext& ctx, PaneLinks& paneLinks, Hooks hooks, QWidget* window,
         QAction* mnuSalvarChat, QAction* mnuSalvarWhisps, QAction* SalvarLog1,
         QToolButton* btnNotepad, QAction* selectAll, QAction* CtrlF, QObject* parent);

    void mnuSalvarChatClick();
    void mnuSalvarWhispsClick();
    void SalvarLog1Click();
    void btnNotepadClick();
    void selectAllExecute();
    void CtrlFExecute();
    // Tests shorten the wait before the file handed to the text editor is removed, and the time
    // after which closing the window may remove it.
    void setNotepadDelayForTests(int ms);
    void setNotepadReadTimeForTests(int ms);
    // When the window closes: removes the editor's file once the editor has had time to read it.
    void releaseNotepadFile();

private:
    void salvarLog(ChatView* pane);

    WindowContext& m_ctx;
    PaneLinks& m_paneLinks;
    Hooks m_hooks;
    QWidget* m_window = nullptr;
    QTimer* tmrNotepad = nullptr;
    // Since the text editor was last asked to open the file.
    QElapsedTimer m_notepadStarted;
    int m_notepadReadMs = 0;
    // The type of log chosen last, as its entry of the save dialog's filter.
    QString m_logFilter;
};
