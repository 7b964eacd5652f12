#include "editorlines.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace brevnote {

QStringList ToolEditorLines(const QPlainTextEdit *editor) {
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks; its
    // paragraphs are separated by U+2029.
    const QString raw = editor->document()->toRawText();
    if (raw.isEmpty())
        return {};
    QStringList lines = raw.split(QChar::ParagraphSeparator);
    // A text that ends with a break has an empty last paragraph; like a break at the end of
    // a file, it starts no further line.
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

void ReplaceEditorLines(QPlainTextEdit *editor, const QStringList &lines) {
    // setPlainText would clear the undo history; one edit block through a cursor costs about
    // the same and stays one undo step.
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(lines.join(u'\n'));
    cursor.endEditBlock();
}

} // namespace brevnote
