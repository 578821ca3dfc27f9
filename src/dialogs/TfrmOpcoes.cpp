#include "dialogs/TfrmOpcoes.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/OptionsAppearanceTab.h"
#include "dialogs/OptionsGeneralTab.h"
#include "dialogs/OptionsRepliesTab.h"
#include "dialogs/OptionsTimersTab.h"
#include "dialogs/Prompts.h"
#include "settings/TIniFile.h"

TfrmOpcoes::TfrmOpcoes(const OptionsContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmOpcoes"));
    setWindowTitle(QStringLiteral("Opções"));
    FormCreate();
}

TfrmOpcoes::~TfrmOpcoes() = default;

void TfrmOpcoes::FormCreate()
{
    FIni = std::make_unique<TIniFile>(m_context.settingsPath);
    auto* layout = new QVBoxLayout(this);
    pcOpcoes = new QTabWidget(this);
    pcOpcoes->setObjectName(QStringLiteral("pcOpcoes"));
    tsGeral = new OptionsGeneralTab(*FIni, m_context, pcOpcoes);
    tsAparencia = new OptionsAppearanceTab(*FIni, m_context, pcOpcoes);
    tsRespostas = new OptionsRepliesTab(*FIni, m_context, pcOpcoes);
    tsTimers = new OptionsTimersTab(*FIni, m_context, pcOpcoes);
    pcOpcoes->addTab(tsGeral, QStringLiteral("Geral"));
    pcOpcoes->addTab(tsAparencia, QStringLiteral("Aparência"));
    pcOpcoes->addTab(tsRespostas, QStringLiteral("Respostas"));
    pcOpcoes->addTab(tsTimers, QStringLiteral("Timers"));
    layout->addWidget(pcOpcoes);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* footer = new QHBoxLayout;
    footer->addStretch();
    footer->addWidget(btnOK);
    footer->addWidget(btnCancel);
    layout->addLayout(footer);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        // Confirmed before the handler runs: a failure on the way still closes as "OK".
        setResult(QDialog::Accepted);
        try {
            btnOKClick();
        } catch (const std::exception& e) {
            m_context.prompts->errorBox(this, QString::fromUtf8(e.what()));
        }
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmOpcoes::btnOKClick()
{
    tsGeral->store();
    tsAparencia->store();
    tsRespostas->store();
    tsTimers->store();
}
