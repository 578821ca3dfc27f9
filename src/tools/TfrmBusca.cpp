#include "tools/TfrmBusca.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/DialogPlacement.h"
#include "view/ChatView.h"

TfrmBusca::TfrmBusca(ChatView* pane, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      m_pane(pane)
{
    setObjectName(QStringLiteral("frmBusca"));
    setWindowTitle(QStringLiteral("Procurar..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(279, 66);

    Label1 = new QLabel(QStringLiteral("Procurar por..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 180, 16);
    txtBusca = new QLineEdit(this);
    txtBusca->setObjectName(QStringLiteral("txtBusca"));
    txtBusca->setGeometry(8, 30, 180, 24);
    Label1->setBuddy(txtBusca);
    btnAcima = new QPushButton(QStringLiteral("Buscar"), this);
    btnAcima->setObjectName(QStringLiteral("btnAcima"));
    btnAcima->setGeometry(196, 29, 75, 26);
    btnAcima->setDefault(true);
    btnAbaixo = new QPushButton(QStringLiteral("Fechar"), this);
    btnAbaixo->setObjectName(QStringLiteral("btnAbaixo"));
    btnAbaixo->setGeometry(196, 72, 75, 26);
    btnAbaixo->setAutoDefault(false);
    btnAbaixo->setFocusPolicy(Qt::NoFocus);

    connect(btnAcima, &QPushButton::clicked, this, &TfrmBusca::btnAcimaClick);
    connect(txtBusca, &QLineEdit::textChanged, this, &TfrmBusca::txtBuscaChange);
    connect(btnAbaixo, &QPushButton::clicked, this, &TfrmBusca::btnAbaixoClick);
    DialogPlacement::centreOnScreen(*this);
}

// Upward, ignoring case, inside words; a search without a hit leaves everything as it was.
void TfrmBusca::btnAcimaClick()
{
    if (!m_pane)
        return;
    ChatView::FindOptions options;
    options.matchCase = false;
    options.down = false;
    options.wholeWord = false;
    m_pane->findText(txtBusca->text(), options);
}

void TfrmBusca::txtBuscaChange(const QString& text)
{
    if (!text.isEmpty() || !m_pane)
        return;
    m_pane->clearSelection();
    m_pane->reformat();
}

void TfrmBusca::btnAbaixoClick()
{
    close();
}
