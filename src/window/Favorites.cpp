#include "window/Favorites.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProxyStyle>

#include "dialogs/Prompts.h"
#include "settings/NumberedList.h"
#include "settings/TIniFile.h"
#include "tools/TfrmOrgCanais.h"
#include "window/WindowContext.h"

namespace {
// The fixed items "Adicionar Canal", "Organizar Canais" and the separator come first.
constexpr int FixedChannelItems = 3;

// A menu longer than the screen scrolls instead of spreading into columns, so every favourite
// stays reachable however many there are.
class ScrollingMenuStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};
} // namespace

Favorites::Favorites(WindowContext& ctx, QMenu* popCanais, QAction* mnuOrgCanal, QAction* CrtlD,
                     Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(ctx), popCanais(popCanais), m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("Favorites"));
    setupFavorites(mnuOrgCanal, CrtlD);
}

void Favorites::setupFavorites(QAction* mnuOrgCanal, QAction* CrtlD)
{
    // On the style the rest of the program shows, not a fresh default one. The feature owns it:
    // the menu, made before the feature, is deleted first.
    auto* scrolling = new ScrollingMenuStyle(QApplication::style()->name());
    scrolling->setParent(this);
    popCanais->setStyle(scrolling);
    connect(popCanais->findChild<QAction*>(QStringLiteral("Adicionarcanal1")), &QAction::triggered,
            this, m_ctx.guard([this] { Adicionarcanal1Click(); }));
    connect(popCanais->findChild<QAction*>(QStringLiteral("Organizarcanais1")), &QAction::triggered,
            this, m_ctx.guard([this] { Organizarcanais1Click(); }));
    connect(mnuOrgCanal, &QAction::triggered, this, m_ctx.guard([this] { mnuOrgCanalClick(); }));
    connect(CrtlD, &QAction::triggered, this, m_ctx.guard([this] { CrtlDExecute(); }));
}

// The favourites behind the fixed items, as confs.ini holds them now; at start-up and after the
// favourites dialog.
void Favorites::loadFavoriteChannels()
{
    const QList<QAction*> items = popCanais->actions();
    for (qsizetype i = items.size() - 1; i >= FixedChannelItems; --i) {
        popCanais->removeAction(items[i]);
        delete items[i];
    }
    TIniFile& ini = *m_ctx.settings();
    const NumberedList favourites = NumberedList::favouriteChannels();
    const int count = favourites.count(ini);
    for (int i = 1; i <= count; ++i)
        addFavoriteChannel(ini.ReadString(favourites.section(), favourites.key(0, i), QString()));
}

// A favourite channel behind the separator of the channels menu; choosing it joins it. Its name
// is shown as stored: an "&" marks no access key.
void Favorites::addFavoriteChannel(const QString& caption)
{
    QAction* item =
        popCanais->addAction(QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    connect(item, &QAction::triggered, this, m_ctx.guard([this, item] { joinCanal(item); }));
}

void Favorites::joinCanal(QAction* item)
{
    QString name = item->text();
    name.remove(QLatin1Char('&'));
    m_ctx.sendLine(QStringLiteral("/join ") + name + QLatin1Char('\r'));
}

// The new entry takes the number after the last one listed: a count below one, not a decimal
// number, or raised by hand beyond the stored entries would otherwise name a key no reader
// lists, and the channel would be lost at the next start.
void Favorites::Adicionarcanal1Click()
{
    TIniFile& ini = *m_ctx.settings();
    const QString channel = m_hooks.channel();
    const NumberedList favourites = NumberedList::favouriteChannels();
    const int entry = favourites.count(ini) + 1;
    TIniFile::Batch batch(ini);
    ini.WriteString(favourites.section(), favourites.key(0, entry), channel);
    ini.WriteInteger(favourites.section(), favourites.countKey(), entry + 1);
    batch.commit();
    addFavoriteChannel(channel);
    m_ctx.focusInputLine();
}

// Only while btnJoin is enabled, which is while logged in.
void Favorites::CrtlDExecute()
{
    if (m_ctx.loggedIn())
        Adicionarcanal1Click();
}

// Whether the dialog ends with "OK" or "Cancelar", the menu is built again from the file.
void Favorites::Organizarcanais1Click()
{
    {
        TfrmOrgCanais dialog(m_ctx.settingsFolder() + QStringLiteral("confs.ini"), m_ctx.prompts(),
                             m_ctx.dialogParent());
        m_ctx.prompts().exec(dialog);
    }
    loadFavoriteChannels();
    m_ctx.focusInputLine();
}

void Favorites::mnuOrgCanalClick()
{
    Organizarcanais1Click();
}
