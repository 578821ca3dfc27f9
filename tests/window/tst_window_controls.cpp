#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "WindowHarness.h"
#include "resources/Pictures.h"
#include "window/ConnectionControl.h"
#include "window/TfrmConectar.h"
#include "window/TfrmMain.h"

namespace {
template <typename T = QWidget>
T* child(QObject* w, const QString& name)
{
    return w->findChild<T*>(name);
}

// A submenu is named by its menu; a plain item by itself.
QString itemName(const QAction* item)
{
    return item->menu() ? item->menu()->objectName() : item->objectName();
}

QString items(const QWidget* menu)
{
    QStringList shown;
    for (const QAction* item : menu->actions())
        shown << itemName(item) + QLatin1Char(' ') + (item->isSeparator() ? "-" : item->text());
    return shown.join(QLatin1String(" | "));
}

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
}

QString fontOf(const QWidget* widget)
{
    return widget->font().family() + QLatin1Char(' ') + QString::number(widget->font().pixelSize());
}
} // namespace

class TestWindowControls : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void menus_data();
    void menus();
    void menuItems_data();
    void menuItems();
    void controls_data();
    void controls();
    void lockPanels_data();
    void lockPanels();
    void layoutAtStart();
    void captionsFitTheirLabels();
    void autoScrollLabelClicks_data();
    void autoScrollLabelClicks();
    void connectDialogCentredOnScreen();

private:
    std::unique_ptr<WindowHarness> m_harness;
    TfrmMain* m_window = nullptr;
};

void TestWindowControls::init()
{
    m_harness = std::make_unique<WindowHarness>();
    m_window = m_harness->window.get();
}

void TestWindowControls::cleanup()
{
    m_harness.reset();
}

void TestWindowControls::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("main menu") << "MainMenu1" << "Arquivo1 &Arquivo | Opcoes1 &Opções | Ajuda1 Aju&da";
    QTest::newRow("Arquivo") << "Arquivo1" << "mnuSalvarChat Salvar Tela de Chat | mnuSalvarWhisps Salvar Tela de Whisps | N3 - | mnuSair Sair";
    QTest::newRow("Opções") << "Opcoes1" << "mnuConectar Conectar | mnuDesconectar Desconectar | N1 - | mnuConfigAtalhos Configurar atalhos... | mnuOrgCanal Canais favoritos... | N14 - | mnuLimpaTelaChat Limpar tela do chat | mnuLimpaTelaWhisps Limpar tela de whisps | N2 - | mnuOpcoes Opções...";
    QTest::newRow("Ajuda") << "Ajuda1" << "mnuSite Site do Tulmo | mnuForum Fórum do Tulmo | N17 - | mnuSobre Sobre...";
    QTest::newRow("popUsers") << "popUsers" << "Kick1 Kick | Ban1 Ban | Kill1 Kill | N8 - | Whois1 Whois | Controle1 Controle | N5 - | Tags1 Tags | N9 - | LockarWhisp1 Lockar Whisp | AdicionarLista1 Adicionar à Lista | N4 - | Squelch1 Squelch | Unsquelch1 Unsquelch";
    QTest::newRow("Kick") << "Kick1" << "Kickar1 Kick | KickMotivo1 Kick com motivo";
    QTest::newRow("Ban") << "Ban1" << "Banir1 Ban | BanMotivo1 Ban com motivo";
    QTest::newRow("Controle") << "Controle1" << "voice + Voice | devoice -  Voice";
    QTest::newRow("Tags") << "Tags1" << "D2XP1 D2XP | D2DV1 D2DV | STAR1 STAR | SEXP1 SEXP | WAR31 WAR3 | W3XP1 W3XP | CHAT1 CHAT | N21 - | DRTL1 DRTL | DSHR1 DSHR | SSHR1 SSHR | W2BN1 W2BN";
    QTest::newRow("popChat") << "popChat" << "popCopyAddress Copiar endereço | popCopyAddressSeparator - | Limpartela1 Limpar tela | N16 - | Usurios1 Usuários | Canais1 Canais | Hora1 Hora | N11 - | Moderar1 Moderar | Rejoin1 Rejoin | Banidos1 Banidos | N22 - | ImagemdeFundo1 Imagem de Fundo | N12 - | SalvarLog1 Salvar log...";
    QTest::newRow("Imagem de Fundo") << "ImagemdeFundo1" << "AlterarBg1 Alterar... | Remover1 Remover | N23 - | Centralizado1 Centralizado | Ladoalado1 Lado a lado | Esticado1 Esticado";
    // The item shows Ctrl+D; the key itself belongs to the action CrtlD.
    QTest::newRow("popCanais") << "popCanais" << "Adicionarcanal1 Adicionar Canal\tCtrl+D | Organizarcanais1 Organizar Canais | N13 -";
    QTest::newRow("popCustom") << "popCustom" << "popCustomWhois Whois | popCustomLockarWhisp Lockar Whisp | N15 - | popAddCustom Adicionar à Lista | popDelCustom Excluir da Lista | popMotCustom Editar Motivo";
    QTest::newRow("popGames") << "popGames" << "popGD2 Diablo II | popGSC Starcraft | popGW3 Warcraft III | popGW3XP Warcraft III: Frozen Throne";
    // clang-format on
}

