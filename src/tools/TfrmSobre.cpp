#include "tools/TfrmSobre.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include "dialogs/DialogPlacement.h"
#include "dialogs/PictureLabel.h"
#include "resources/Pictures.h"

namespace {

QLabel* label(const QString& text, const QString& name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QFont boldFont(const QString& family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

} // namespace

TfrmSobre::TfrmSobre(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre...."));
    setFixedSize(281, 197);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    ProgramIcon = new PictureLabel(&Pictures::aboutPicture, this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(23, 8, 235, 130);

    ProductName = label(QStringLiteral("Tulmo Chat"), QStringLiteral("ProductName"), this);
    ProductName->setFont(boldFont(QStringLiteral("Verdana"), 19));
    ProductName->adjustSize();
    ProductName->move(12, 142);
    // "Light" follows the name on its base line, whatever width the name's font gives it.
    Label2 = label(QStringLiteral("Light"), QStringLiteral("Label2"), this);
    Label2->setFont(boldFont(QStringLiteral("Tahoma"), 13));
    QPalette red = Label2->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label2->setPalette(red);
    Label2->adjustSize();
    const int baseLine = ProductName->y() + ProductName->fontMetrics().ascent();
    Label2->move(ProductName->geometry().right() + 5, baseLine - Label2->fontMetrics().ascent());

    Version = label(QStringLiteral("Versão 1.5.87"), QStringLiteral("Version"), this);
    Version->adjustSize();
    Version->move(12, 172);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(194, 164, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    DialogPlacement::centreOnScreen(*this);
}
