#include "window/TfrmMain.h"

#include <cstdlib>
#include <optional>

#include <QAction>
#include <QLineEdit>
#include <QTreeWidget>

#include "dialogs/Prompts.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/BottomStrip.h"
#include "window/Moderation.h"
#include "window/TLockWhisps.h"
#include "window/UserColumn.h"

// The rows of lstCustom and the entries Lista/Acc<i>, Mot<i> (i = row + 1) hold the same
// entries in the same order. Every change is written first and shown after, so a write the file
// refuses leaves the list as the file has it.

void TfrmMain::setupSuspectList()
{
    const struct
    {
        const char* name;
        void (TfrmMain::*handler)();
    } items[] = {
        {"AdicionarLista1", &TfrmMain::AdicionarLista1Click},
        {"popAddCustom", &TfrmMain::popAddCustomClick},
        {"popMotCustom", &TfrmMain::popMotCustomClick},
        {"popDelCustom", &TfrmMain::popDelCustomClick},
        {"popCustomWhois", &TfrmMain::popCustomWhoisClick},
        {"popCustomLockarWhisp", &TfrmMain::popCustomLockarWhispClick},
    };
    for (const auto& item : items) {
        auto handler = item.handler;
        connect(findChild<QAction*>(QLatin1String(item.name)), &QAction::triggered, this,
                guard([this, handler] { (this->*handler)(); }));
    }
    // A double click only: Enter in the list belongs to the default button.
    connect(m_userColumn->lstCustom, &QAbstractItemView::doubleClicked, this,
            guard([this] { lstCustom1DblClick(); }));
}

// The selected row of the suspect list; -1 when none is.
int TfrmMain::selectedSuspect() const
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
int TfrmMain::storedSuspect(int row) const
{
    const QTreeWidgetItem* item = m_userColumn->lstCustom->topLevelItem(row);
    const QString account = item->text(0);
    const QString reason = item->text(1);
    const NumberedList list = NumberedList::suspectAccounts();
    const auto holds = [&](int i) {
        return Settings::read(*FIni, Keys::Lista::Acc(i)) == account &&
               Settings::read(*FIni, Keys::Lista::Mot(i)) == reason;
    };
    if (row + 1 <= list.count(*FIni) && holds(row + 1))
        return row + 1;
    // Only numbers that hold keys are looked at, however high a hand-edited key is numbered.
    int found = 0;
    for (const int i : list.storedEntries(*FIni)) {
        if (holds(i) && (found == 0 || std::abs(i - (row + 1)) < std::abs(found - (row + 1))))
            found = i;
    }
    return found;
}

void TfrmMain::addSuspect(const QString& account)
{
    const int n = NumberedList::suspectAccounts().count(*FIni);
    {
        TIniFile::Batch batch(*FIni);
        Settings::write(*FIni, Keys::Lista::nL, n + 1);
        Settings::write(*FIni, Keys::Lista::Acc(n + 1), account);
        batch.commit();
    }
    // The row shows the account as the file keeps it (blanks around it trimmed, line breaks as
    // blanks), so that the next run shows the same.
    new QTreeWidgetItem(m_userColumn->lstCustom,
                        {Settings::read(*FIni, Keys::Lista::Acc(n + 1)), QString()});
}

void TfrmMain::AdicionarLista1Click()
{
    const QString user = selectedUser();
    if (!user.isEmpty() && m_moderation->opMode())
        addSuspect(user);
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::popAddCustomClick()
{
    const std::optional<QString> account =
        m_prompts->inputBox(this, QStringLiteral("Accounts suspeitas"),
                            QStringLiteral("Digite a account a ser adicionada:"), QString());
    if (account && !account->isEmpty())
        addSuspect(*account);
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::popMotCustomClick()
{
    const int row = selectedSuspect();
    if (row >= 0) {
        QTreeWidgetItem* item = m_userColumn->lstCustom->topLevelItem(row);
        const QString old = item->text(1);
        // A cancelled box gives the old reason back, which is written again.
        const QString reason = m_prompts
                                   ->inputBox(this, QStringLiteral("Accounts suspeitas"),
                                              QStringLiteral("Digite o motivo da suspeita:"), old)
                                   .value_or(old);
        const int stored = storedSuspect(row);
        if (stored > 0) {
            Settings::write(*FIni, Keys::Lista::Mot(stored), reason);
            item->setText(1, Settings::read(*FIni, Keys::Lista::Mot(stored)));
        } else {
            item->setText(1, reason);
        }
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::popDelCustomClick()
{
    const int row = selectedSuspect();
    if (row >= 0) {
        // An entry the file does not hold leaves the file alone: renumbering from a count that
        // is lower than the list would delete the file's last entry instead.
        const int stored = storedSuspect(row);
        if (stored > 0)
            NumberedList::suspectAccounts().remove(*FIni, stored);
        delete m_userColumn->lstCustom->takeTopLevelItem(row);
    }
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::popCustomWhoisClick()
{
    const int row = selectedSuspect();
    if (row >= 0)
        sendLine(QStringLiteral("/whois ") + m_userColumn->lstCustom->topLevelItem(row)->text(0) +
                 QLatin1Char('\r'));
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::popCustomLockarWhispClick()
{
    const int row = selectedSuspect();
    if (row >= 0)
        FLockWhisps->addLock(m_userColumn->lstCustom->topLevelItem(row)->text(0));
}

void TfrmMain::lstCustom1DblClick()
{
    popCustomWhoisClick();
}