void TestWindowControls::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, expected);
    QWidget* found = child(m_window, menu);
    QVERIFY(found);
    QCOMPARE(items(found), expected);
}

void TestWindowControls::menuItems_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<int>("image"); // -1: none
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("checked"); // "" not checkable, "1" checked, "0" unchecked

    const auto row = [](const char* name, const char* keys, int image, bool visible = true,
                        bool enabled = true, const char* checked = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(keys) << image
                            << visible << enabled << QString::fromLatin1(checked);
    };
    // clang-format off
    row("mnuSalvarChat", "", 9);
    row("mnuSalvarWhisps", "", 9);
    row("mnuSair", "", -1);
    row("mnuConectar", "Ctrl+N", 0);
    row("mnuDesconectar", "", 1, true, false);
    row("mnuConfigAtalhos", "Ctrl+S", 10);
    row("mnuOrgCanal", "", 3);
    row("mnuLimpaTelaChat", "Ctrl+E", -1);
    row("mnuLimpaTelaWhisps", "Ctrl+W", -1);
    row("mnuOpcoes", "Ctrl+O", 6);
    row("mnuSite", "", 11);
    row("mnuForum", "", 12);
    row("mnuSobre", "", 8);
    // Qt also disables an item while it is hidden.
    row("Kill1", "", -1, false, false);
    row("Controle1", "", -1, false, false);
    row("Tags1", "", -1, false, false);
    row("AdicionarLista1", "", -1, false, false);
    row("Moderar1", "", -1, false, false);
    row("popCopyAddress", "", -1, false, false);
    row("Whois1", "", -1);
    row("Centralizado1", "", -1, true, true, "1");
    row("Ladoalado1", "", -1, true, true, "0");
    row("Esticado1", "", -1, true, true, "0");
    row("popGD2", "", 14);
    row("popGSC", "", 15);
    row("popGW3", "", 17);
    row("popGW3XP", "", 18);
    row("atalhoA", "Ctrl+Alt+A", -1);
    row("atalhoZ", "Ctrl+Alt+Z", -1);
    row("atalhoMin", "", -1);
    row("selectAll", "Ctrl+A", -1);
    row("CrtlD", "Ctrl+D", -1);
    row("CtrlF", "Ctrl+F", -1);
    // clang-format on
}

void TestWindowControls::menuItems()
{
    QFETCH(QString, name);
    QFETCH(QString, shortcut);
    QFETCH(int, image);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);
    QFETCH(QString, checked);
    QAction* item = child<QAction>(m_window, name);
    if (!item) {
        // A submenu is found by its menu.
        auto* menu = child<QMenu>(m_window, name);
        QVERIFY(menu);
        item = menu->menuAction();
    }
    QCOMPARE(item->shortcut().toString(QKeySequence::PortableText), shortcut);
    if (image < 0)
        QVERIFY(item->icon().isNull());
    else
        QCOMPARE(iconImage(item->icon()), iconImage(Pictures::toolbarIcon(image)));
    QCOMPARE(item->isVisible(), visible);
    QCOMPARE(item->isEnabled(), enabled);
    QCOMPARE(item->isCheckable(), !checked.isEmpty());
    if (!checked.isEmpty())
        QCOMPARE(item->isChecked(), checked == QLatin1String("1"));
}

