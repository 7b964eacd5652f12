#pragma once

#include "util/core/editorlinesplit.h"

#include <QStringList>

class QPlainTextEdit;

// The editor's text as lines. Each paragraph of the editor is one line; an empty editor has
// no lines. Text moves in and out of the editor in one piece (one split, one join, one edit),
// never line by line, so a million lines cost one pass.
namespace brevnote {

QStringList editorLines(const QPlainTextEdit *editor,
                        EmptyLastParagraph emptyLast = EmptyLastParagraph::IsALine);

// The whole text in one piece, its lines (as editorLines gives them) separated by '\n'.
QString editorText(const QPlainTextEdit *editor);

// Replaces the whole text by `text` (lines separated by '\n') as one step of the editor's
// undo, so Ctrl+Z brings the text it replaced back; setPlainText would clear the undo
// history. The caret is left at the end of the new text; font and scroll position are left
// to the caller.
void replaceEditorText(QPlainTextEdit *editor, const QString &text);
void replaceEditorLines(QPlainTextEdit *editor, const QStringList &lines);

// Puts the lines above the first line, in the order given.
void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines);

} // namespace brevnote
