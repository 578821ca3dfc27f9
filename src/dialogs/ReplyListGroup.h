#pragma once

#include <QGroupBox>
#include <QString>

#include <array>
#include <functional>

#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"

class EntryListBox;
class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;
class TIniFile;

// One group of the options tab "Respostas": the stored entries of one list (chat phrases or
// whisper texts, each with up to three replies) and the switch that turns their answers on. Every
// add, delete and edit of an entry is written to confs.ini at once and stays after "Cancelar";
// the switch is written by store().
class ReplyListGroup final : public QGroupBox
{
    Q_OBJECT

public:
    // What tells the phrase group from the whisper group: the list and switch in confs.ini and
    // the names and captions of the controls.
    struct Setup
    {
        NumberedList list;
        SettingKey<bool> answering;
        QString group;
        QString answeringBox;
        QString answeringCaption;
        QString entries;
        QString entriesCaption; // what a screen reader calls the list
        QString deleteButton;
        QString text;
        QString textCaption;
        std::array<QString, 3> replies;
        QString addButton;
    };

    // Loads the switch and the list. Errors of the handlers go to prompts' error box.
    ReplyListGroup(TIniFile& ini, Prompts* prompts, Setup setup, QWidget* parent = nullptr);

    void store();

private:
    // The handlers; the phrase group's are btnAddFraseClick, btnDelFraseClick, lstFrasesClick,
    // txtFraseChange and txtResp1Change to txtResp3Change, the whisper group's their twins.
    void addClick();
    void deleteClick();
    void listClick();
    void textChange();
    void replyChange(int reply);

    QString read(int part, int entry) const;
    void write(int part, int entry, const QString& value);
    void emptyFields();
    std::function<void()> guard(std::function<void()> handler);

    TIniFile& FIni;
    Prompts* m_prompts;
    Setup m_setup;
    QCheckBox* m_answering = nullptr;
    EntryListBox* m_entries = nullptr;
    QPushButton* m_delete = nullptr;
    QLineEdit* m_text = nullptr;
    std::array<QLineEdit*, 3> m_replies{};
    QPushButton* m_add = nullptr;
};
