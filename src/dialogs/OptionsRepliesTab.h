#pragma once

#include <QWidget>

class ReplyListGroup;
class TIniFile;
struct OptionsContext;

// The options dialog's tab "Respostas": the chat phrases and the whisper texts the automatic
// replies answer, each with its replies.
class OptionsRepliesTab final : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the settings.
    OptionsRepliesTab(TIniFile& ini, const OptionsContext& context, QWidget* parent = nullptr);

    // Writes what this tab stores only when the dialog is confirmed: the two reply switches.
    void store();

private:
    ReplyListGroup* grpRespFrases = nullptr;
    ReplyListGroup* grpRespWhisp = nullptr;
};
