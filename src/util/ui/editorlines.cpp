#include "util/ui/editorlines.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace brevnote {

QStringList editorLines(const QPlainTextEdit *editor, EmptyLastParagraph emptyLast) {
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks; its
    // paragraphs are separated by U+2029.
    return splitEditorLines(editor->document()->toRawText(), emptyLast);
}

QString editorText(const QPlainTextEdit *editor) {
    QString text = editor->document()->toRawText();
    // The raw text is not shared, so this changes it in place: no second copy of a long text.
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

void replaceEditorText(QPlainTextEdit *editor, const QString &text) {
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
}

void replaceEditorLines(QPlainTextEdit *editor, const QStringList &lines) {
    replaceEditorText(editor, joinEditorLines(lines));
}

void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines) {
    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(lines.join(u'\n') + u'\n');
}

} // namespace brevnote
