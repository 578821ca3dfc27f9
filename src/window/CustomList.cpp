#include "window/CustomList.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>

#include "dialogs/Prompts.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/UserColumn.h"
#include "window/WindowContext.h"

// The rows of lstCustom and the entries Lista/Acc<i>, Mot<i> (i = row + 1) hold the same
// entries in the same order. Every change is written first and shown after, so a write the file
// refuses leaves the list as the file has it.

namespace {
// Guards start-up against a count typed by hand that no file could hold.
constexpr int MaxSuspects = 100000;
} // namespace

CustomList::CustomList(WindowContext& ctx, QMenu* popUsers, QMenu* popCustom,
                       UserColumn* userColumn, const Moderation* moderation,
                       TLockWhisps* lockWhisps, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_userColumn(userColumn), m_moderation(moderation),
      FLockWhisps(lockWhisps)
{
    setObjectName(QStringLiteral("CustomList"));
    setupCustomList(popUsers, popCustom);
}

void CustomList::setupCustomList(QMenu* popUsers, QMenu* popCustom)
{
    const struct
    {
        QMenu* menu;
        const char* name;
        void (CustomList::*handler)();
    } items[] = {
        {popUsers, "AdicionarLista1", &CustomList::AdicionarLista1Click},
        {popCustom, "popAddCustom", &CustomList::popAddCustomClick},
        {popCustom, "popMotCustom", &CustomList::popMotCustomClick},
        {popCustom, "popDelCustom", &CustomList::popDelCustomClick},
        {popCustom, "popCustomWhois", &CustomList::popCustomWhoisClick},
        {popCustom, "popCustomLockarWhisp", &CustomList::popCustomLockarWhispClick},
    };
    for (const auto& item : items) {
        auto handler = item.handler;
        connect(item.menu->findChild<QAction*>(QLatin1String(item.name)), &QAction::triggered, this,
                m_ctx.guard([this, handler] { (this->*handler)(); }));
    }
    // A double click only: Enter in the list belongs to the default button.
    connect(m_userColumn->lstCustom, &QAbstractItemView::doubleClicked, this,
            m_ctx.guard([this] { lstCustom1DblClick(); }));
}

void CustomList::loadSuspects()
{
    TIniFile& ini = *m_ctx.settings();
    const int suspects = std::min(NumberedList::suspectAccounts().count(ini), MaxSuspects);
    for (int i = 1; i <= suspects; ++i)
        new QTreeWidgetItem(m_userColumn->lstCustom, {Settings::read(ini, Keys::Lista::Acc(i)),
                                                      Settings::read(ini, Keys::Lista::Mot(i))});
    m_userColumn->lstCustom->header()->setStretchLastSection(false);
    m_userColumn->lstCustom->header()->setSectionResizeMode(0, QHeaderView::Stretch);
}

// The selected row of the suspect list; -1 when none is.
int CustomList::selectedSuspect() const
{
    const QList<QTreeWidgetItem*> selected = m_userColumn->lstCustom->selectedItems();
    if (selected.isEmpty())
        return -1;
    return m_userColumn->lstCustom->indexOfTopLevelItem(selected.first());
}

// The number under which confs.ini stores the entry of a row: row + 1 while the file agrees with
// the list. A file changed behind the list's back (by hand, by a second copy of the program) may
// hold it under another number, or not at all (0): then the stored entry with the same account
// and reason nearest to row + 1 is the one, so that no other entry is ever touched for it.
int CustomList::storedSuspect(int row) const
{
    TIniFile& ini = *m_ctx.settings();
    const QTreeWidgetItem* item = m_userColumn->lstCustom->topLevelItem(row);
    const QString account = item->text(0);
    const QString reason = item->text(1);
    const NumberedList list = NumberedList::suspectAccounts();
    const auto holds = [&](int i) {
        return Settings::read(ini, Keys::Lista::Acc(i)) == account &&
               Settings::read(ini, Keys::Lista::Mot(i)) == reason;
    };
    if (row + 1 <= list.count(ini) && holds(row + 1))
        return row + 1;
    // Only numbers that hold keys are looked at, however high a hand-edited key is numbered.
    int found = 0;
    for (const int i : list.storedEntries(ini)) {
        if (holds(i) && (found == 0 || std::abs(i - (row + 1)) < std::abs(found - (row + 1))))
            found = i;
    }
    return found;
}

void CustomList::addSuspect(const QString& account)
{
    TIniFile& ini = *m_ctx.settings();
    const int n = NumberedList::suspectAccounts().count(ini);
    {
        TIniFile::Batch batch(ini);
        Settings::write(ini, Keys::Lista::nL, n + 1);
        Settings::write(ini, Keys::Lista::Acc(n + 1), account);
        batch.commit();
    }
    // The row shows the account as the file keeps it (blanks around it trimmed, line breaks as
    // blanks), so that the next run shows the same.
    new QTreeWidgetItem(m_userColumn->lstCustom,
                        {Settings::read(ini, Keys::Lista::Acc(n + 1)), QString()});
}

void CustomList::AdicionarLista1Click()
{
    const QString user = m_ctx.selectedUser();
    if (!user.isEmpty() && m_moderation->opMode())
        addSuspect(user);
    m_ctx.focusInputLine();
}

void CustomList::popAddCustomClick()
{
    const std::optional<QString> account =
        m_ctx.prompts().inputBox(m_ctx.dialogParent(), QStringLiteral("Accounts suspeitas"),
                                 QStringLiteral("Digite a account a ser adicionada:"), QString());
    if (account && !account->isEmpty())
        addSuspect(*account);
    m_ctx.focusInputLine();
}

void CustomList::popMotCustomClick()
{
    const int row = selectedSuspect();
    if (row >= 0) {
        QTreeWidgetItem* item = m_userColumn->lstCustom->topLevelItem(row);
        const QString old = item->text(1);
        // A cancelled box gives the old reason back, which is written again.
        const QString reason =
            m_ctx.prompts()
                .inputBox(m_ctx.dialogParent(), QStringLiteral("Accounts suspeitas"),
                          QStringLiteral("Digite o motivo da suspeita:"), old)
                .value_or(old);
        const int stored = storedSuspect(row);
        if (stored > 0) {
            Settings::write(*m_ctx.settings(), Keys::Lista::Mot(stored), reason);
            item->setText(1, Settings::read(*m_ctx.settings(), Keys::Lista::Mot(stored)));
        } else {
            item->setText(1, reason);
        }
    }
    m_ctx.focusInputLine();
}

void CustomList::popDelCustomClick()
{
    const int row = selectedSuspect();
    if (row >= 0) {
        // An entry the file does not hold leaves the file alone: renumbering from a count that
        // is lower than the list would delete the file's last entry instead.
        const int stored = storedSuspect(row);
        if (stored > 0)
            NumberedList::suspectAccounts().remove(*m_ctx.settings(), stored);
        delete m_userColumn->lstCustom->takeTopLevelItem(row);
    }
    m_ctx.focusInputLine();
}

void CustomList::popCustomWhoisClick()
{
    const int row = selectedSuspect();
    if (row >= 0)
        m_ctx.sendLine(QStringLiteral("/whois ") +
                       m_userColumn->lstCustom->topLevelItem(row)->text(0) + QLatin1Char('\r'));
    m_ctx.focusInputLine();
}

void CustomList::popCustomLockarWhispClick()
{
    const int row = selectedSuspect();
    if (row >= 0)
        FLockWhisps->addLock(m_userColumn->lstCustom->topLevelItem(row)->text(0));
}

void CustomList::lstCustom1DblClick()
{
    popCustomWhoisClick();
}
