#pragma once

#include <QRect>
#include <QSize>

namespace brevnote {

// The main window's default geometry on a screen of the given size: a third of the width
// plus 50, two thirds of the height, 10 pixels from the right edge and 25 from the top. The
// arithmetic is on integers with truncating division (the height divides first, then
// doubles), and the left edge is taken from the width after the minimum has been applied.
QRect defaultMasterGeometry(const QSize &screen, int minimumWidth);

} // namespace brevnote
