#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the program's picture, its name and edition, and its version.
class TfrmSobre final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSobre(QWidget* parent);

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Version = nullptr;
    QPushButton* OKButton = nullptr;
};
