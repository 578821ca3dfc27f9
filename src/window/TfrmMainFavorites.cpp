#include "window/TfrmMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QProxyStyle>

#include "dialogs/Prompts.h"
#include "settings/NumberedList.h"
#include "settings/TIniFile.h"
#include "tools/TfrmOrgCanais.h"
#include "window/BottomStrip.h"

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

void TfrmMain::setupFavorites()
{
    // On the style the rest of the program shows, not a fresh default one. The window owns it:
    // the menu, made before it, is deleted first.
    auto* scrolling = new ScrollingMenuStyle(QApplication::style()->name());
    scrolling->setParent(this);
    popCanais->setStyle(scrolling);
    connect(findChild<QAction*>(QStringLiteral("Adicionarcanal1")), &QAction::triggered, this,
            guard([this] { Adicionarcanal1Click(); }));
    connect(findChild<QAction*>(QStringLiteral("Organizarcanais1")), &QAction::triggered, this,
            guard([this] { Organizarcanais1Click(); }));
    connect(mnuOrgCanal, &QAction::triggered, this, guard([this] { mnuOrgCanalClick(); }));
    connect(findChild<QAction*>(QStringLiteral("CrtlD")), &QAction::triggered, this,
            guard([this] { CrtlDExecute(); }));
}

// The favourites behind the fixed items, as confs.ini holds them now; at start-up and after the
// favourites dialog.
void TfrmMain::loadFavoriteChannels()
{
    const QList<QAction*> items = popCanais->actions();
    for (qsizetype i = items.size() - 1; i >= FixedChannelItems; --i) {
        popCanais->removeAction(items[i]);
        delete items[i];
    }
    const NumberedList favourites = NumberedList::favouriteChannels();
    const int count = favourites.count(*FIni);
    for (int i = 1; i <= count; ++i)
        addFavoriteChannel(FIni->ReadString(favourites.section(), favourites.key(0, i), QString()));
}

// The new entry takes the number after the last one listed: a count below one, not a decimal
// number, or raised by hand beyond the stored entries would otherwise name a key no reader
// lists, and the channel would be lost at the next start.
void TfrmMain::Adicionarcanal1Click()
{
    const NumberedList favourites = NumberedList::favouriteChannels();
    const int entry = favourites.count(*FIni) + 1;
    TIniFile::Batch batch(*FIni);
    FIni->WriteString(favourites.section(), favourites.key(0, entry), channel());
    FIni->WriteInteger(favourites.section(), favourites.countKey(), entry + 1);
    batch.commit();
    addFavoriteChannel(channel());
    m_bottomStrip->txtMsg->setFocus();
}

// Only while btnJoin is enabled, which is while logged in.
void TfrmMain::CrtlDExecute()
{
    if (loggedIn())
        Adicionarcanal1Click();
}

// Whether the dialog ends with "OK" or "Cancelar", the menu is built again from the file.
void TfrmMain::Organizarcanais1Click()
{
    {
        TfrmOrgCanais dialog(m_folder + QStringLiteral("confs.ini"), *m_prompts, this);
        m_prompts->exec(dialog);
    }
    loadFavoriteChannels();
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::mnuOrgCanalClick()
{
    Organizarcanais1Click();
}
