#include "window/FocusCycle.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QWidget>

namespace {

bool reachable(const QWidget* stop)
{
    return stop && stop->isVisible() && stop->isEnabled() && stop->focusPolicy() != Qt::NoFocus;
}

bool holds(const QWidget* stop, const QWidget* focus)
{
    return stop && focus && (stop == focus || stop->isAncestorOf(focus));
}

} // namespace

QWidget* FocusCycle::step(const QList<QWidget*>& stops, const QWidget* focus, bool forward)
{
    const int count = int(stops.size());
    int at = -1;
    for (int i = 0; i < count && at < 0; ++i) {
        if (holds(stops.at(i), focus))
            at = i;
    }
    // From outside the ring, the first stop looked at is the first (or the last) one.
    if (at < 0)
        at = forward ? count - 1 : 0;
    for (int moved = 1; moved <= count; ++moved) {
        QWidget* stop = stops.at(((at + (forward ? moved : -moved)) % count + count) % count);
        if (reachable(stop))
            return stop;
    }
    return nullptr;
}

// The same event the window system delivers for the Menu key, so a right click's handlers serve
// the keyboard too.
void FocusCycle::openContextMenu(QWidget* widget)
{
    if (!widget || !widget->isEnabled())
        return;
    const QPoint at = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &event);
}
