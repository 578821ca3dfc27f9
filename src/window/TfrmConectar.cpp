#include "window/TfrmConectar.h"

#include <algorithm>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "dialogs/DialogPlacement.h"
#include "dialogs/PictureLabel.h"
#include "net/TChatInterface.h"
#include "resources/Pictures.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {
QLabel* label(const QString& text, const QString& name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

TfrmConectar::TfrmConectar(TChatInterface* chat, TIniFile* ini, QWidget* parent)
    : QDialog(parent), m_chat(chat), m_ini(ini)
{
    setObjectName(QStringLiteral("frmConectar"));
    setWindowTitle(QStringLiteral("Conectando ..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(325, 175);

    auto* banner =
        new PictureLabel([](qreal ratio) { return Pictures::dialogBanner(325, ratio); }, this);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setGeometry(0, 0, 325, 40);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Bevel1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, 40, 325, 2);

    auto* title =
        label(QStringLiteral("Conectando ao Servidor"), QStringLiteral("lblConectando"), this);
    QFont big(QStringLiteral("Tahoma"));
    big.setPixelSize(16);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 52, 325, 22);
    lblEnd = label(QString(), QStringLiteral("lblEnd"), this);
    lblEnd->setAlignment(Qt::AlignCenter);
    lblEnd->setGeometry(0, 78, 325, 16);
    auto* wait = label(QStringLiteral("Tempo de espera restante:         segundos"),
                       QStringLiteral("lblEspera"), this);
    // Sized by its caption and centred: the stand-in fonts run wider than the original ones.
    const int waitWidth = wait->fontMetrics().horizontalAdvance(wait->text()) + 2;
    const int waitLeft = std::max(0, (width() - waitWidth) / 2);
    wait->setGeometry(waitLeft, 104, std::min(waitWidth, width()), 16);
    lblTempo = label(QString(), QStringLiteral("lblTempo"), this);
    lblTempo->setAlignment(Qt::AlignCenter);
    lblTempo->setGeometry(waitLeft + wait->fontMetrics().horizontalAdvance(
                                         QStringLiteral("Tempo de espera restante: ")),
                          104, 28, 16);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setGeometry(125, 136, 75, 25);
    btnCancelar->setAutoDefault(false);

    tmrSegundos = new QTimer(this);
    tmrSegundos->setObjectName(QStringLiteral("tmrSegundos"));
    tmrSegundos->setInterval(1000);
    connect(tmrSegundos, &QTimer::timeout, this, &TfrmConectar::tmrSegundosTimer);
    connect(btnCancelar, &QPushButton::clicked, this, &TfrmConectar::btnCancelarClick);
    DialogPlacement::centreOnScreen(*this);
}

void TfrmConectar::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TfrmConectar::FormShow()
{
    const int timeout = Settings::read(*m_ini, Keys::Geral::Timeout);
    // A time-out of 1 or less ends the wait at the first tick; the least int has no predecessor.
    FRestante = std::max(timeout, 1) - 1;
    lblTempo->setText(QString::number(timeout));
    lblEnd->setText(QLatin1Char('(') + Settings::read(*m_ini, Keys::Geral::Servidor) +
                    QLatin1Char(')'));
    tmrSegundos->start();
    m_chat->Connect();
}

void TfrmConectar::tmrSegundosTimer()
{
    if (m_failed && !m_chat->LoggedIn) {
        tmrSegundos->stop();
        done(Rejected);
        return;
    }
    if (!m_chat->LoggedIn && FRestante >= 1) {
        lblTempo->setText(QString::number(FRestante));
        --FRestante;
        return;
    }
    if (m_chat->LoggedIn) {
        tmrSegundos->stop();
        done(Accepted);
        return;
    }
    tmrSegundos->stop();
    if (onError)
        onError(QStringLiteral("Tempo de espera excedido, o servidor pode não estar respondendo."));
    m_chat->CancelConnect();
    if (onTimedOut)
        onTimedOut();
    done(Rejected);
}

void TfrmConectar::btnCancelarClick()
{
    tmrSegundos->stop();
    m_chat->CancelConnect();
    done(Rejected);
}

// Esc and the window's close button act as "Cancelar".
void TfrmConectar::reject()
{
    btnCancelarClick();
}
