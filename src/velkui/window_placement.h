// Where the program's windows open.
#pragma once

class QWidget;

namespace velkaran {

// Moves Window (a top-level one) so that it stands over the middle of its parent's window, or of
// the screen when it has no parent, and wholly inside the screen's free area (made smaller first,
// as far as its minimum size allows, when it is larger than that area).
void CentreOnParent(QWidget &Window);

}  // namespace velkaran
