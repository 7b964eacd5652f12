#include "linesplitlogic.h"

namespace brevnote {

QStringList SplitToolLines(const QString &rawText) {
    if (rawText.isEmpty())
        return {};
    QStringList lines = rawText.split(QChar::ParagraphSeparator);
    // A text that ends with a break has an empty last paragraph; like a break at the end of
    // a file, it starts no further line.
    if (lines.size() > 1 && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QString JoinToolLines(const QStringList &lines) {
    return lines.join(u'\n');
}

} // namespace brevnote
