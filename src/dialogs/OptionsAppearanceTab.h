#pragma once

#include <QVector>
#include <QWidget>

#include <array>
#include <functional>

#include "dialogs/UserColorDelegate.h"

class ChatView;
class QCheckBox;
class QLabel;
class QTreeWidget;
class TIniFile;
struct OptionsContext;

// The options dialog's tab "Aparência". Colours and fonts are written the moment they are chosen,
// and most reach the main window at once; only the three check boxes wait for "OK".
class OptionsAppearanceTab final : public QWidget
{
    Q_OBJECT

public:
    // Loads every control from the settings.
    OptionsAppearanceTab(TIniFile& ini, const OptionsContext& context, QWidget* parent = nullptr);

    // Writes what this tab stores only when the dialog is confirmed.
    void store();

private:
    // The two previews, each standing for one pane of the main window.
    enum Pane
    {
        Chat,
        Whisper
    };

    struct Preview
    {
        QWidget* shape = nullptr; // the pane's background
        QVector<QLabel*> texts;
    };

    void buildUserColors();
    void buildSwitches();
    void buildMessages();
    void buildPreview(Pane pane, QWidget* group, const QRect& geometry);

    void getCores();
    void resetaCores();
    // The user colour list shows the font family and background the file holds now.
    void showUserListLook();
    void carregaTela(Pane pane);

    void lstUsersConfClick();
    void btnAlteraFonteUsersClick();
    void btnCorFundoUsersClick();
    void btnRestaurarUsersClick();
    void choosePaneFont(Pane pane);
    void choosePaneBackground(Pane pane);
    void chooseTextColor(Pane pane, int index);

    ChatView* paneView(Pane pane) const;
    // A slot that runs the handler; what it throws (a settings file that cannot be written) ends
    // it in an error box.
    std::function<void()> guard(std::function<void()> handler);

    TIniFile& FIni;
    const OptionsContext& m_context;
    UserColorDelegate::Colors FCores;
    QTreeWidget* lstUsersConf = nullptr;
    QCheckBox* chkHorario = nullptr;
    QCheckBox* chkMostrarBarra = nullptr;
    QCheckBox* chkMostrarCustom = nullptr;
    std::array<Preview, 2> m_previews;
};