void TestWindowControls::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption"); // the button's or label's text
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("image"); // -1: not checked
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("font");      // "" not checked
    QTest::addColumn<QString>("geometry");  // "x,y,w,h" inside the parent; "" not checked
    QTest::addColumn<QString>("textColor"); // "" not checked

    const auto row = [](const char* name, const QString& caption, const QString& hint, int image,
                        bool shown, bool enabled, const char* font, const char* geometry,
                        const char* color) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << hint << image << shown
                            << enabled << QString::fromLatin1(font) << QString::fromLatin1(geometry)
                            << QString::fromLatin1(color);
    };
    // clang-format off
    row("btnConectar", "", "Conectar", 0, true, true, "", "", "");
    row("btnDesconectar", "", "Desconectar", 1, true, false, "", "", "");
    row("btnHomeChannel", "", "Ir para canal principal", 2, true, false, "", "", "");
    row("btnJoin", "", "Canais favoritos", 3, true, false, "", "", "");
    row("btnAway", "", "Entrar/sair do away", 4, true, false, "", "", "");
    row("btnDND", "", "Entrar/sair do DND", 5, true, false, "", "", "");
    row("btnOpcoes", "", "Opções", 6, true, true, "", "", "");
    row("btnNotepad", "", "Abrir bloco de notas com o texto do chat", 7, true, true, "", "", "");
    row("btnScreen", "", "Tirar screenshot da tela", 20, true, true, "", "", "");
    row("btnDiablo", "", "Menu de games", 19, true, true, "", "", "");
    row("btnSite", "", "Abrir site do Tulmo", 11, true, true, "", "", "");
    row("btnForum", "", "Abrir fórum do Tulmo", 12, true, true, "", "", "");
    row("btnTopGames", "GAMES", "", -1, true, true, "Tahoma 11", "2,3,51,14", "#ffff00");
    row("btnTopGamesNorm", "NORMAL", "", -1, true, true, "Tahoma 11", "55,3,53,14", "#00ff00");
    row("btnTopGamesNM", "NIGHTMARE", "", -1, true, true, "Tahoma 11", "109,3,70,14", "#00ff00");
    row("btnTopGamesHell", "HELL", "", -1, true, true, "Tahoma 11", "180,3,41,14", "#00ff00");
    row("btnTopCon", "CON", "", -1, false, true, "Tahoma 11", "", "#00ff00");
    row("btnTopConAll", "CON ALL", "", -1, false, true, "Tahoma 11", "", "#00ff00");
    row("lblAutoScroll", "Auto-Rolagem", "", -1, true, true, "Trebuchet MS 12", "", "#00ff00");
    row("lblChannel", "", "", -1, true, true, "Trebuchet MS 12", "", "#00ff00");
    row("imgBanner", "", "", -1, true, true, "", "511,0,180,34", "");
    row("imgPrintScreen", "", "", -1, false, true, "", "616,8,39,27", "");
    row("txtMsg", "", "", -1, true, true, "Trebuchet MS 13", "", "#ffffff");
    row("btnEnviar", "Enviar", "", -1, true, true, "", "", "");
    row("btnEmote", "E&mote", "", -1, true, true, "", "", "");
    row("lstUsers", "", "", -1, true, true, "Verdana 12", "", "#ffffff");
    row("lstCustom", "", "", -1, true, true, "Verdana 13", "", "#ffffff");
    row("pnlCustom", "", "", -1, false, true, "", "", "");
    row("Splitter3", "", "", -1, false, true, "", "", "");
    row("pnlTopChat", "", "", -1, true, true, "", "", "");
    // clang-format on
}

void TestWindowControls::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(int, image);
    QFETCH(bool, shown);
    QFETCH(bool, enabled);
    QFETCH(QString, font);
    QFETCH(QString, geometry);
    QFETCH(QString, textColor);
    QWidget* widget = child(m_window, name);
    QVERIFY(widget);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), caption);
        if (image >= 0) {
            QCOMPARE(button->iconSize(), QSize(24, 24));
            QCOMPARE(iconImage(button->icon()), iconImage(Pictures::toolbarIcon(image)));
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
    }
    QCOMPARE(widget->toolTip(), hint);
    QCOMPARE(!widget->isHidden(), shown);
    QCOMPARE(widget->isEnabled(), enabled);
    if (!font.isEmpty())
        QCOMPARE(fontOf(widget), font);
    if (!geometry.isEmpty()) {
        const QRect r = widget->geometry();
        QCOMPARE(QStringLiteral("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()),
                 geometry);
    }
    if (!textColor.isEmpty()) {
        // What the control draws its text with, style sheet included.
        widget->ensurePolished();
        const QPalette::ColorRole role =
            qobject_cast<QAbstractButton*>(widget)
                ? QPalette::ButtonText
                : (qobject_cast<QLabel*>(widget) ? QPalette::WindowText : QPalette::Text);
        QCOMPARE(widget->palette().color(role).name(), textColor);
    }
}

