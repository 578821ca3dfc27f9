#pragma once

#include <QDialog>

#include <memory>

#include "dialogs/OptionsContext.h"

class OptionsAppearanceTab;
class OptionsGeneralTab;
class OptionsRepliesTab;
class OptionsTimersTab;
class QLabel;
class QPushButton;
class QTabWidget;
class TIniFile;

// The options dialog "Opções": four tabs loaded from confs.ini when the dialog is created. Some
// controls write their key the moment they change; the rest are written by "OK", which closes
// the dialog as confirmed even when storing fails on the way. "Cancelar" stores nothing further
// and takes back nothing already written.
class TfrmOpcoes final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOpcoes(const OptionsContext& context, QWidget* parent = nullptr);
    ~TfrmOpcoes() override;

    void btnOKClick();

private:
    void FormCreate();

    OptionsContext m_context;
    std::unique_ptr<TIniFile> FIni;
    QWidget* pnlTopo = nullptr;
    QLabel* imgTopo = nullptr;
    QWidget* pnlOptions = nullptr;
    QTabWidget* pcOpcoes = nullptr;
    OptionsGeneralTab* tsGeral = nullptr;
    OptionsAppearanceTab* tsAparencia = nullptr;
    OptionsRepliesTab* tsRespostas = nullptr;
    OptionsTimersTab* tsTimers = nullptr;
    QWidget* pnlRodape = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
