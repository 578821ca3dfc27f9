#include "tools/BannerDialog.h"

#include <exception>

#include <QLabel>
#include <QPushButton>

#include "dialogs/DialogPlacement.h"
#include "dialogs/PictureLabel.h"
#include "dialogs/Prompts.h"
#include "resources/Pictures.h"
#include "settings/TIniFile.h"

namespace {
constexpr int BannerHeight = 40;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 6;
} // namespace

BannerDialog::BannerDialog(const QString& name, const QString& title, QSize client,
                           const QString& settingsPath, Prompts& prompts, QWidget* parent)
    : QDialog(parent), FIni(std::make_unique<TIniFile>(settingsPath)), m_prompts(prompts)
{
    setObjectName(name);
    setWindowTitle(title);
    // The owner's font, as the rest of the program shows its controls.
    setAttribute(Qt::WA_WindowPropagation);
    setFixedSize(client);

    const int width = client.width();
    auto* imgTopo = new PictureLabel(
        [width](qreal ratio) { return Pictures::dialogBanner(width, ratio); }, this);
    imgTopo->setObjectName(QStringLiteral("imgTopo"));
    imgTopo->setGeometry(0, 0, client.width(), BannerHeight);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    DialogPlacement::centreOnScreen(*this);
}

BannerDialog::~BannerDialog() = default;

bool BannerDialog::guarded(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        m_prompts.errorBox(this, QString::fromUtf8(e.what()));
    }
    return false;
}

void BannerDialog::placeButtons(int left, int top)
{
    btnOK->setGeometry(left, top, ButtonWidth, ButtonHeight);
    btnCancelar->setGeometry(left + ButtonWidth + ButtonGap, top, ButtonWidth, ButtonHeight);
}
