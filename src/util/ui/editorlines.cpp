#include "util/ui/editorlines.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
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

EditorLinesReplacement::EditorLinesReplacement(QPlainTextEdit *editor, const QStringList &lines,
                                               std::optional<QFont> font)
    : EditorLinesReplacement(editor, lines.size(), linesOf(lines), std::move(font)) {}

EditorLinesReplacement::EditorLinesReplacement(QPlainTextEdit *editor, qsizetype count,
                                               LineSource line, std::optional<QFont> font)
    : m_editor(editor)
    , m_lineCount(count)
    , m_line(std::move(line))
    , m_font(std::move(font))
    , m_cursor(editor->document())
    , m_oldParagraphs(editor->document()->blockCount()) {
    m_editor->viewport()->setUpdatesEnabled(false);
    // Taken now: while the text is replaced the editor may move its scroll bars.
    m_top = m_editor->verticalScrollBar()->value();
    m_left = m_editor->horizontalScrollBar()->value();
    m_caretAnchor = m_editor->textCursor().anchor();
    m_caretPosition = m_editor->textCursor().position();
    m_oldFont = m_editor->font();
    m_cursor.beginEditBlock();
}

EditorLinesReplacement::~EditorLinesReplacement() {
    if (!m_finished)
        cancel();
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
        if (m_removed == m_oldParagraphs)
            oldTextRemoved();
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

void EditorLinesReplacement::oldTextRemoved() {
    // The editor's layout keeps the width of the widest line it has laid out, and which
    // paragraph held it. Told nothing until the edit block closes, it would keep the old
    // text's: the horizontal scroll range would stay that wide, and when the new paragraph
    // at that number is laid out narrower, the layout measures every paragraph again (for a
    // million lines a tenth of a second, and a layout object for each). Told now, while the
    // text is one empty paragraph, it starts again from nothing. Its signals wait for the
    // end: the editor would drop its scroll bar for this moment and, with the width of the
    // view changed, lay the whole new text out again when it comes back.
    QTextDocument *document = m_editor->document();
    {
        const QSignalBlocker quiet(document->documentLayout());
        document->markContentsDirty(0, document->characterCount());
    }
    // The new font now costs the layout one paragraph, and no line is laid out twice.
    if (m_font)
        m_editor->setFont(*m_font);
}

void EditorLinesReplacement::finish() {
    while (done() < total())
        step(total());
    m_cursor.endEditBlock();
    m_finished = true;

    // The caret at the end, as after inserting the whole text, without scrolling there.
    m_editor->moveCursor(QTextCursor::End);
    m_editor->verticalScrollBar()->setValue(m_top);
    m_editor->horizontalScrollBar()->setValue(m_left);
    m_editor->viewport()->setUpdatesEnabled(true);
}

void EditorLinesReplacement::cancel() {
    QTextDocument *document = m_editor->document();
    const bool changed = m_removed > 0 || m_inserted > 0;
    const bool fontSet = m_font && !removing(); // by oldTextRemoved
    m_cursor.endEditBlock();
    m_finished = true;
    if (changed) {
        // The edit block is one step of the undo: taking it back restores the text exactly.
        document->undo();
        document->clearUndoRedoStacks(QTextDocument::RedoStack);
    }
    if (fontSet)
        m_editor->setFont(m_oldFont);
    QTextCursor caret(document);
    caret.setPosition(m_caretAnchor);
    caret.setPosition(m_caretPosition, QTextCursor::KeepAnchor);
    m_editor->setTextCursor(caret);
    m_editor->verticalScrollBar()->setValue(m_top);
    m_editor->horizontalScrollBar()->setValue(m_left);
    m_editor->viewport()->setUpdatesEnabled(true);
}

void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines) {
    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(lines.join(u'\n') + u'\n');
}

} // namespace brevnote