void TestWindowControls::lockPanels_data()
{
    QTest::addColumn<int>("n");
    for (int n = 1; n <= 5; ++n)
        QTest::addRow("pnlWhispLock%d", n) << n;
}

void TestWindowControls::lockPanels()
{
    QFETCH(int, n);
    const QString number = QString::number(n);
    QWidget* lock = child(m_window, QStringLiteral("pnlWhispLock") + number);
    QVERIFY(lock);
    QVERIFY(lock->isHidden());
    QCOMPARE(lock->height(), 30);
    const struct
    {
        const char* name;
        const char* caption;
        const char* font;
        const char* color;
    } controls[] = {{"lblTo", "TO:", "Tahoma 11", "#000000"},
                    {"lblAccWhisp", "", "Tahoma 11", "#008000"},
                    {"txtWhisp", "", "Tahoma 12", "#ffffff"},
                    {"btnWhispar", "Whispar", "", ""},
                    {"btnFecharWhispLock", "X", "", ""}};
    for (const auto& c : controls) {
        QWidget* control = child(lock, QLatin1String(c.name) + number);
        QVERIFY2(control, c.name);
        // One handler serves the five lines and tells them apart by the tag.
        QCOMPARE(control->property("Tag").toInt(), n);
        if (auto* label = qobject_cast<QLabel*>(control)) {
            QCOMPARE(label->text(), QLatin1String(c.caption));
            QCOMPARE(label->palette().color(QPalette::WindowText).name(), QLatin1String(c.color));
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            QCOMPARE(button->text(), QLatin1String(c.caption));
        } else {
            QCOMPARE(control->palette().color(QPalette::Text).name(), QLatin1String(c.color));
            QCOMPARE(control->palette().color(QPalette::Base), QColor(Qt::black));
        }
        if (*c.font)
            QCOMPARE(fontOf(control), QLatin1String(c.font));
    }
    QCOMPARE(child<QLabel>(lock, QStringLiteral("lblAccWhisp") + number)->cursor().shape(),
             Qt::PointingHandCursor);
}

void TestWindowControls::layoutAtStart()
{
    TfrmMain* w = m_window;
    QCOMPARE(w->minimumSize(), QSize(700, 600) - (w->frameGeometry().size() - w->size()));
    QCOMPARE(fontOf(w), QStringLiteral("Tahoma 11"));
    QCOMPARE(child(w, "pnlTopo")->height(), 35);
    QCOMPARE(child(w, "pnlRodape")->height(), 32);
    QCOMPARE(child(w, "pnlTopChat")->height(), 22);
    QCOMPARE(child(w, "pnlTopUsers")->height(), 22);
    QCOMPARE(child(w, "pnlWhisp")->height(), 95);
    QCOMPARE(child(w, "pnlFundoChat")->minimumWidth(), 150);
    QCOMPARE(child(w, "pnlFundoUsers")->minimumWidth(), 150);
    QCOMPARE(child(w, "pnlChat")->minimumHeight(), 80);
    QCOMPARE(child(w, "pnlWhisp")->minimumHeight(), 80);
    for (const char* name : {"Splitter1", "Splitter2"}) {
        auto* splitter = child<QSplitter>(w, name);
        QCOMPARE(splitter->handleWidth(), 3);
        // The layout follows the drag live, and no pane snaps shut.
        QVERIFY(splitter->opaqueResize());
        QVERIFY(!splitter->childrenCollapsible());
    }
    QCOMPARE(child(w, "txtMsg")->geometry().topLeft(), QPoint(8, 1));
    QCOMPARE(child(w, "txtMsg")->height(), 26);
    QCOMPARE(child(w, "chkAutoScroll")->geometry().size(), QSize(17, 17));
    QVERIFY(child<QAbstractButton>(w, "chkAutoScroll")->isChecked());
    // The bar's right end: the check box and its caption keep 20 pixels from it.
    const int bar = child(w, "pnlTopChat")->width();
    QCOMPARE(child(w, "chkAutoScroll")->x(), bar - 20);
    QCOMPARE(child(w, "lblAutoScroll")->x() + child(w, "lblAutoScroll")->width(), bar - 20);
    for (const char* gap :
         {"ToolButton3", "ToolButton1", "ToolButton2", "ToolButton4", "ToolButton6"})
        QCOMPARE(child(w, gap)->width(), 8);
    QCOMPARE(child(w, "ToolButton5")->width(), 33);
    // The line along the top strip follows the window's width.
    const QSize frame = w->frameGeometry().size() - w->size();
    w->resize(QSize(900, 650) - frame);
    QTRY_COMPARE(child(w, "pnlTopo")->width(), w->width());
    QCOMPARE(child(w, "Bevel1")->width(), child(w, "pnlTopo")->width());
    QCOMPARE(child(w, "Bevel1")->y(), 0);
    QCOMPARE(child<QTimer>(w, "tmrScroll")->interval(), 100);
    // Only the start's information line keeps it running, for a few ticks.
    QTRY_VERIFY(!child<QTimer>(w, "tmrScroll")->isActive());
    auto* users = child<QTreeView>(w, "lstUsers");
    QVERIFY(users->isHeaderHidden());
    for (int column = 1; column < 4; ++column)
        QVERIFY(users->isColumnHidden(column));
    QCOMPARE(users->iconSize(), QSize(27, 18));
    QCOMPARE(users->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(users->selectionBehavior(), QAbstractItemView::SelectRows);
}

// The stand-in fonts run wider than the ones the layout was drawn for; no caption may be cut.
void TestWindowControls::captionsFitTheirLabels()
{
    TfrmMain* w = m_window;
    QList<QWidget*> windows{w};
    m_harness->server.stopListening();
    QTest::mouseClick(child(w, "btnConectar"), Qt::LeftButton);
    QVERIFY(w->feature<ConnectionControl>()->connectDialog());
    windows << w->feature<ConnectionControl>()->connectDialog();
    for (QWidget* window : windows) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || label->objectName().startsWith("lblAccWhisp"))
                continue;
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(label->contentsRect().width() >= needed, qPrintable(label->objectName()));
            QVERIFY2(label->parentWidget()->rect().contains(label->geometry()),
                     qPrintable(label->objectName()));
        }
    }
    w->feature<ConnectionControl>()->connectDialog()->reject();
}

