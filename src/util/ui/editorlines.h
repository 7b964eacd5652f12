#pragma once

#include "util/core/editorlinesplit.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>

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
// caller can let the windows repaint in between. Each line goes in place of the editor's line
// with the same number, only where the two differ; lines past the editor's end are added and
// the editor's paragraphs past the last line dropped. On a million lines this costs about a
// third less than removing the whole text and inserting the new one, as both record an undo
// command for every paragraph they remove or insert.
// Until finish() the editor's text is partly replaced: its view is not repainted (it keeps
// showing the old text) and no change is signalled, since the edit block is still open; the
// caller lets no user input or command reach the pad meanwhile.
class EditorLinesReplacement final {
public:
    // `lines` must outlive the replacement; lines at or past the index given to replaceUpTo()
    // may still be changing (another thread working ahead).
    EditorLinesReplacement(QPlainTextEdit *editor, const QStringList &lines);
    // Finishes if finish() was not called.
    ~EditorLinesReplacement();
    EditorLinesReplacement(const EditorLinesReplacement &) = delete;
    EditorLinesReplacement &operator=(const EditorLinesReplacement &) = delete;

    // Puts the lines before `end` in place (those not done yet).
    void replaceUpTo(qsizetype end);
    // How many lines are in place.
    qsizetype done() const { return m_done; }
    // Puts the remaining lines in place, drops the editor's paragraphs past the last line and
    // closes the edit block; the caret goes to the end of the text, the view stays.
    void finish();

private:
    void replaceParagraph(const QTextBlock &block, const QString &text);

    QPlainTextEdit *const m_editor;
    const QStringList &m_lines;
    QTextCursor m_cursor;
    QTextBlock m_block; // the editor's paragraph for line m_done
    qsizetype m_done = 0;
    bool m_changed = false;
    bool m_finished = false;
};

// Puts the lines above the first line, in the order given.
void insertLinesAtTop(QPlainTextEdit *editor, const QStringList &lines);

} // namespace brevnote
