#include "util/core/editorlinesplit.h"

namespace brevnote {

QStringList splitEditorLines(const QString &rawText, EmptyLastParagraph emptyLast) {
    if (rawText.isEmpty())
        return {};
    QStringList lines = rawText.split(QChar::ParagraphSeparator);
    if (emptyLast == EmptyLastParagraph::StartsNoLine && lines.size() > 1 &&
        lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString joinEditorLines(const QStringList &lines) {
    return lines.join(u'\n');
}

} // namespace brevnote
