#include "dialogs/TfrmOpcoes.h"

#include <exception>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"
#include "dialogs/OptionsAppearanceTab.h"
#include "dialogs/OptionsGeneralTab.h"
#include "dialogs/OptionsRepliesTab.h"
#include "dialogs/OptionsTimersTab.h"
#include "dialogs/PictureLabel.h"
#include "dialogs/Prompts.h"
#include "resources/Pictures.h"
#include "settings/TIniFile.h"

namespace {
constexpr int ClientWidth = 472;
constexpr int ClientHeight = 507;
constexpr int TopHeight = 40;
constexpr int BottomHeight = 34;
} // namespace

TfrmOpcoes::TfrmOpcoes(const OptionsContext& context, QWidget* parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmOpcoes"));
    setWindowTitle(QStringLiteral("Opções"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);
    FormCreate();
    // Never smaller than drawn; larger where the tabs' captions grew them.
    setFixedSize(QSize(ClientWidth, ClientHeight).expandedTo(layout()->totalMinimumSize()));
    // Drawn for the width the dialog took.
    imgTopo = new PictureLabel(
        [width = width()](qreal ratio) { return Pictures::dialogBanner(width, ratio); }, pnlTopo);
    imgTopo->setObjectName(QStringLiteral("imgTopo"));
    imgTopo->setGeometry(0, 0, width(), TopHeight);
    DialogPlacement::centreOnScreen(*this);
}

TfrmOpcoes::~TfrmOpcoes() = default;

void TfrmOpcoes::FormCreate()
{
    FIni = std::make_unique<TIniFile>(m_context.settingsPath);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlTopo = new QWidget(this);
    pnlTopo->setObjectName(QStringLiteral("pnlTopo"));
    pnlTopo->setFixedHeight(TopHeight);
    layout->addWidget(pnlTopo);

    pnlOptions = new QWidget(this);
    pnlOptions->setObjectName(QStringLiteral("pnlOptions"));
    auto* options = new QVBoxLayout(pnlOptions);
    options->setContentsMargins(5, 5, 5, 5);
    pcOpcoes = new QTabWidget(pnlOptions);
    pcOpcoes->setObjectName(QStringLiteral("pcOpcoes"));
    pcOpcoes->setAccessibleName(QStringLiteral("Opções"));
    tsGeral = new OptionsGeneralTab(*FIni, m_context, pcOpcoes);
    tsAparencia = new OptionsAppearanceTab(*FIni, m_context, pcOpcoes);
    tsRespostas = new OptionsRepliesTab(*FIni, m_context, pcOpcoes);
    tsTimers = new OptionsTimersTab(*FIni, m_context, pcOpcoes);
    pcOpcoes->addTab(tsGeral, QStringLiteral("Geral"));
    pcOpcoes->addTab(tsAparencia, QStringLiteral("Aparência"));
    pcOpcoes->addTab(tsRespostas, QStringLiteral("Respostas"));
    pcOpcoes->addTab(tsTimers, QStringLiteral("Timers"));
    pcOpcoes->setCurrentIndex(0);
    options->addWidget(pcOpcoes);
    layout->addWidget(pnlOptions, 1);

    pnlRodape = new QWidget(this);
    pnlRodape->setObjectName(QStringLiteral("pnlRodape"));
    pnlRodape->setFixedHeight(BottomHeight);
    btnOK = new QPushButton(QStringLiteral("OK"), pnlRodape);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancelar"), pnlRodape);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* footer = new QHBoxLayout(pnlRodape);
    footer->setContentsMargins(5, 0, 10, 6);
    footer->addStretch();
    footer->addWidget(btnOK);
    footer->addWidget(btnCancel);
    layout->addWidget(pnlRodape);

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

// The tabs' keys go to the file in one write. A tab that stops storing (a period that is no
// number) keeps what the tabs before it stored: that much is written all the same.
void TfrmOpcoes::btnOKClick()
{
    TIniFile::Batch batch(*FIni);
    std::exception_ptr failure;
    try {
        tsGeral->store();
        tsAparencia->store();
        tsRespostas->store();
        tsTimers->store();
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    batch.commit();
    if (failure)
        std::rethrow_exception(failure);
}
