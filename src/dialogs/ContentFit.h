#pragma once

#include <QSize>

class QWidget;

// The dialogs place their controls at sizes drawn for captions in Tahoma. Where the font in use
// runs wider, or the screen's scale rounds the text up, a control grows to what its contents
// need, never below the size it was drawn at.
namespace ContentFit {
// The size w needs, at least drawn: its width what its contents need at the least, its height
// what they take at that width.
QSize needed(const QWidget& w, QSize drawn);
// The room the shown children of w take, from its top left corner to their right and bottom
// edges, plus margin on those two sides.
QSize extentOfChildren(const QWidget& w, int margin);
} // namespace ContentFit
