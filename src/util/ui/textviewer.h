#pragma once

#include <QString>
#include <QStringList>

namespace brevnote {

// Shows `lines` read-only in a fixed-pitch font, maximised, with the caret position in the
// status bar; the caption is `title`, or "Itens: " and the number of lines when it is empty.
// Creates the window, shows it (modally when `modal`) and destroys it before returning.
void ShowTextWindow(const QStringList &lines, const QString &title, bool modal = true);

} // namespace brevnote
