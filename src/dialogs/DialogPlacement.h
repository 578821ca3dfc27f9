#pragma once

class QWidget;

namespace DialogPlacement {
// Moves a dialog to the middle of the screen its owner is on (the primary screen without an
// owner), counting the window frame as thick as the owner's. Qt would centre it over its owner.
void centreOnScreen(QWidget& dialog);
} // namespace DialogPlacement
