#pragma once

#include <QString>

class QPlainTextEdit;

namespace brevnote {

// The caret position as four-digit line ":" four-digit column, both from 1 ("0012:0005").
// Lines are counted as the editor shows them: with word wrap on, each wrapped line counts.
QString EditCaretPos(const QPlainTextEdit *editor);

} // namespace brevnote
