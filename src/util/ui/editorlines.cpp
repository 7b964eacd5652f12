#include "util/ui/editorlines.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QScrollBar>
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
    EditorLinesReplacement(editor, lines).finish();
}

EditorLinesReplacement::EditorLinesReplacement(QPlainTextEdit *editor, const QStringList &lines)
    : m_editor(editor)
    , m_lines(lines)
    , m_cursor(editor->document())
    , m_block(editor->document()->firstBlock()) {
    m_editor->viewport()->setUpdatesEnabled(false);
    m_cursor.beginEditBlock();
}

EditorLinesReplacement::~EditorLinesReplacement() {
    if (!m_finished)
        finish();
}

void EditorLinesReplacement::replaceUpTo(qsizetype end) {
    end = std::min(end, m_lines.size());
    for (; m_done < end; ++m_done) {
        const QString &line = m_lines.at(m_done);
        if (!m_block.isValid()) {
            m_cursor.movePosition(QTextCursor::End);
            m_cursor.insertText(u'\n' + line);
            continue;
        }
        if (m_block.text() == line) {
            m_block = m_block.next();
            continue;
        }
        replaceParagraph(m_block, line);
        // From the cursor, not the old paragraph: a line holding a break makes more than one.
        m_block = m_cursor.block().next();
    }
}

void EditorLinesReplacement::replaceParagraph(const QTextBlock &block, const QString &text) {
    const int start = block.position();
    m_cursor.setPosition(start);
    m_cursor.setPosition(start + block.length() - 1, QTextCursor::KeepAnchor);
    m_cursor.insertText(text);
    m_changed = true;
}

void EditorLinesReplacement::finish() {
    replaceUpTo(m_lines.size());
    if (m_block.isValid()) {
        // The editor's paragraphs past the last line go with the break before the first.
        m_cursor.setPosition(m_lines.isEmpty() ? 0 : m_block.position() - 1);
        m_cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        m_cursor.removeSelectedText();
        m_changed = true;
    }
    if (!m_changed) {
        // Still one undo step, as every tool's run is: Ctrl+Z right after it must not take
        // back the edit before it. The first paragraph with text is put back as it is.
        for (QTextBlock block = m_editor->document()->firstBlock(); block.isValid();
             block = block.next()) {
            if (block.length() > 1) {
                replaceParagraph(block, block.text());
                break;
            }
        }
    }
    m_cursor.endEditBlock();
    m_finished = true;

    // The caret at the end, as after inserting the whole text, without scrolling there.
    QScrollBar *vertical = m_editor->verticalScrollBar();
    QScrollBar *horizontal = m_editor->horizontalScrollBar();
    const int top = vertical->value();
    const int left = horizontal->value();
    m_editor->moveCursor(QTextCursor::End);
    vertical->setValue(top);
    horizontal->setValue(left);
    m_editor->viewport()->setUpdatesEnabled(true);
}

void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines) {
    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(lines.join(u'\n') + u'\n');
}

} // namespace brevnote
