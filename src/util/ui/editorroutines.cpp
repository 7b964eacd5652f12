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
        // The document counts a block that was never laid out (or whose layout a resize
        // cleared) as one line. Laying out a block records its true count, so every block up
        // to the caret's is laid out where it is not yet; each stays laid out until the next
        // resize, so only the first call after one pays for it.
        QAbstractTextDocumentLayout *documentLayout = document->documentLayout();
        for (QTextBlock above = document->firstBlock(); above.isValid(); above = above.next()) {
            if (above.isVisible() && above.layout()->lineCount() == 0)
                documentLayout->blockBoundingRect(above);
            if (above == block)
                break;
        }
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
