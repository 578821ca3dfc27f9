#pragma once

#include <QModelIndex>

class QAbstractItemView;

// Rows [first, last] under parent are about to be removed: when they hold a selected row, nothing
// stays selected or current; when they hold only the current row, no row is current.
void deselectRemovedRows(QAbstractItemView* view, const QModelIndex& parent, int first, int last);

// A list or tree view whose selection never moves by itself: when the selected row goes away (a
// leave, a kick, a delete), nothing is selected afterwards. Left alone, a single-selection view
// selects the removed row's neighbour, and the next action of a menu would then hit an entry
// nobody chose. A row that only moves (a re-sort) keeps its selection.
template <class View>
class DeselectingView : public View
{
public:
    using View::View;

protected:
    void rowsAboutToBeRemoved(const QModelIndex& parent, int first, int last) override
    {
        // Before the view's own handling, which would make the neighbour current and selected.
        deselectRemovedRows(this, parent, first, last);
        View::rowsAboutToBeRemoved(parent, first, last);
    }
};
