#include "dialogs/DeselectingView.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace {
bool inRows(const QModelIndex& index, const QModelIndex& parent, int first, int last)
{
    return index.isValid() && index.parent() == parent && index.row() >= first &&
           index.row() <= last;
}
} // namespace

void deselectRemovedRows(QAbstractItemView* view, const QModelIndex& parent, int first, int last)
{
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return;
    const QModelIndexList selected = selection->selectedIndexes();
    const bool selectedGoes = std::any_of(selected.cbegin(), selected.cend(), [&](const auto& i) {
        return inRows(i, parent, first, last);
    });
    if (selectedGoes)
        selection->clear();
    else if (inRows(selection->currentIndex(), parent, first, last))
        // Another row stays selected; only the current row must not pass to the neighbour.
        selection->clearCurrentIndex();
}
