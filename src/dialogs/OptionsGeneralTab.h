#pragma once

#include <QKeyCombination>
#include <QWidget>

#include <array>
#include <functional>

class HotKeyEdit;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TIniFile;
struct OptionsContext;

// The options dialog's tab "Geral": the connection, the user list's double-click action and the
// highlight words, the tray, and the paths of the games and of the screenshots. The paths and the
// hidden game switches are written the moment they change; the rest by store().
class OptionsGeneralTab final : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the settings.
    OptionsGeneralTab(TIniFile& ini, const OptionsContext& context, QWidget* parent = nullptr);

    // Writes what this tab stores only when the dialog is confirmed.
    void store();

private:
    void setupConnection();
    void setupDoubleClick();
    void setupTray();
    void setupPaths();
    QWidget* setupGamesPage();
    QWidget* setupScreenshotsPage();
    void arrange();
    void load();
    void setupHandlers();

    void cmbGamesChange();
    void btnGamesProcClick();
    void btnExcluirGameClick();
    void chkWindowedClick();
    void chkSemSomClick();
    void chkSkipToLoginClick();
    void btnProcSSClick();
    // A combination the main window already uses was pressed in the minimize key's field.
    void hkAtalhoMinRefused(QKeyCombination combination, const QString& usedBy);

    // A write that fails ends the handler in the error box; the dialog stays open.
    std::function<void()> guard(std::function<void()> handler);
    QString gamePath() const;

    // The radio button of each stored text of Geral/User2x, in the order "OK" looks at them.
    struct DoubleClickAction
    {
        QRadioButton* radio;
        QString text;
    };
    std::array<DoubleClickAction, 6> doubleClickActions() const;
    QString selectedAction() const;

    TIniFile& FIni;
    const OptionsContext& m_context;

    QGroupBox* grpDados = nullptr;
    QLineEdit* txtLogin = nullptr;
    QLineEdit* txtSenha = nullptr;
    QLineEdit* txtServidor = nullptr;
    QLineEdit* txtCanal = nullptr;
    QCheckBox* chkChanPrin = nullptr;
    QCheckBox* chkReconectar = nullptr;
    QCheckBox* chkLogsAuto = nullptr;
    QLineEdit* txtTimeout = nullptr;

    QGroupBox* grpGeral = nullptr;
    QRadioButton* rdo2xWhois = nullptr;
    QRadioButton* rdo2xSquelch = nullptr;
    QRadioButton* rdo2xKick = nullptr;
    QRadioButton* rdo2xBan = nullptr;
    QRadioButton* rdo2xKickMot = nullptr;
    QRadioButton* rdo2xBanMot = nullptr;
    QCheckBox* chkMencoes = nullptr;
    QLineEdit* txtDestaques = nullptr;

    QGroupBox* grpTray = nullptr;
    QCheckBox* chkTray = nullptr;
    HotKeyEdit* hkAtalhoMin = nullptr;
    QCheckBox* chkOrtografia = nullptr;

    QTabWidget* pgCaminhos = nullptr;
    QComboBox* cmbGames = nullptr;
    QPushButton* btnExcluirGame = nullptr;
    QLineEdit* txtCaminho = nullptr;
    QPushButton* btnGamesProc = nullptr;
    QLineEdit* txtGameParam = nullptr;
    QCheckBox* chkWindowed = nullptr;
    QCheckBox* chkSemSom = nullptr;
    QCheckBox* chkSkipToLogin = nullptr;
    QCheckBox* chkSalvarSS = nullptr;
    QLineEdit* txtCaminhoSS = nullptr;
    QPushButton* btnProcSS = nullptr;
};
