#pragma once

#include <QListWidget>

#include "dialogs/DeselectingView.h"

class NumberedList;
class TIniFile;

// A list box of the options dialog that shows one numbered list of confs.ini: row r shows the
// text of entry r + 1. At most one row is selected; the selected row is the entry the dialog
// edits or deletes.
class EntryListBox final : public DeselectingView<QListWidget>
{
    Q_OBJECT

public:
    explicit EntryListBox(const QString& name, QWidget* parent = nullptr);

    // Shows the first part (the phrase, the message) of entries 1 to the stored count.
    void fill(const TIniFile& ini, const NumberedList& list);
    // -1 when no row is selected.
    int selectedRow() const;
    // Leaves no row selected and none current, so that no later change selects one of its own.
    void dropSelection();
    // Removes a row; no row is selected afterwards.
    void removeRow(int row);
};
