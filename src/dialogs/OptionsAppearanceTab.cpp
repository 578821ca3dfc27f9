#include "dialogs/OptionsAppearanceTab.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <optional>
#include <utility>

#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include "dialogs/ClickableLabel.h"
#include "dialogs/ContentFit.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/Prompts.h"
#include "dialogs/WrappingCheckBox.h"
#include "resources/Pictures.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ChatView.h"
#include "view/ColorRef.h"
#include "view/StyleTable.h"

namespace {

using namespace Keys::Aparencia;

constexpr int MaxPointSize = 288;

// The entries of the user colour list, in the order of the colour slots.
struct UserEntry
{
    const char* caption;
    int picture; // user tag picture; -1: none
    const SettingKey<int>* color;
};

// clang-format off
const UserEntry UserEntries[] = {
    {"MODERADOR", 2, &CorMOD},
    {"ADMINISTRADOR", 0, &CorADM},
    {"OPERADOR", 1, &CorOP},
    {"VOICE", 3, &CorVOICE},
    {"USUÁRIO", -1, &CorUSER},
};
// clang-format on

// A piece of preview text: clicking it chooses the colour of its style in the main window.
struct PreviewText
{
    const char* name;
    int x;
    int y;
    const char* caption;
    const char* toolTip; // nullptr: shown only, takes no clicks
    const SettingKey<int>* color;
    int style;
};

// clang-format off
const PreviewText ChatTexts[] = {
    {"lblMsgHora", 2, 2, "[HORARIO]", "Cor dos horários nas mensagens", &CorHora, StyleTable::Horario},
    {"lblMsgAcc", 82, 2, "<USUARIO>", "Cor da account do usuário no chat", &CorAcc, StyleTable::Acc},
    {"lblMsgMsg", 170, 2, "mensagem ...", nullptr, &CorMsg, -1},
    {"lblMsgEmo", 2, 26, "[HORARIO] <USUARIO emotes>", "Cor dos emotes", &CorEmote, StyleTable::Emote},
    {"lblMsgInfo", 2, 49, "TEXTO DE INFO", "Cor das mensagens informativas", &CorInfo, StyleTable::Info},
    {"lblMsgMencao", 170, 49, "<USUARIO> menção a você", "Cor das mensagens que mencionam você", &CorMencao, StyleTable::Mencao},
};

const PreviewText WhisperTexts[] = {
    {"lblMsgWhispFrom", 2, 2, "[HORARIO]  <FROM: user>", "Cor da account do usuario que whispou", &CorWFrom, StyleTable::WFROM},
    {"lblMsgWhispFromMsg", 186, 2, "whisp recebido", "Cor da mensagem do whisp recebido", &CorWFromMsg, StyleTable::WmFROM},
    {"lblMsgWhispTo", 2, 26, "[HORARIO]  <TO: user>", "Cor da account do usuário whispado", &CorWTo, StyleTable::WTO},
    {"lblMsgWhispToMsg", 170, 26, "whisp enviado", "Cor da mensagem do whisp enviado", &CorWToMsg, StyleTable::WmTO},
};
// clang-format on

// What a preview stands for in the main window and in the file.
struct PaneDescription
{
    const char* panel;
    const char* shape;
    const char* background;
    const char* backgroundTip;
    const SettingKey<int>* backgroundColor;
    const SettingKey<QString>* family;
    const SettingKey<int>* size;
    const PreviewText* texts;
    int textCount;
};

const PaneDescription Panes[] = {
    {"pnlTelaChat", "shpTelaChat", "lblTelaChat", "Cor de fundo do chat", &CorFundoChat, &FonteChat,
     &TamFonteChat, ChatTexts, int(std::size(ChatTexts))},
    {"pnlTelaWhisp", "shpTelaWhisp", "lblTelaWhisp", "Cor de fundo dos whisps", &CorFundoWhisp,
     &FonteWhisp, &TamFonteWhisp, WhisperTexts, int(std::size(WhisperTexts))},
};

// The styles that take a pane's font: the channel pane's lines, the time stamps and the mentions,
// or the whisper lines.
QVector<int> stylesOf(bool whisper)
{
    if (whisper)
        return {StyleTable::WTO, StyleTable::WFROM, StyleTable::WmTO, StyleTable::WmFROM};
    QVector<int> styles;
    for (int no = StyleTable::MOD; no <= StyleTable::Erro; ++no)
        styles << no;
    return styles << StyleTable::Horario << StyleTable::Mencao;
}

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A size read from the file that a font can take.
int pointSize(int stored)
{
    return std::clamp(stored, 1, MaxPointSize);
}

// The size the font dialog chose, in points, also for a font it gave in pixels.
int pointSizeOf(const QFont& font)
{
    return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

QFont withFamilyAndSize(QFont font, const QString& family, int points)
{
    font.setFamily(family);
    font.setPointSize(pointSize(points));
    return font;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

void setFill(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The background of a list: what its rows are drawn on.
void setListBackground(QWidget* list, const QColor& color)
{
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, color);
    list->setPalette(palette);
}

QPushButton* button(const char* name, const char* caption, QWidget* parent, const QRect& geometry)
{
    auto* b = new QPushButton(text(caption), parent);
    b->setObjectName(text(name));
    b->setGeometry(geometry);
    return b;
}

QGroupBox* group(const char* name, const char* caption, QWidget* parent, const QRect& geometry)
{
    auto* g = new QGroupBox(text(caption), parent);
    g->setObjectName(text(name));
    g->setGeometry(geometry);
    return g;
}

} // namespace

OptionsAppearanceTab::OptionsAppearanceTab(TIniFile& ini, const OptionsContext& context,
                                           QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsAparencia"));
    getCores();
    buildUserColors();
    buildSwitches();
    buildMessages();
    carregaTela(Chat);
    carregaTela(Whisper);
}

void OptionsAppearanceTab::buildUserColors()
{
    QGroupBox* grpListaUser =
        group("grpListaUser", "  Cor dos Usuários  ", this, QRect(8, 8, 273, 145));

    lstUsersConf = new QTreeWidget(grpListaUser);
    lstUsersConf->setObjectName(QStringLiteral("lstUsersConf"));
    lstUsersConf->setAccessibleName(QStringLiteral("Cor dos Usuários"));
    lstUsersConf->setGeometry(8, 20, 145, 113);
    lstUsersConf->setColumnCount(1);
    lstUsersConf->setHeaderLabels({QStringLiteral("TIPO")});
    lstUsersConf->setHeaderHidden(true);
    lstUsersConf->header()->setStretchLastSection(true);
    lstUsersConf->setRootIsDecorated(false);
    lstUsersConf->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstUsersConf->setSelectionMode(QAbstractItemView::SingleSelection);
    lstUsersConf->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstUsersConf->setIconSize(QSize(27, 18));
    lstUsersConf->setItemDelegate(new UserColorDelegate(&FCores, lstUsersConf));
    QPalette palette = lstUsersConf->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::white);
    // The chosen entry stays marked while the focus is on a button.
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    lstUsersConf->setPalette(palette);
    for (const UserEntry& entry : UserEntries) {
        auto* item = new QTreeWidgetItem(lstUsersConf, {text(entry.caption)});
        if (entry.picture >= 0)
            item->setIcon(0, Pictures::userTagIcon(entry.picture));
    }
    lstUsersConf->setFont(withFamilyAndSize(lstUsersConf->font(), Settings::read(FIni, UsersFonte),
                                            Settings::read(FIni, UsersFonteTam)));
    showUserListLook();
    connect(lstUsersConf, &QTreeWidget::itemClicked, this, guard([this] { lstUsersConfClick(); }));

    connect(button("btnAlteraFonteUsers", "Fonte da Lista", grpListaUser, QRect(160, 20, 105, 25)),
            &QPushButton::clicked, this, guard([this] { btnAlteraFonteUsersClick(); }));
    connect(button("btnCorFundoUsers", "Cor de Fundo", grpListaUser, QRect(160, 52, 105, 25)),
            &QPushButton::clicked, this, guard([this] { btnCorFundoUsersClick(); }));
    connect(button("btnRestaurarUsers", "Restaurar Padrão", grpListaUser, QRect(160, 84, 105, 25)),
            &QPushButton::clicked, this, guard([this] { btnRestaurarUsersClick(); }));
}

void OptionsAppearanceTab::buildSwitches()
{
    QGroupBox* GroupBox1 = group("GroupBox1", "  Opções  ", this, QRect(288, 8, 161, 145));
    const auto box = [GroupBox1](const char* name, const char* caption, int top, bool checked) {
        auto* check = new WrappingCheckBox(text(caption), GroupBox1);
        check->setObjectName(text(name));
        check->setGeometry(8, top, 145, 38);
        check->setChecked(checked);
        return check;
    };
    chkHorario = box("chkHorario", "Mostrar horário antes das mensagens", 20,
                     Settings::read(FIni, HorarioMsg));
    chkMostrarBarra = box("chkMostrarBarra", "Mostrar barra acima da tela de chat", 62,
                          Settings::read(FIni, BarraChat));
    chkMostrarCustom = box("chkMostrarCustom", "Mostrar lista de accounts suspeitas", 104,
                           Settings::read(FIni, CustomList));
    chkMostrarCustom->setVisible(m_context.opMode);
}

// Drawn 441 wide for the description in Tahoma; where it runs wider, the group, the previews
// and the tab grow with it, and the button on the right moves on.
void OptionsAppearanceTab::buildMessages()
{
    auto* lblDescrCorMensagem = new QLabel(
        QStringLiteral("Clique em um item da tela de chat ou de whisps para alterar a cor"));
    lblDescrCorMensagem->setObjectName(QStringLiteral("lblDescrCorMensagem"));
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(13);
    lblDescrCorMensagem->setFont(tahoma);
    const int extra = std::max(0, lblDescrCorMensagem->sizeHint().width() - 425);
    const int inner = 425 + extra;

    QGroupBox* grpTelaChat =
        group("grpTelaChat", "  Mensagens  ", this, QRect(8, 160, 441 + extra, 233));
    lblDescrCorMensagem->setParent(grpTelaChat);
    lblDescrCorMensagem->setGeometry(8, 18, inner, 20);
    buildPreview(Chat, grpTelaChat, QRect(8, 40, inner, 84));
    buildPreview(Whisper, grpTelaChat, QRect(8, 128, inner, 62));

    connect(button("btnAlteraFonteChat", "Fonte do Chat", grpTelaChat, QRect(8, 198, 105, 25)),
            &QPushButton::clicked, this, guard([this] { choosePaneFont(Chat); }));
    connect(
        button("btnFonteWhisp", "Fonte dos Whisps", grpTelaChat, QRect(328 + extra, 198, 105, 25)),
        &QPushButton::clicked, this, guard([this] { choosePaneFont(Whisper); }));
    setMinimumSize(ContentFit::extentOfChildren(*this, 8));
}

void OptionsAppearanceTab::buildPreview(Pane pane, QWidget* group, const QRect& geometry)
{
    const PaneDescription& d = Panes[pane];
    auto* panel = new QFrame(group);
    panel->setObjectName(text(d.panel));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(geometry);
    const QRect inside = panel->contentsRect();

    // Stacked in the order made: the fill, the label that catches clicks on the empty
    // background, then the texts.
    Preview& preview = m_previews[pane];
    preview.shape = new QWidget(panel);
    preview.shape->setObjectName(text(d.shape));
    preview.shape->setGeometry(inside);

    auto* background = new ClickableLabel(panel);
    background->setObjectName(text(d.background));
    background->setToolTip(text(d.backgroundTip));
    background->setGeometry(inside);
    connect(background, &ClickableLabel::clicked, this,
            guard([this, pane] { choosePaneBackground(pane); }));

    for (int i = 0; i < d.textCount; ++i) {
        const PreviewText& t = d.texts[i];
        QLabel* label = nullptr;
        if (t.toolTip) {
            auto* clickable = new ClickableLabel(panel);
            clickable->setToolTip(text(t.toolTip));
            connect(clickable, &ClickableLabel::clicked, this,
                    guard([this, pane, i] { chooseTextColor(pane, i); }));
            label = clickable;
        } else {
            label = new QLabel(panel);
        }
        label->setObjectName(text(t.name));
        label->setText(text(t.caption));
        label->move(inside.topLeft() + QPoint(t.x, t.y));
        preview.texts << label;
    }
}

void OptionsAppearanceTab::getCores()
{
    for (size_t slot = 0; slot < FCores.size(); ++slot)
        FCores[slot] = ColorRef::toColor(Settings::read(FIni, *UserEntries[slot].color));
}

void OptionsAppearanceTab::resetaCores()
{
    TIniFile::Batch batch(FIni);
    Settings::write(FIni, CorMOD, 8421504);
    Settings::write(FIni, CorADM, 16744448);
    Settings::write(FIni, CorOP, 16759671);
    Settings::write(FIni, CorVOICE, 33023);
    Settings::write(FIni, CorUSER, 16777215);
    Settings::write(FIni, CorFundo, 0);
    batch.commit();
    getCores();
}

void OptionsAppearanceTab::showUserListLook()
{
    QFont font = lstUsersConf->font();
    font.setFamily(Settings::read(FIni, UsersFonte));
    lstUsersConf->setFont(font);
    setListBackground(lstUsersConf, ColorRef::toColor(Settings::read(FIni, CorFundo)));
    lstUsersConf->viewport()->update();
}

void OptionsAppearanceTab::carregaTela(Pane pane)
{
    const PaneDescription& d = Panes[pane];
    const Preview& preview = m_previews[pane];
    setFill(preview.shape, ColorRef::toColor(Settings::read(FIni, *d.backgroundColor)));
    const QString family = Settings::read(FIni, *d.family);
    const int size = Settings::read(FIni, *d.size);
    for (int i = 0; i < d.textCount; ++i) {
        QLabel* label = preview.texts[i];
        label->setFont(withFamilyAndSize(label->font(), family, size));
        setTextColor(label, ColorRef::toColor(Settings::read(FIni, *d.texts[i].color)));
        label->adjustSize();
    }
}

void OptionsAppearanceTab::lstUsersConfClick()
{
    QTreeWidgetItem* selected = lstUsersConf->currentItem();
    if (!selected || !selected->isSelected())
        return;
    const auto slot = size_t(lstUsersConf->indexOfTopLevelItem(selected));
    const std::optional<QColor> color = m_context.prompts->color(this, FCores[slot]);
    if (!color)
        return;
    Settings::write(FIni, *UserEntries[slot].color, ColorRef::fromColor(*color));
    FCores[slot] = *color;
    lstUsersConf->viewport()->update();
}

void OptionsAppearanceTab::btnAlteraFonteUsersClick()
{
    const std::optional<QFont> chosen = m_context.prompts->font(this, lstUsersConf->font());
    if (!chosen)
        return;
    const QString family = chosen->family();
    const int size = pointSizeOf(*chosen);
    TIniFile::Batch batch(FIni);
    Settings::write(FIni, UsersFonte, family);
    Settings::write(FIni, UsersFonteTam, size);
    batch.commit();
    lstUsersConf->setFont(withFamilyAndSize(lstUsersConf->font(), family, size));
    if (m_context.userList) {
        QTreeView* lstUsers = m_context.userList;
        lstUsers->setFont(withFamilyAndSize(lstUsers->font(), family, size));
    }
}

void OptionsAppearanceTab::btnCorFundoUsersClick()
{
    const std::optional<QColor> color =
        m_context.prompts->color(this, ColorRef::toColor(Settings::read(FIni, CorFundo)));
    if (!color)
        return;
    Settings::write(FIni, CorFundo, ColorRef::fromColor(*color));
    showUserListLook();
    if (m_context.userList)
        setListBackground(m_context.userList, *color);
}

void OptionsAppearanceTab::btnRestaurarUsersClick()
{
    resetaCores();
    showUserListLook();
}

void OptionsAppearanceTab::choosePaneFont(Pane pane)
{
    const PaneDescription& d = Panes[pane];
    // Every text of a preview shows the pane's font.
    const std::optional<QFont> chosen =
        m_context.prompts->font(this, m_previews[pane].texts.first()->font());
    if (!chosen)
        return;
    const QString family = chosen->family();
    const int size = pointSizeOf(*chosen);
    TIniFile::Batch batch(FIni);
    Settings::write(FIni, *d.family, family);
    Settings::write(FIni, *d.size, size);
    batch.commit();
    carregaTela(pane);
    if (m_context.styles) {
        for (const int style : stylesOf(pane == Whisper))
            m_context.styles->setFont(style, family, pointSize(size));
    }
    if (ChatView* view = paneView(pane))
        view->reformat();
}

void OptionsAppearanceTab::choosePaneBackground(Pane pane)
{
    QWidget* shape = m_previews[pane].shape;
    const std::optional<QColor> color =
        m_context.prompts->color(this, shape->palette().color(QPalette::Window));
    if (!color)
        return;
    Settings::write(FIni, *Panes[pane].backgroundColor, ColorRef::fromColor(*color));
    if (ChatView* view = paneView(pane))
        view->setBackgroundColor(*color);
    setFill(shape, *color);
}

void OptionsAppearanceTab::chooseTextColor(Pane pane, int index)
{
    const PreviewText& t = Panes[pane].texts[index];
    QLabel* label = m_previews[pane].texts[index];
    const std::optional<QColor> color =
        m_context.prompts->color(this, label->palette().color(QPalette::WindowText));
    if (!color)
        return;
    Settings::write(FIni, *t.color, ColorRef::fromColor(*color));
    // The panes show the colour when they are next painted; nothing is laid out again.
    if (m_context.styles)
        m_context.styles->setColor(t.style, *color);
    setTextColor(label, *color);
}

ChatView* OptionsAppearanceTab::paneView(Pane pane) const
{
    return pane == Chat ? m_context.chatPane : m_context.whisperPane;
}

std::function<void()> OptionsAppearanceTab::guard(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            m_context.prompts->errorBox(this, QString::fromUtf8(e.what()));
        }
    };
}

void OptionsAppearanceTab::store()
{
    TIniFile::Batch batch(FIni);
    Settings::write(FIni, HorarioMsg, chkHorario->isChecked());
    Settings::write(FIni, BarraChat, chkMostrarBarra->isChecked());
    Settings::write(FIni, CustomList, chkMostrarCustom->isChecked());
    batch.commit();
}
