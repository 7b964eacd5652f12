#include "editorlines.h"

#include "linesplitlogic.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace brevnote {

QStringList ToolEditorLines(const QPlainTextEdit *editor) {
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks.
    return SplitToolLines(editor->document()->toRawText());
}

void ReplaceEditorLines(QPlainTextEdit *editor, const QStringList &lines) {
    // setPlainText would clear the undo history; one edit block through a cursor costs about
    // the same and stays one undo step.
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(JoinToolLines(lines));
    cursor.endEditBlock();
}

} // namespace brevnote
