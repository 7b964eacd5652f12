#include "csvlogic.h"

#include "util/core/textroutines.h"

namespace brevnote {

namespace {

const QString kHeader = QStringLiteral("CSV_Header;");

void appendCsvLine(QString &csv, QStringView line) {
    const qsizetype start = csv.size();
    csv += TrimBlanksView(line);
    QChar *const end = csv.data() + csv.size();
    for (QChar *c = csv.data() + start; c != end; ++c) {
        if (*c == u';')
            *c = u'.';
    }
    csv += u';';
}

} // namespace

QStringList CsvLines(const QStringList &lines) {
    QStringList csv;
    csv.reserve(lines.size() + 1);
    csv.append(kHeader);
    for (const QString &line : lines) {
        QString field;
        appendCsvLine(field, line);
        csv.append(std::move(field));
    }
    return csv;
}

QString CsvText(QStringView rawText) {
    if (rawText.isEmpty())
        return kHeader;
    // An empty last paragraph starts no line (after a break there is always a line before it).
    if (rawText.back() == QChar::ParagraphSeparator)
        rawText.chop(1);
    const qsizetype lines = rawText.count(QChar::ParagraphSeparator) + 1;
    QString csv;
    // Each line gains at most its break and the final ";": no reallocation on the way.
    csv.reserve(kHeader.size() + rawText.size() + 2 * lines);
    csv += kHeader;
    qsizetype from = 0;
    for (;;) {
        const qsizetype end = rawText.indexOf(QChar::ParagraphSeparator, from);
        csv += u'\n';
        appendCsvLine(csv, rawText.mid(from, end < 0 ? rawText.size() - from : end - from));
        if (end < 0)
            return csv;
        from = end + 1;
    }
}

} // namespace brevnote
