#include "dialogs/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace DialogPlacement {

void centreOnScreen(QWidget& dialog)
{
    QWidget* owner = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize frame =
        dialog.size() + (owner ? owner->frameGeometry().size() - owner->size() : QSize());
    const QRect area = screen->availableGeometry();
    dialog.move(area.x() + (area.width() - frame.width()) / 2,
                area.y() + (area.height() - frame.height()) / 2);
}

} // namespace DialogPlacement
