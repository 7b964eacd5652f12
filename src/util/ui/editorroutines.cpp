#include "util/ui/editorroutines.h"

#include "util/core/textroutines.h"

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

namespace brevnote {

namespace {

// What the layout of every block depends on: when one of these changes, the editor lays the
// blocks out anew and forgets their line counts.
struct LayoutKey {
    int width = -1;
    int wrapMode = -1;
    QFont font;
    qreal margin = 0;
    qreal tabStop = 0;
    bool operator==(const LayoutKey &) const = default;
};

// Up to which block every visible block of a document is known to be laid out, for one
// layout: walking a million blocks on every key press would take a fifth of a second. An
// edit lowers the mark to the block above the change; another layout resets it.
class LaidOutBlocks final : public QObject {
public:
    explicit LaidOutBlocks(QTextDocument *document)
        : QObject(document) {
        setObjectName(QStringLiteral("brevnote_LaidOutBlocks"));
        connect(document, &QTextDocument::contentsChange, this, [this, document](int from) {
            m_upTo = std::min(m_upTo, document->findBlock(from).blockNumber() - 1);
        });
    }

    static LaidOutBlocks *of(QTextDocument *document) {
        auto *found = document->findChild<LaidOutBlocks *>(QStringLiteral("brevnote_LaidOutBlocks"),
                                                           Qt::FindDirectChildrenOnly);
        return found ? found : new LaidOutBlocks(document);
    }

    int upTo(const LayoutKey &key) {
        if (!(key == m_key)) {
            m_key = key;
            m_upTo = -1;
        }
        return m_upTo;
    }
    void reached(int blockNumber) { m_upTo = std::max(m_upTo, blockNumber); }

private:
    LayoutKey m_key;
    int m_upTo = -1;
};

LayoutKey layoutKeyOf(const QPlainTextEdit *editor) {
    const QTextDocument *document = editor->document();
    LayoutKey key;
    key.width = editor->viewport()->width();
    key.wrapMode = editor->lineWrapMode();
    key.font = document->defaultFont();
    key.margin = document->documentMargin();
    key.tabStop = document->defaultTextOption().tabStopDistance();
    return key;
}

} // namespace

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
        // resize, so only the first call after one pays for it, and later calls only look at
        // the blocks below the mark.
        QTextDocument *mutableDocument = editor->document();
        LaidOutBlocks *laidOut = LaidOutBlocks::of(mutableDocument);
        const int known = laidOut->upTo(layoutKeyOf(editor));
        if (block.blockNumber() > known) {
            QAbstractTextDocumentLayout *documentLayout = document->documentLayout();
            for (QTextBlock above = document->findBlockByNumber(known + 1); above.isValid();
                 above = above.next()) {
                if (above.isVisible() && above.layout()->lineCount() == 0)
                    documentLayout->blockBoundingRect(above);
                if (above == block)
                    break;
            }
            laidOut->reached(block.blockNumber());
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
