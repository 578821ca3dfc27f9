#pragma once

#include <QWidget>

#include <functional>

class EntryListBox;
class Prompts;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TIniFile;
struct OptionsContext;

// The options dialog's tab "Timers": the synchronized messages, their switch and their period.
// Adding and removing a message is written at once and stays after "Cancelar".
class OptionsTimersTab final : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the settings.
    OptionsTimersTab(TIniFile& ini, const OptionsContext& context, QWidget* parent = nullptr);

    // Writes what this tab stores only when the dialog is confirmed: the switch, then the period.
    // Throws std::runtime_error when the period is no whole number; the period is not written
    // then.
    void store();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void btnAddSincTimerClick();
    void btnDelSincTimerClick();
    void placeSwitch();
    std::function<void()> guard(std::function<void()> handler);

    TIniFile& FIni;
    Prompts* m_prompts;
    QGroupBox* grpTimers = nullptr;
    QGroupBox* grpTimerSinc = nullptr;
    QCheckBox* chkTimers = nullptr;
    EntryListBox* lstSincTimers = nullptr;
    QLineEdit* txtSincTimer = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* txtTempoSinc = nullptr;
    QPushButton* btnAddSincTimer = nullptr;
    QPushButton* btnDelSincTimer = nullptr;
};
