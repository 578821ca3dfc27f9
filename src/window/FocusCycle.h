#pragma once

#include <QList>

class QWidget;

// The keyboard's way around the window's regions: F6 and Shift+F6 move the focus from stop to
// stop (the input line, the channel pane, the whisper pane, the lists), and the Menu key or
// Shift+F10 opens the context menu of the control with the focus.
class FocusCycle
{
public:
    // The stop after (or before) the one holding focus, in a ring that skips the stops the user
    // cannot reach now (hidden, disabled). A stop holds the focus when it or one of its children
    // has it; from outside every stop, forward goes to the first, backward to the last. Nothing
    // when no stop is reachable.
    static QWidget* step(const QList<QWidget*>& stops, const QWidget* focus, bool forward);
    // Sends widget the context menu request the Menu key sends, at the place the widget gives for
    // its text cursor: the current row of a list, so the menu acts on the row selected.
    static void openContextMenu(QWidget* widget);
};
