#pragma once

#include <QStringList>

class QPlainTextEdit;

// The pad's text as lines. Each paragraph of the editor is one line; an empty editor has no
// lines. Every routine works on the whole text at once, so a million lines cost one pass.
namespace brevnote {

QStringList editorLines(const QPlainTextEdit *editor);

// Replaces the whole text by the lines.
void setEditorLines(QPlainTextEdit *editor, const QStringList &lines);

// Replaces the whole text by `text` as one step of the editor's undo, so Ctrl+Z brings the
// text it replaced back.
void replaceEditorText(QPlainTextEdit *editor, const QString &text);

// Puts the lines above the first line, in the order given.
void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines);

} // namespace brevnote
