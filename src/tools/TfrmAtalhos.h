#pragma once

#include <QChar>

#include "tools/BannerDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Configurar atalhos ...": the phrase bound to each Ctrl+Alt+letter (section Atalhos). Every
// change is written at once, so "Cancelar" takes nothing back and the main window, which reads
// the bindings at each key press, uses a change at once.
class TfrmAtalhos final : public BannerDialog
{
    Q_OBJECT

public:
    TfrmAtalhos(const QString& settingsPath, Prompts& prompts, QWidget* parent = nullptr);

    void cmbAtalhoChange();
    void txtFraseChange();
    void chkAutoClick();

private:
    void FormCreate();

    QComboBox* cmbAtalho = nullptr;
    QLineEdit* txtFrase = nullptr;
    QCheckBox* chkAuto = nullptr;
    // The letter being edited.
    QChar FLetra;
};
