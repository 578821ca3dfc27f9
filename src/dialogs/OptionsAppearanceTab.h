#pragma once

#include <QWidget>

class TIniFile;
struct OptionsContext;

// The options dialog's tab "Aparência".
class OptionsAppearanceTab final : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the settings.
    OptionsAppearanceTab(TIniFile& ini, const OptionsContext& context, QWidget* parent = nullptr);

    // Writes what this tab stores only when the dialog is confirmed.
    void store();

private:
    TIniFile& FIni;
    const OptionsContext& m_context;
};
