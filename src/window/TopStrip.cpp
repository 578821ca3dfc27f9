#include "window/TopStrip.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "dialogs/PictureLabel.h"
#include "resources/Pictures.h"
#include "window/WidgetKit.h"

using namespace WidgetKit;

TopStrip::TopStrip(QMenu* channels, QMenu* games, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pnlTopo"));
    setFixedHeight(35);
    Bevel1 = named(new QFrame(this), QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 0, 692, 2);

    setupToolBar(channels, games);

    imgBanner = named(new PictureLabel(&Pictures::logoBanner, this), QStringLiteral("imgBanner"));
    imgBanner->setGeometry(511, 0, 180, 34);
    imgPrintScreen = named(new QLabel(this), QStringLiteral("imgPrintScreen"));
    imgPrintScreen->setGeometry(616, 8, 39, 27);
    imgPrintScreen->hide();
}

// A plain row of flat buttons: a tool bar would fold the last ones into an overflow menu.
void TopStrip::setupToolBar(QMenu* channels, QMenu* games)
{
    ToolBar = named(new QWidget(this), QStringLiteral("ToolBar"));
    ToolBar->setGeometry(0, 0, 513, 35);
    auto* row = new QHBoxLayout(ToolBar);
    row->setContentsMargins(2, 2, 0, 3);
    row->setSpacing(0);

    btnConectar = addButton(QStringLiteral("btnConectar"), QStringLiteral("Conectar"),
                            ToolbarPicture::PlugJoined);
    btnDesconectar = addButton(QStringLiteral("btnDesconectar"), QStringLiteral("Desconectar"),
                               ToolbarPicture::PlugApart);
    addGap(QStringLiteral("ToolButton3"), 8);
    btnHomeChannel =
        addButton(QStringLiteral("btnHomeChannel"), QStringLiteral("Ir para canal principal"),
                  ToolbarPicture::HomeChannel);
    btnJoin = addButton(QStringLiteral("btnJoin"), QStringLiteral("Canais favoritos"),
                        ToolbarPicture::Star);
    btnJoin->setMenu(channels);
    btnJoin->setPopupMode(QToolButton::MenuButtonPopup);
    btnJoin->setFixedSize(45, 30);
    addGap(QStringLiteral("ToolButton1"), 8);
    btnAway = addButton(QStringLiteral("btnAway"), QStringLiteral("Entrar/sair do away"),
                        ToolbarPicture::Away);
    btnAway->setCheckable(true);
    btnDND = addButton(QStringLiteral("btnDND"), QStringLiteral("Entrar/sair do DND"),
                       ToolbarPicture::NoEntry);
    btnDND->setCheckable(true);
    addGap(QStringLiteral("ToolButton2"), 8);
    btnOpcoes =
        addButton(QStringLiteral("btnOpcoes"), QStringLiteral("Opções"), ToolbarPicture::Gears);
    addGap(QStringLiteral("ToolButton4"), 8);
    btnNotepad = addButton(QStringLiteral("btnNotepad"),
                           QStringLiteral("Abrir bloco de notas com o texto do chat"),
                           ToolbarPicture::Notebook);
    btnScreen = addButton(QStringLiteral("btnScreen"), QStringLiteral("Tirar screenshot da tela"),
                          ToolbarPicture::Screenshot);
    addGap(QStringLiteral("ToolButton6"), 8);
    btnDiablo = addButton(QStringLiteral("btnDiablo"), QStringLiteral("Menu de games"),
                          ToolbarPicture::GamesMenu);
    btnDiablo->setMenu(games);
    btnDiablo->setPopupMode(QToolButton::MenuButtonPopup);
    btnDiablo->setFixedSize(45, 30);
    // The buttons have no action of their own: a click beside the arrow opens the menu too.
    for (QToolButton* button : {btnJoin, btnDiablo})
        connect(button, &QToolButton::clicked, button, &QToolButton::showMenu);
    addGap(QStringLiteral("ToolButton5"), 33);
    btnSite = addButton(QStringLiteral("btnSite"), QStringLiteral("Abrir site do Tulmo"),
                        ToolbarPicture::SiteLogo);
    btnForum = addButton(QStringLiteral("btnForum"), QStringLiteral("Abrir fórum do Tulmo"),
                         ToolbarPicture::ForumLogo);
    row->addStretch(1);
}

QToolButton* TopStrip::addButton(const QString& name, const QString& hint, ToolbarPicture picture)
{
    auto* button = named(new QToolButton(ToolBar), name);
    button->setToolTip(hint);
    // A picture is all the button shows; a screen reader says its tool tip.
    button->setAccessibleName(hint);
    button->setIcon(Pictures::toolbarIcon(picture));
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(33, 30);
    button->setAutoRaise(true);
    ToolBar->layout()->addWidget(button);
    return button;
}

void TopStrip::addGap(const QString& name, int width)
{
    auto* spacer = named(new QWidget(ToolBar), name);
    spacer->setFixedSize(width, 30);
    ToolBar->layout()->addWidget(spacer);
}

void TopStrip::followWidth(int outerWidth)
{
    imgBanner->move(outerWidth - imgBanner->width() - 9, imgBanner->y());
}

void TopStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The line along the top runs the strip's width.
    Bevel1->resize(width(), Bevel1->height());
}
