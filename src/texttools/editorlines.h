#pragma once

#include <QStringList>

class QPlainTextEdit;

// The editor's text as lines for the tools: each paragraph is one line, except an empty last
// one (a break at the end starts no further line); an empty editor has no lines. Text moves
// in and out in one piece, so a million lines cost one pass.
namespace brevnote {

QStringList ToolEditorLines(const QPlainTextEdit *editor);

// Replaces the whole text by the lines as one step of the editor's undo: Ctrl+Z right after
// brings the old text back. The editor's font, scroll position and caret are left to the
// caller.
void ReplaceEditorLines(QPlainTextEdit *editor, const QStringList &lines);

} // namespace brevnote
