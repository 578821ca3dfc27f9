#include "dialogs/ContentFit.h"

#include <QWidget>

#include <algorithm>

namespace ContentFit {

QSize needed(const QWidget& w, QSize drawn)
{
    const QSize least = w.minimumSizeHint();
    const int width = std::max(drawn.width(), least.width());
    const int height =
        std::max(drawn.height(), w.hasHeightForWidth() ? w.heightForWidth(width) : least.height());
    return {width, height};
}

QSize extentOfChildren(const QWidget& w, int margin)
{
    QRect extent;
    for (const QWidget* child : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow() && !child->isHidden())
            extent |= child->geometry();
    }
    return {extent.right() + 1 + margin, extent.bottom() + 1 + margin};
}

} // namespace ContentFit
