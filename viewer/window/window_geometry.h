#pragma once

#include <QRect>

namespace viewer {

// Where the window opens on a screen with the given available area: where
// it was last (an empty rectangle when never), or at its usual size;
// either way no larger than 90 % of the area, so the frame fits too, and
// moved wholly onto it (a screen may have shrunk or gone since).
QRect FittedGeometry(const QRect& available, const QRect& last);

}  // namespace viewer
