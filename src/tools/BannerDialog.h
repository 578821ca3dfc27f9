#pragma once

#include <QDialog>

#include <functional>
#include <memory>

class Prompts;
class QPushButton;
class TIniFile;

// A tool dialog with its own settings file object on confs.ini, so what it writes is in the file
// at once for every other reader. It has a fixed client size, the banner across its top, "OK"
// (default) and "Cancelar", and opens in the middle of the screen its owner is on.
class BannerDialog : public QDialog
{
    Q_OBJECT

public:
    ~BannerDialog() override;

protected:
    BannerDialog(const QString& name, const QString& title, QSize client,
                 const QString& settingsPath, Prompts& prompts, QWidget* parent);

    // Runs a handler; an error it raises (a settings file that cannot be written) is shown in
    // the error box and ends the handler. False when it failed.
    bool guarded(const std::function<void()>& handler);
    // Both buttons, 75 x 25 and six pixels apart, "OK" at (left, top).
    void placeButtons(int left, int top);

    std::unique_ptr<TIniFile> FIni;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancelar = nullptr;

private:

    Prompts& m_prompts;
};
