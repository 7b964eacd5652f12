#include "columncutlogic.h"

#include "util/core/textroutines.h"

#include <algorithm>

namespace brevnote {

namespace {

bool splitsPair(QStringView text, qsizetype at) {
    return at > 0 && at < text.size() && text.at(at).isLowSurrogate() &&
           text.at(at - 1).isHighSurrogate();
}

QStringView slice(QStringView line, int start, int size) {
    qsizetype first = qsizetype(std::max(start, 1)) - 1;
    if (first >= line.size())
        return {};
    qsizetype end = std::min(line.size(), first + qsizetype(std::max(size, 0)));
    if (splitsPair(line, first))
        --first;
    if (splitsPair(line, end))
        ++end;
    return line.mid(first, end - first);
}

} // namespace

bool LineMatchesStart(QStringView line, LineStart lineStart) {
    if (line.isEmpty() || IsBlank(line.front()))
        return true;
    if (lineStart == LineStart::Todos)
        return true;
    const QChar first = line.front();
    return (IsLetterChar(first) && lineStart == LineStart::Alfabeto) ||
           (IsAlphaNumChar(first) && lineStart == LineStart::Alfanumerico) ||
           (IsDigitChar(first) && lineStart == LineStart::Numerico);
}

QString CutLine(QStringView line, const ColumnCutOptions &options) {
    if (options.trim)
        line = TrimBlanksView(line);
    const QStringView kept =
        LineMatchesStart(line, options.lineStart) ? slice(line, options.start, options.size) : line;
    QString result;
    result.reserve(kept.size() + options.finalText.size());
    result.append(kept);
    result.append(options.finalText);
    return result;
}

bool CutLines(QStringList &lines, const ColumnCutOptions &options, const LineProgress &progress) {
    const qsizetype total = lines.size();
    for (qsizetype i = 0; i < total; ++i) {
        lines[i] = CutLine(lines.at(i), options);
        if (!reportProgress(progress, i + 1, total))
            return false;
    }
    return true;
}

} // namespace brevnote
