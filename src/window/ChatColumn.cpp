#include "window/ChatColumn.h"

#include <algorithm>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "view/ChatView.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

ChatColumn::ChatColumn(StyleTable* styles, QMenu* popup, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlFundoChat"));
    setMinimumWidth(150);
    Splitter2 = named(new QSplitter(Qt::Vertical, this), QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(3);
    Splitter2->setOpaqueResize(true);
    Splitter2->setChildrenCollapsible(false);
    columnLayout(this)->addWidget(Splitter2);

    setupChannelPane(styles, popup);
    setupWhisperPane(styles, popup);

    Splitter2->addWidget(pnlChat);
    Splitter2->addWidget(pnlWhisp);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({383, 95});
}

void ChatColumn::setupChannelPane(StyleTable* styles, QMenu* popup)
{
    pnlChat = panel(QStringLiteral("pnlChat"), Splitter2);
    pnlChat->setMinimumHeight(80);
    setupBar();
    txtChat = named(new ChatView(styles, pnlChat), QStringLiteral("txtChat"));
    txtChat->setBackgroundColor(Qt::black);
    txtChat->setTextMargins(2, 2, 2, 10);
    txtChat->setBackgroundStyle(ChatView::BackgroundStyle::Centered);
    txtChat->setPopupMenu(popup);
    txtChat->setAccessibleName(QStringLiteral("Tela do chat"));
    auto* layout = columnLayout(pnlChat);
    layout->addWidget(pnlTopChat);
    layout->addWidget(txtChat, 1);
}

void ChatColumn::setupBar()
{
    pnlTopChat = panel(QStringLiteral("pnlTopChat"), pnlChat);
    pnlTopChat->setFixedHeight(22);
    shpTopChat = panel(QStringLiteral("shpTopChat"), pnlTopChat);
    shpTopChat->setAutoFillBackground(true);
    setColors(shpTopChat, BarColor, Lime);
    columnLayout(pnlTopChat)->addWidget(shpTopChat);

    btnTopGames = addBarButton(QStringLiteral("btnTopGames"), QStringLiteral("GAMES"), 2, 51,
                               QColor(0xFF, 0xFF, 0x00));
    btnTopGamesNorm =
        addBarButton(QStringLiteral("btnTopGamesNorm"), QStringLiteral("NORMAL"), 55, 53, Lime);
    btnTopGamesNM =
        addBarButton(QStringLiteral("btnTopGamesNM"), QStringLiteral("NIGHTMARE"), 109, 70, Lime);
    btnTopGamesHell =
        addBarButton(QStringLiteral("btnTopGamesHell"), QStringLiteral("HELL"), 180, 41, Lime);
    btnTopCon = addBarButton(QStringLiteral("btnTopCon"), QStringLiteral("CON"), 262, 43, Lime);
    btnTopCon->hide();
    btnTopConAll =
        addBarButton(QStringLiteral("btnTopConAll"), QStringLiteral("CON ALL"), 308, 50, Lime);
    btnTopConAll->hide();

    lblAutoScroll = named(new QLabel(QStringLiteral("Auto-Rolagem"), pnlTopChat),
                          QStringLiteral("lblAutoScroll"));
    lblAutoScroll->setFont(pixelFont(QStringLiteral("Trebuchet MS"), 12));
    setColors(lblAutoScroll, BarColor, Lime);
    // Wide enough for its caption where the stand-in font runs wider than the original.
    lblAutoScroll->setGeometry(
        384, 1,
        std::max(75, lblAutoScroll->fontMetrics().horizontalAdvance(lblAutoScroll->text()) + 2),
        18);
    lblAutoScroll->setCursor(Qt::PointingHandCursor);
    chkAutoScroll = named(new QCheckBox(pnlTopChat), QStringLiteral("chkAutoScroll"));
    chkAutoScroll->setGeometry(464, 2, 17, 17);
    chkAutoScroll->setChecked(true);
    // Its caption is the label beside it.
    chkAutoScroll->setAccessibleName(lblAutoScroll->text());
    chkAutoScroll->setAutoFillBackground(true);
    setColors(chkAutoScroll, BarColor, Lime);
}

QToolButton* ChatColumn::addBarButton(const QString& name, const QString& caption, int left,
                                      int width, const QColor& color)
{
    auto* button = named(new QToolButton(pnlTopChat), name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    button->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: transparent; "
                                         "border: none; padding: 0px; }")
                              .arg(color.name()));
    button->setGeometry(left, 3, width, 14);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void ChatColumn::setupWhisperPane(StyleTable* styles, QMenu* popup)
{
    pnlWhisp = panel(QStringLiteral("pnlWhisp"), Splitter2);
    pnlWhisp->setMinimumHeight(80);
    Bevel2 = named(new QFrame(pnlWhisp), QStringLiteral("Bevel2"));
    Bevel2->setFrameShape(QFrame::HLine);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setFixedHeight(2);
    txtWhisps = named(new ChatView(styles, pnlWhisp), QStringLiteral("txtWhisps"));
    txtWhisps->setBackgroundColor(Qt::black);
    txtWhisps->setTextMargins(1, 1, 1, 0);
    txtWhisps->setPopupMenu(popup);
    txtWhisps->setAccessibleName(QStringLiteral("Tela de whisps"));
    auto* layout = columnLayout(pnlWhisp);
    layout->addWidget(Bevel2);
    layout->addWidget(txtWhisps, 1);
}

void ChatColumn::followBarWidth()
{
    const int bar = pnlTopChat->width();
    // Half the bar, a half rounded to the even neighbour.
    int half = bar / 2;
    if (bar % 2 != 0 && half % 2 != 0)
        ++half;
    btnTopCon->move(half + 10, btnTopCon->y());
    btnTopConAll->move(half + btnTopCon->width() + 20, btnTopConAll->y());
    chkAutoScroll->move(bar - 20, chkAutoScroll->y());
    lblAutoScroll->move(bar - lblAutoScroll->width() - 20, lblAutoScroll->y());
}
