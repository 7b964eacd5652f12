#include "htmldialog.h"

namespace brevnote {

bool ShowHTMLDialog(QWidget *owner, const QString &html, const QString &title, bool hideButtons,
                    bool maximized, const QString &defaultSaveName) {
    // Stand-in until the HTML viewer lands: shows nothing.
    Q_UNUSED(owner)
    Q_UNUSED(html)
    Q_UNUSED(title)
    Q_UNUSED(hideButtons)
    Q_UNUSED(maximized)
    Q_UNUSED(defaultSaveName)
    return false;
}

} // namespace brevnote
