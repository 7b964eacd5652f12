#include "textviewer.h"

namespace brevnote {

void ShowTextWindow(const QStringList &lines, const QString &title, bool modal) {
    // Stand-in until the text viewer lands: shows nothing.
    Q_UNUSED(lines)
    Q_UNUSED(title)
    Q_UNUSED(modal)
}

} // namespace brevnote
