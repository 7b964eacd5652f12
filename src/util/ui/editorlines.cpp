#include "util/ui/editorlines.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
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

EditorLinesReplacement::LineSource EditorLinesReplacement::linesOf(const QStringList &lines) {
    return [&lines](qsizetype i) { return QStringView(lines.at(i)); };
}

EditorLinesReplacement::EditorLinesReplacement(QPlainTextEdit *editor, const QStringList &lines)
    : EditorLinesReplacement(editor, lines.size(), linesOf(lines)) {}

EditorLinesReplacement::EditorLinesReplacement(QPlainTextEdit *editor, qsizetype count,
                                               LineSource line)
    : m_editor(editor)
    , m_lineCount(count)
    , m_line(std::move(line))
    , m_cursor(editor->document())
    , m_oldParagraphs(editor->document()->blockCount()) {
    m_editor->viewport()->setUpdatesEnabled(false);
    m_cursor.beginEditBlock();
}

EditorLinesReplacement::~EditorLinesReplacement() {
    if (!m_finished)
        finish();
}

void EditorLinesReplacement::step(qsizetype count) {
    if (m_removed < m_oldParagraphs) {
        // The first paragraphs left, with the break after the last of them; the last slice
        // takes the rest.
        const qsizetype slice = std::min(count, m_oldParagraphs - m_removed);
        m_removed += slice;
        QTextDocument *document = m_editor->document();
        m_cursor.setPosition(0);
        if (m_removed == m_oldParagraphs)
            m_cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        else
            m_cursor.setPosition(document->findBlockByNumber(int(slice)).position(),
                                 QTextCursor::KeepAnchor);
        m_cursor.removeSelectedText();
        return;
    }
    const qsizetype end = std::min(m_inserted + count, m_lineCount);
    if (m_inserted == end)
        return;
    QString slice;
    for (qsizetype i = m_inserted; i < end; ++i) {
        if (i > 0)
            slice += u'\n';
        slice += m_line(i);
    }
    m_cursor.movePosition(QTextCursor::End);
    m_cursor.insertText(slice);
    m_inserted = end;
}

void EditorLinesReplacement::finish() {
    while (done() < total())
        step(total());
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
