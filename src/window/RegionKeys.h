#pragma once

#include <QList>
#include <QObject>

class BottomStrip;
class ChatColumn;
class InputLine;
class UserColumn;
class WindowContext;

// Moving through the window by keyboard: F6 and Shift+F6 go from region to region (the input
// line, the channel pane, the whisper pane, the user list, the suspect list), Shift+F10 opens the
// focused control's context menu (the Menu key does so through the window system). Owns the
// three actions, added to the window; reads the regions only to give one the keyboard.
class RegionKeys final : public QObject
{
    Q_OBJECT
public:
    // None of the arguments is owned.
    RegionKeys(WindowContext& context, QWidget* window, const InputLine* input,
               const BottomStrip* bottom, const ChatColumn* chat, const UserColumn* users);

private:
    QList<QWidget*> focusStops() const;

    const InputLine* m_input;
    const BottomStrip* m_bottom;
    const ChatColumn* m_chat;
    const UserColumn* m_users;
};
