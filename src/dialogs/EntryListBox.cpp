#include "dialogs/EntryListBox.h"

#include <algorithm>

#include <QItemSelectionModel>

#include "settings/NumberedList.h"
#include "settings/TIniFile.h"

namespace {
// A count raised by hand to billions would fill the box for minutes; rows past this many are
// not shown, and the file keeps them as they are.
constexpr int MaxRows = 100000;
} // namespace

EntryListBox::EntryListBox(const QString& name, QWidget* parent)
    : DeselectingView<QListWidget>(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void EntryListBox::fill(const TIniFile& ini, const NumberedList& list)
{
    const int rows = std::min(list.count(ini), MaxRows);
    QStringList texts;
    texts.reserve(rows);
    for (int entry = 1; entry <= rows; ++entry)
        texts.append(ini.ReadString(list.section(), list.key(0, entry), QString()));
    clear();
    addItems(texts);
}

int EntryListBox::selectedRow() const
{
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.first());
}

void EntryListBox::dropSelection()
{
    selectionModel()->clear();
}

void EntryListBox::removeRow(int row)
{
    delete takeItem(row);
}
