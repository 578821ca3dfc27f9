#pragma once

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class BottomStrip;
class ChatColumn;
class QKeyEvent;
class TFastNicks;
class TopStrip;
class UserColumn;
class WindowContext;

// The input line and how the keyboard reaches it: "Enviar" and "Emote", the history of sent
// lines (Up, Down), nick completion (Tab), which button Enter presses (the input line's or a
// locked whisper line's), Enter in the lists, the window's shortcuts over a line edit's own keys,
// and text typed in a pane going to the input line used last. Owns the application-wide key
// filter; touches the bottom strip, the away and do not disturb buttons, and reads the panes and
// lists only to recognise them.
class InputLine final : public QObject
{
    Q_OBJECT
public:
    // What the input line hands to others.
    struct Hooks
    {
        // Carries out a client command; false: the line is not one.
        std::function<bool(const QString& line)> clientCommand;
        // The keyboard entered locked whisper line N.
        std::function<void(int N)> lockEntered;
    };

    // window is the main window: its shortcuts and its focus. None of the arguments is owned.
    InputLine(WindowContext& context, QWidget* window, TopStrip* top, ChatColumn* chat,
              UserColumn* users, BottomStrip* bottom, TFastNicks* nicks, Hooks hooks);
    ~InputLine() override;

    // The input line or locked whisper line that had the keyboard last; nullptr: none yet.
    QLineEdit* lastInput() const { return m_lastInput; }

    void btnEnviarClick();
    void btnEmoteClick();

protected:
    // Installed on the application: sees every event before its receiver, like a message hook.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void txtMsgChange(const QString& text);
    void txtMsgEnter();
    bool txtMsgKeyDown(int key);
    void txtWhispEnter(int tag);
    bool ApplicationEvents1Message(QObject* receiver, QKeyEvent* event);
    void pressDefaultButton();
    bool listEnter(QObject* receiver, const QKeyEvent* event);
    bool claimsShortcut(const QKeyEvent* event) const;
    void noteInputLine(QObject* watched);
    bool typeIntoInputLine(QObject* receiver, const QKeyEvent* event);

    WindowContext& m_ctx;
    QWidget* m_window;
    TopStrip* m_top;
    ChatColumn* m_chat;
    UserColumn* m_users;
    BottomStrip* m_bottom;
    TFastNicks* m_nicks;
    Hooks m_hooks;
    QPointer<QLineEdit> m_lastInput;
};
