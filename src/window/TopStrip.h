#pragma once

#include <QWidget>

enum class ToolbarPicture;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;

// The top strip of the main window: the row of flat toolbar buttons, the logo banner at the
// right and the line along the top edge.
class TopStrip final : public QWidget
{
    Q_OBJECT
public:
    // channels drops down from btnJoin, games from btnDiablo; neither is owned.
    TopStrip(QMenu* channels, QMenu* games, QWidget* parent);

    // Keeps the banner at the right edge of a window this wide (outer width).
    void followWidth(int outerWidth);

    // The controls, by their names; set once by the constructor.
    QFrame* Bevel1 = nullptr;
    QWidget* ToolBar = nullptr;
    QToolButton* btnConectar = nullptr;
    QToolButton* btnDesconectar = nullptr;
    QToolButton* btnHomeChannel = nullptr;
    QToolButton* btnJoin = nullptr;
    QToolButton* btnAway = nullptr;
    QToolButton* btnDND = nullptr;
    QToolButton* btnOpcoes = nullptr;
    QToolButton* btnNotepad = nullptr;
    QToolButton* btnScreen = nullptr;
    QToolButton* btnDiablo = nullptr;
    QToolButton* btnSite = nullptr;
    QToolButton* btnForum = nullptr;
    QLabel* imgBanner = nullptr;
    QLabel* imgPrintScreen = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setupToolBar(QMenu* channels, QMenu* games);
    QToolButton* addButton(const QString& name, const QString& hint, ToolbarPicture picture);
    void addGap(const QString& name, int width);
};
