#include "layoutdefault.h"

#include <algorithm>

namespace brevnote {

QRect defaultMasterGeometry(const QSize &screen, int minimumWidth) {
    const int width = std::max(screen.width() / 3 + 50, minimumWidth);
    const int height = (screen.height() / 3) * 2;
    const int left = screen.width() - width - 10;
    constexpr int top = 25;
    return {left, top, width, height};
}

} // namespace brevnote
