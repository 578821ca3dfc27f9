#pragma once

#include "tools/BannerDialog.h"

class QLineEdit;
class QListWidget;
class QPushButton;

// "Canais favoritos...": adds and removes favourite channels (section Canais). Nothing is written
// until "OK", which stores the whole list at once.
class TfrmOrgCanais final : public BannerDialog
{
    Q_OBJECT

public:
    TfrmOrgCanais(const QString& settingsPath, Prompts& prompts, QWidget* parent = nullptr);

    void btnAddClick();
    void btnRemoverClick();
    void btnOKClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();

    QListWidget* lstCanais = nullptr;
    QLineEdit* txtCanal = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnRemover = nullptr;
};