void TestWindowControls::autoScrollLabelClicks_data()
{
    // The mouse events sent to the label, in order: p press, r release, d double click; then
    // the button (l left, r right, m middle); o: the release is outside the label.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("checked");
    // clang-format off
    QTest::newRow("left click") << QStringList{"pl", "rl"} << false;
    QTest::newRow("two left clicks") << QStringList{"pl", "rl", "pl", "rl"} << true;
    QTest::newRow("double click") << QStringList{"pl", "rl", "dl", "rl"} << false;
    QTest::newRow("double click, then a click") << QStringList{"pl", "rl", "dl", "rl", "pl", "rl"} << true;
    QTest::newRow("right click") << QStringList{"pr", "rr"} << true;
    QTest::newRow("middle click") << QStringList{"pm", "rm"} << true;
    QTest::newRow("right double click") << QStringList{"pr", "rr", "dr", "rr"} << true;
    QTest::newRow("released outside") << QStringList{"pl", "rlo"} << true;
    // clang-format on
}

void TestWindowControls::autoScrollLabelClicks()
{
    QFETCH(QStringList, events);
    QFETCH(bool, checked);
    auto* label = child<QLabel>(m_window, "lblAutoScroll");
    auto* check = child<QCheckBox>(m_window, "chkAutoScroll");
    QVERIFY(check->isChecked());
    for (const QString& event : events) {
        const Qt::MouseButton button = event[1] == QLatin1Char('l')   ? Qt::LeftButton
                                       : event[1] == QLatin1Char('r') ? Qt::RightButton
                                                                      : Qt::MiddleButton;
        const QPoint at =
            event.endsWith(QLatin1Char('o')) ? QPoint(-20, -20) : label->rect().center();
        if (event[0] == QLatin1Char('p'))
            QTest::mousePress(label, button, {}, at);
        else if (event[0] == QLatin1Char('r'))
            QTest::mouseRelease(label, button, {}, at);
        else
            QTest::mouseDClick(label, button, {}, at);
    }
    QCOMPARE(check->isChecked(), checked);
}

void TestWindowControls::connectDialogCentredOnScreen()
{
    TfrmMain* w = m_window;
    const QRect screen = w->screen()->availableGeometry();
    // Away from the middle, so that a dialog centred over the window is not centred on the screen.
    w->move(screen.topLeft());
    QTRY_COMPARE(w->frameGeometry().topLeft(), screen.topLeft());
    m_harness->server.stopListening();
    QTest::mouseClick(child(w, "btnConectar"), Qt::LeftButton);
    QWidget* dialog = w->feature<ConnectionControl>()->connectDialog();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const QPoint offset = dialog->frameGeometry().center() - screen.center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
    w->feature<ConnectionControl>()->connectDialog()->reject();
}

QTEST_MAIN(TestWindowControls)
#include "tst_window_controls.moc"
