#include "tools/TfrmAtalhos.h"

#include <limits>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

namespace {
// An entry reads "CTRL + ALT + K"; its letter follows this prefix.
const QString EntryPrefix = QStringLiteral("CTRL + ALT + ");

// Blanks and control characters (every code up to 32) at both ends do not make a phrase.
bool isBlank(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() > 32)
            return false;
    }
    return true;
}

QLabel* label(const QString& text, const QString& name, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
} // namespace

TfrmAtalhos::TfrmAtalhos(const QString& settingsPath, Prompts& prompts, QWidget* parent)
    : BannerDialog(QStringLiteral("frmAtalhos"), QStringLiteral("Configurar atalhos ..."),
                   QSize(355, 222), settingsPath, prompts, parent)
{
    QLabel* shortcutCaption = label(QStringLiteral("Atalho:"), QStringLiteral("Label1"), this);
    shortcutCaption->setGeometry(8, 50, 200, 16);
    cmbAtalho = new QComboBox(this);
    shortcutCaption->setBuddy(cmbAtalho);
    cmbAtalho->setObjectName(QStringLiteral("cmbAtalho"));
    cmbAtalho->setGeometry(8, 68, 339, 22);
    QLabel* commandCaption = label(QStringLiteral("Comando:"), QStringLiteral("Label2"), this);
    commandCaption->setGeometry(8, 100, 200, 16);
    txtFrase = new QLineEdit(this);
    commandCaption->setBuddy(txtFrase);
    txtFrase->setObjectName(QStringLiteral("txtFrase"));
    txtFrase->setGeometry(8, 118, 339, 22);
    // A line edit holds 32767 characters unless told otherwise; a phrase has no limit.
    txtFrase->setMaxLength(std::numeric_limits<int>::max());
    chkAuto = new QCheckBox(QStringLiteral("Enviar automaticamente"), this);
    chkAuto->setObjectName(QStringLiteral("chkAuto"));
    chkAuto->setGeometry(8, 150, 339, 18);
    chkAuto->setEnabled(false);
    placeButtons(191, 186);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TfrmAtalhos::FormCreate()
{
    // Ctrl+Alt+N has no entry: the letter cannot be bound here.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter != 'N')
            cmbAtalho->addItem(EntryPrefix + QLatin1Char(letter));
    }
    cmbAtalho->setCurrentIndex(0);
    connect(cmbAtalho, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { cmbAtalhoChange(); }); });
    connect(txtFrase, &QLineEdit::textChanged, this,
            [this] { guarded([this] { txtFraseChange(); }); });
    connect(chkAuto, &QCheckBox::toggled, this, [this] { guarded([this] { chkAutoClick(); }); });
    // Opens on Ctrl+Alt+A, its field and check box set through their own handlers.
    guarded([this] { cmbAtalhoChange(); });
}

void TfrmAtalhos::cmbAtalhoChange()
{
    FLetra = cmbAtalho->currentText().at(EntryPrefix.size());
    const auto phrase = Keys::Atalhos::Atalho(FLetra);
    const bool bound = Settings::exists(*FIni, phrase);
    const QString text = bound ? Settings::read(*FIni, phrase) : QString();
    // The field's handler writes back what was read and sets the check box's enabled state; Qt
    // runs it only for a new text, so it is run here for the same text too.
    const bool sameText = txtFrase->text() == text;
    txtFrase->setText(text);
    if (sameText)
        txtFraseChange();
    // Read after the field's handler, which deletes the keys of an empty phrase.
    chkAuto->setChecked(bound && Settings::read(*FIni, Keys::Atalhos::AtalhoSend(FLetra)));
}

void TfrmAtalhos::txtFraseChange()
{
    const QString text = txtFrase->text();
    if (!isBlank(text)) {
        Settings::write(*FIni, Keys::Atalhos::Atalho(FLetra), text);
        chkAuto->setEnabled(true);
        return;
    }
    TIniFile::Batch batch(*FIni);
    Settings::remove(*FIni, Keys::Atalhos::Atalho(FLetra));
    Settings::remove(*FIni, Keys::Atalhos::AtalhoSend(FLetra));
    batch.commit();
    chkAuto->setEnabled(false);
    chkAuto->setChecked(false);
}

void TfrmAtalhos::chkAutoClick()
{
    if (!txtFrase->text().isEmpty() && Settings::exists(*FIni, Keys::Atalhos::Atalho(FLetra)))
        Settings::write(*FIni, Keys::Atalhos::AtalhoSend(FLetra), chkAuto->isChecked());
}
