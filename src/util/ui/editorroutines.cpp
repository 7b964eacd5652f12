#include "util/ui/editorroutines.h"

#include "util/core/textroutines.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace brevnote {

QString EditCaretPos(const QPlainTextEdit *editor) {
    const QTextDocument *document = editor->document();
    const int caret = editor->textCursor().selectionStart();
    const QTextBlock block = document->findBlock(caret);

    // Without wrapping every block is one line: block numbers are kept by the document, so
    // this stays instant for a million lines.
    qint64 line = block.blockNumber();
    qint64 lineStart = block.position();

    if (editor->lineWrapMode() != QPlainTextEdit::NoWrap) {
        // Lay out the caret's own block; blocks above count as the editor counts them for its
        // scroll bar: exactly once laid out, as one line while it has not yet reached them
        // (laying out a million wrapped lines on each keystroke would freeze the window).
        document->documentLayout()->blockBoundingRect(block);
        const QTextLayout *layout = block.layout();
        const QTextLine textLine =
            layout ? layout->lineForTextPosition(caret - block.position()) : QTextLine();
        line = block.firstLineNumber();
        if (textLine.isValid()) {
            line += textLine.lineNumber();
            lineStart = block.position() + textLine.textStart();
        }
    }

    return ZeroPad(4, line + 1) + u':' + ZeroPad(4, caret - lineStart + 1);
}

} // namespace brevnote
