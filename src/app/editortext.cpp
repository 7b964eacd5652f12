#include "editortext.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace brevnote {

QStringList editorLines(const QPlainTextEdit *editor) {
    const QTextDocument *document = editor->document();
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks; its
    // paragraphs are separated by U+2029.
    const QString raw = document->toRawText();
    if (raw.isEmpty())
        return {};
    return raw.split(QChar::ParagraphSeparator);
}

void setEditorLines(QPlainTextEdit *editor, const QStringList &lines) {
    editor->setPlainText(lines.join(u'\n'));
}

void replaceEditorText(QPlainTextEdit *editor, const QString &text) {
    QTextCursor cursor(editor->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    // Like setPlainText: the caret at the start, the view at the top.
    cursor.movePosition(QTextCursor::Start);
    editor->setTextCursor(cursor);
}

void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines) {
    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(lines.join(u'\n') + u'\n');
}

} // namespace brevnote
