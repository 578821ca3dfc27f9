#pragma once

#include <QObject>
#include <QString>

class BottomStrip;
class LockedWhisperPanel;
class QAction;
class QCheckBox;
class WindowContext;

// The locked whisper lines of the main window: up to five one-line whisper boxes above the input
// line, each bound to an account. The open lines are always lines 1 to FNumLocks, without gaps.
// It owns the lines' handlers and the bottom strip's height, sends through the window's gate and
// scrolls the channel pane to its end while auto-scroll is on.
class TLockWhisps final : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxLocks = 5;

    // LockarWhisp1: the user list's "Lockar Whisp", which locks the chosen account.
    TLockWhisps(WindowContext& ctx, BottomStrip* strip, QCheckBox* chkAutoScroll,
                QAction* LockarWhisp1, QObject* parent);

    // Opens the next line for the account and gives its edit the focus; with every line open,
    // warns and changes nothing.
    void addLock(const QString& account);
    // Closes line K (1..FNumLocks): the later lines move down one, each with its account and
    // the text typed in it.
    void delLock(int K);
    // Whispers line N's text to its account and empties the edit; an empty edit sends nothing.
    void whispar(int N);
    // Enter in line N's edit presses its "Whispar".
    void selecionaCampo(int N);
    void whois(int N);
    int getNumLocks() const { return FNumLocks; }

    // Shared by the five lines; Sender's Tag is the line's number.
    void btnWhispar1Click(QObject* Sender);
    void btnFecharWhispLock1Click(QObject* Sender);
    void lblAccWhisp1Click(QObject* Sender);
    void LockarWhisp1Click();

protected:
    // A click on a line's account label asks the server who it is.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LockedWhisperPanel* panel(int N) const;
    // The bottom strip is one input line high plus one line for each open lock.
    void fitStrip();

    WindowContext& m_ctx;
    BottomStrip* m_strip;
    QCheckBox* chkAutoScroll;
    int FNumLocks = 0;
};
