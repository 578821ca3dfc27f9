#include "tools/TfrmOrgCanais.h"

#include <limits>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "dialogs/DeselectingView.h"
#include "settings/NumberedList.h"
#include "settings/TIniFile.h"

TfrmOrgCanais::TfrmOrgCanais(const QString& settingsPath, Prompts& prompts, QWidget* parent)
    : BannerDialog(QStringLiteral("frmOrgCanais"), QStringLiteral("Canais favoritos..."),
                   QSize(378, 267), settingsPath, prompts, parent)
{
    auto* label = new QLabel(QStringLiteral("Canais:"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(8, 48, 200, 16);
    lstCanais = new DeselectingView<QListWidget>(this);
    lstCanais->setObjectName(QStringLiteral("lstCanais"));
    lstCanais->setGeometry(8, 66, 273, 134);
    lstCanais->setAccessibleName(QStringLiteral("Canais"));
    btnRemover = new QPushButton(QStringLiteral("Remover"), this);
    btnRemover->setObjectName(QStringLiteral("btnRemover"));
    btnRemover->setGeometry(289, 66, 81, 25);
    txtCanal = new QLineEdit(this);
    txtCanal->setObjectName(QStringLiteral("txtCanal"));
    txtCanal->setGeometry(8, 206, 273, 22);
    txtCanal->setAccessibleName(QStringLiteral("Canal a adicionar"));
    txtCanal->setMaxLength(std::numeric_limits<int>::max());
    txtCanal->installEventFilter(this);
    btnAdd = new QPushButton(QStringLiteral("Adicionar"), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    btnAdd->setGeometry(289, 204, 81, 25);
    for (QPushButton* button : {btnRemover, btnAdd})
        button->setAutoDefault(false);
    placeButtons(214, 236);

    connect(btnAdd, &QPushButton::clicked, this, [this] { guarded([this] { btnAddClick(); }); });
    connect(btnRemover, &QPushButton::clicked, this,
            [this] { guarded([this] { btnRemoverClick(); }); });
    // A list that could not be stored keeps the dialog open: the user may try again or cancel.
    connect(btnOK, &QPushButton::clicked, this, [this] {
        if (guarded([this] { btnOKClick(); }))
            accept();
    });
    FormCreate();
}

void TfrmOrgCanais::FormCreate()
{
    const NumberedList favourites = NumberedList::favouriteChannels();
    const int count = favourites.count(*FIni);
    QStringList names;
    names.reserve(count);
    for (int i = 1; i <= count; ++i)
        names << FIni->ReadString(favourites.section(), favourites.key(0, i), QString());
    lstCanais->addItems(names);
}

// An empty name would be an entry nobody can see or join.
void TfrmOrgCanais::btnAddClick()
{
    if (!txtCanal->text().isEmpty())
        lstCanais->addItem(txtCanal->text());
    txtCanal->clear();
}

// Enter in the name field adds the name instead of pressing "OK", which would drop it.
bool TfrmOrgCanais::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtCanal && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { btnAddClick(); });
            return true;
        }
    }
    return BannerDialog::eventFilter(watched, event);
}

void TfrmOrgCanais::btnRemoverClick()
{
    const QList<QListWidgetItem*> selected = lstCanais->selectedItems();
    if (!selected.isEmpty())
        delete selected.first();
}

void TfrmOrgCanais::btnOKClick()
{
    const NumberedList favourites = NumberedList::favouriteChannels();
    TIniFile::Batch batch(*FIni);
    FIni->WriteInteger(favourites.section(), favourites.countKey(), lstCanais->count() + 1);
    for (int i = 0; i < lstCanais->count(); ++i)
        FIni->WriteString(favourites.section(), favourites.key(0, i + 1),
                          lstCanais->item(i)->text());
    batch.commit();
}
