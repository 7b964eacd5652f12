#pragma once

#include "util/core/editorlinesplit.h"

#include <QFont>
#include <QStringList>
#include <QTextCursor>

#include <functional>
#include <optional>

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

// Makes `lines` the editor's lines as one step of the editor's undo (EditorLinesReplacement
// in one go). The text is as replaceEditorText(joinEditorLines(lines)) leaves it, the caret at
// its end, the view where it was.
void replaceEditorLines(QPlainTextEdit *editor, const QStringList &lines);

// Makes `lines` the editor's lines as one step of the editor's undo, a slice at a time, so the
// caller can let the windows repaint in between: first the old paragraphs go, a slice at a
// time, then the lines come in, joined a slice at a time. Only a slice is ever joined, so
// besides the lines no copy of the text is made.
// Until finish() the editor's text is partly replaced: its view is not repainted (it keeps
// showing the old text) and no change is signalled, since the edit block is still open; the
// caller lets no user input or command reach the pad meanwhile.
class EditorLinesReplacement final {
public:
    // The line at an index, from 0; what it views must stay as it is until the end.
    using LineSource = std::function<QStringView(qsizetype)>;
    // The lines of a list, which must outlive the source and stay as they are.
    static LineSource linesOf(const QStringList &lines);

    // `lines` must outlive the replacement and stay as they are. With `font`, the editor
    // shows the new lines in that font: it is set while the editor is empty, so no new line
    // is laid out in the old font first.
    EditorLinesReplacement(QPlainTextEdit *editor, const QStringList &lines,
                           std::optional<QFont> font = std::nullopt);
    // The `count` lines `line` gives, read a slice at a time (say, the lines of a text that
    // is not the editor's, in another order), so they need no string each.
    EditorLinesReplacement(QPlainTextEdit *editor, qsizetype count, LineSource line,
                           std::optional<QFont> font = std::nullopt);
    // Cancels if neither finish() nor cancel() was called: a replacement left on the way out
    // of an exception puts the text back rather than reading lines that may not be there.
    ~EditorLinesReplacement();
    EditorLinesReplacement(const EditorLinesReplacement &) = delete;
    EditorLinesReplacement &operator=(const EditorLinesReplacement &) = delete;

    // Removes the next `count` old paragraphs or, once they are gone, puts in the next
    // `count` lines.
    void step(qsizetype count);
    // True while old paragraphs are left to remove: no line is read before they are gone.
    bool removing() const { return m_removed < m_oldParagraphs; }
    // The work done and the whole of it: the old paragraphs and the lines.
    qsizetype done() const { return m_removed + m_inserted; }
    qsizetype total() const { return m_oldParagraphs + m_lineCount; }
    // Does what is left, closes the edit block; the caret goes to the end of the text, the
    // view stays.
    void finish();
    // Instead of finish(), for a replacement that cannot go on: what was removed comes back
    // and what was put in goes, with the font, the caret and the view as they were, and no
    // step is left on the editor's undo stack. Takes as long as putting the text in.
    void cancel();

private:
    void oldTextRemoved();

    QPlainTextEdit *const m_editor;
    const qsizetype m_lineCount;
    const LineSource m_line;
    const std::optional<QFont> m_font;
    QTextCursor m_cursor;
    const qsizetype m_oldParagraphs;
    qsizetype m_removed = 0;
    qsizetype m_inserted = 0;
    int m_top = 0; // the view's scroll position before
    int m_left = 0;
    int m_caretAnchor = 0; // the editor's caret and selection before
    int m_caretPosition = 0;
    QFont m_oldFont;
    bool m_finished = false;
};

// Puts the lines above the first line, in the order given.
void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines);

} // namespace brevnote
