#pragma once

#include <QString>

class ChatView;
class Prompts;
class QTreeView;
class StyleTable;

// What the options dialog reaches in the main window: the appearance tab changes the styles,
// the panes and the user list at once.
struct OptionsContext
{
    QString settingsPath; // confs.ini
    Prompts* prompts = nullptr;
    StyleTable* styles = nullptr;
    ChatView* chatPane = nullptr;    // txtChat
    ChatView* whisperPane = nullptr; // txtWhisps
    QTreeView* userList = nullptr;   // lstUsers
    bool opMode = false;             // the suspect list's switch is shown only in operator mode
};
