#include "window/Appearance.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include <QAction>
#include <QFileInfo>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QTreeView>

#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "view/ColorRef.h"
#include "view/StyleTable.h"
#include "window/ChatColumn.h"
#include "window/UserColumn.h"
#include "window/WindowContext.h"

namespace {
int fontSize(int stored)
{
    return std::clamp(stored, 1, 288);
}
} // namespace

Appearance::Appearance(WindowContext& ctx, ChatColumn* chatColumn, UserColumn* userColumn,
                       StyleTable* styles, const BackgroundMenu& menu, Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_chatColumn(chatColumn), m_userColumn(userColumn),
      RVStyle1(styles), AlterarBg1(menu.AlterarBg1), Remover1(menu.Remover1),
      Centralizado1(menu.Centralizado1), Ladoalado1(menu.Ladoalado1), Esticado1(menu.Esticado1),
      m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("Appearance"));
    connect(AlterarBg1, &QAction::triggered, this, m_ctx.guard([this] { AlterarBg1Click(); }));
    connect(Remover1, &QAction::triggered, this, m_ctx.guard([this] { Remover1Click(); }));
    connect(Centralizado1, &QAction::triggered, this,
            m_ctx.guard([this] { Centralizado1Click(); }));
    connect(Ladoalado1, &QAction::triggered, this, m_ctx.guard([this] { Ladoalado1Click(); }));
    connect(Esticado1, &QAction::triggered, this, m_ctx.guard([this] { Esticado1Click(); }));
}

void Appearance::carregaAparencia()
{
    using namespace Keys::Aparencia;
    QPalette list = m_userColumn->lstUsers->palette();
    list.setColor(QPalette::Base, ColorRef::toColor(Settings::read(*m_ctx.settings(), CorFundo)));
    m_userColumn->lstUsers->setPalette(list);
    m_chatColumn->txtChat->setBackgroundColor(
        ColorRef::toColor(Settings::read(*m_ctx.settings(), CorFundoChat)));
    m_chatColumn->txtWhisps->setBackgroundColor(
        ColorRef::toColor(Settings::read(*m_ctx.settings(), CorFundoWhisp)));

    const QString chatFont = Settings::read(*m_ctx.settings(), FonteChat);
    const int chatSize = fontSize(Settings::read(*m_ctx.settings(), TamFonteChat));
    const QString whispFont = Settings::read(*m_ctx.settings(), FonteWhisp);
    const int whispSize = fontSize(Settings::read(*m_ctx.settings(), TamFonteWhisp));
    for (int no = StyleTable::MOD; no <= StyleTable::Erro; ++no)
        RVStyle1->setFont(no, chatFont, chatSize);
    for (int no = StyleTable::WTO; no <= StyleTable::WmFROM; ++no)
        RVStyle1->setFont(no, whispFont, whispSize);
    RVStyle1->setFont(StyleTable::Horario, chatFont, chatSize);
    RVStyle1->setFont(StyleTable::Mencao, chatFont, chatSize);

    const struct
    {
        int style;
        const SettingKey<int>& key;
    } colours[] = {{StyleTable::MOD, CorMOD},      {StyleTable::ADM, CorADM},
                   {StyleTable::OP, CorOP},        {StyleTable::VOICE, CorVOICE},
                   {StyleTable::Acc, CorAcc},      {StyleTable::Usuario, CorUSER},
                   {StyleTable::Emote, CorEmote},  {StyleTable::Info, CorInfo},
                   {StyleTable::WTO, CorWTo},      {StyleTable::WFROM, CorWFrom},
                   {StyleTable::WmTO, CorWToMsg},  {StyleTable::WmFROM, CorWFromMsg},
                   {StyleTable::Horario, CorHora}, {StyleTable::Mencao, CorMencao}};
    for (const auto& colour : colours)
        RVStyle1->setColor(colour.style,
                           ColorRef::toColor(Settings::read(*m_ctx.settings(), colour.key)));

    // A picture that does not load is reported after the rest of the appearance is applied.
    std::exception_ptr pictureError;
    const QString picture = Settings::read(*m_ctx.settings(), ImgFundoChat(m_ctx.settingsFolder()));
    if (!picture.isEmpty() && QFileInfo(picture).isFile()) {
        try {
            loadBackgroundBitmap(picture);
        } catch (const std::exception&) {
            pictureError = std::current_exception();
        }
    }
    ajustaFundoChat();
    m_chatColumn->pnlTopChat->setVisible(Settings::read(*m_ctx.settings(), BarraChat));
    if (m_hooks.opMode()) {
        const bool custom = Settings::read(*m_ctx.settings(), CustomList);
        m_userColumn->setCustomListVisible(custom);
    }
    if (pictureError)
        std::rethrow_exception(pictureError);
}

void Appearance::loadBackgroundBitmap(const QString& path)
{
    // A bitmap by its content, whatever the name: a picture of another format is refused.
    QImage picture;
    if (!picture.load(path, "BMP"))
        throw std::runtime_error("Bitmap image is not valid");
    m_chatColumn->txtChat->setBackgroundBitmap(QPixmap::fromImage(picture));
}

void Appearance::ajustaFundoChat()
{
    const QString placement = Settings::read(*m_ctx.settings(), Keys::Aparencia::PosImgFundoChat);
    if (placement == QLatin1String("lado"))
        applyBackgroundStyle(ChatView::BackgroundStyle::Tiled);
    else if (placement != QLatin1String("esticado"))
        applyBackgroundStyle(ChatView::BackgroundStyle::Centered);
    else
        applyBackgroundStyle(ChatView::BackgroundStyle::Stretched);
}

void Appearance::applyBackgroundStyle(ChatView::BackgroundStyle style)
{
    m_chatColumn->txtChat->setBackgroundStyle(style);
    if (style == ChatView::BackgroundStyle::Tiled)
        Ladoalado1->setChecked(true);
    else if (style == ChatView::BackgroundStyle::Stretched)
        Esticado1->setChecked(true);
    else
        Centralizado1->setChecked(true);
}

void Appearance::AlterarBg1Click()
{
    const QString file = m_ctx.prompts().openFileName(
        m_ctx.dialogParent(), QStringLiteral("Alterar imagem de fundo do chat..."),
        QStringLiteral("Imagem Bitmap (*.bmp)"));
    if (file.isEmpty())
        return;
    loadBackgroundBitmap(file);
    Settings::write(*m_ctx.settings(), Keys::Aparencia::ImgFundoChat(m_ctx.settingsFolder()), file);
}

void Appearance::Remover1Click()
{
    m_chatColumn->txtChat->setBackgroundBitmap(QPixmap());
    Settings::write(*m_ctx.settings(), Keys::Aparencia::ImgFundoChat(m_ctx.settingsFolder()),
                    QString());
}

void Appearance::Centralizado1Click()
{
    applyBackgroundStyle(ChatView::BackgroundStyle::Centered);
    Settings::write(*m_ctx.settings(), Keys::Aparencia::PosImgFundoChat, QStringLiteral("centro"));
}

void Appearance::Ladoalado1Click()
{
    applyBackgroundStyle(ChatView::BackgroundStyle::Tiled);
    Settings::write(*m_ctx.settings(), Keys::Aparencia::PosImgFundoChat, QStringLiteral("lado"));
}

void Appearance::Esticado1Click()
{
    applyBackgroundStyle(ChatView::BackgroundStyle::Stretched);
    Settings::write(*m_ctx.settings(), Keys::Aparencia::PosImgFundoChat,
                    QStringLiteral("esticado"));
}
