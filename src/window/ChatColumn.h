#pragma once

#include <QWidget>

class ChatView;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class StyleTable;

// The chat column of the main window: the channel pane under its bar of text buttons and
// "Auto-Rolagem", and the whisper pane below, with a splitter between them.
class ChatColumn final : public QWidget
{
    Q_OBJECT
public:
    // styles is the style table of both panes, popup their context menu; neither is owned.
    ChatColumn(StyleTable* styles, QMenu* popup, QWidget* parent);

    // Places the bar's right-hand controls for its current width.
    void followBarWidth();

    // The controls, by their names; set once by the constructor.
    QSplitter* Splitter2 = nullptr;
    QWidget* pnlChat = nullptr;
    QWidget* pnlTopChat = nullptr;
    QWidget* shpTopChat = nullptr;
    QLabel* lblAutoScroll = nullptr;
    QToolButton* btnTopGames = nullptr;
    QToolButton* btnTopGamesNorm = nullptr;
    QToolButton* btnTopGamesNM = nullptr;
    QToolButton* btnTopGamesHell = nullptr;
    QToolButton* btnTopCon = nullptr;
    QToolButton* btnTopConAll = nullptr;
    QCheckBox* chkAutoScroll = nullptr;
    ChatView* txtChat = nullptr;
    QWidget* pnlWhisp = nullptr;
    QFrame* Bevel2 = nullptr;
    ChatView* txtWhisps = nullptr;

private:
    void setupChannelPane(StyleTable* styles, QMenu* popup);
    void setupBar();
    void setupWhisperPane(StyleTable* styles, QMenu* popup);
    QToolButton* addBarButton(const QString& name, const QString& caption, int left, int width,
                              const QColor& color);
};
