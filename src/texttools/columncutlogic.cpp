#include "columncutlogic.h"

#include "util/core/textroutines.h"

#include <algorithm>
#include <utility>

namespace brevnote {

namespace {

bool splitsPair(QStringView text, qsizetype at) {
    return at > 0 && at < text.size() && text.at(at).isLowSurrogate() &&
           text.at(at - 1).isHighSurrogate();
}

// Where the kept slice of `line` starts and how long it is.
std::pair<qsizetype, qsizetype> slice(QStringView line, int start, int size) {
    qsizetype first = qsizetype(std::max(start, 1)) - 1;
    if (first >= line.size())
        return {0, 0};
    qsizetype end = std::min(line.size(), first + qsizetype(std::max(size, 0)));
    if (splitsPair(line, first))
        --first;
    if (splitsPair(line, end))
        ++end;
    return {first, end - first};
}

// The part of the line the cut keeps, as a position in it and a length.
std::pair<qsizetype, qsizetype> keptPart(QStringView line, const ColumnCutOptions &options) {
    qsizetype offset = 0;
    if (options.trim) {
        const QStringView trimmed = TrimBlanksView(line);
        offset = trimmed.isEmpty() ? 0 : trimmed.data() - line.data();
        line = trimmed;
    }
    if (!LineMatchesStart(line, options.lineStart))
        return {offset, line.size()};
    const auto [first, size] = slice(line, options.start, options.size);
    return {offset + first, size};
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
    const auto [first, size] = keptPart(line, options);
    QString result;
    result.reserve(size + options.finalText.size());
    result.append(line.sliced(first, size));
    result.append(options.finalText);
    return result;
}

bool CutLines(QStringList &lines, const ColumnCutOptions &options, const LineProgress &progress) {
    const qsizetype total = lines.size();
    for (qsizetype i = 0; i < total; ++i) {
        // In place: a line of the editor's text is shared with nothing else, so cutting it
        // allocates nothing (a copy per line was most of the cut's time).
        QString &line = lines[i];
        const auto [first, size] = keptPart(line, options);
        line.truncate(first + size);
        line.remove(0, first);
        line.append(options.finalText);
        if (!reportProgress(progress, i + 1, total))
            return false;
    }
    return true;
}

std::optional<QString> CutText(QStringView text, LineEnds breaks, const ColumnCutOptions &options,
                               const LineProgress &progress) {
    const std::vector<LineRange> ranges = lineRanges(text, breaks);
    const qsizetype total = qsizetype(ranges.size());
    // A cut line is never longer than the line, so this is room enough for all of them.
    QString cut;
    cut.reserve(text.size() + total * (options.finalText.size() + 1));
    for (qsizetype i = 0; i < total; ++i) {
        if (i > 0)
            cut.append(u'\n');
        const QStringView line = text.sliced(ranges[size_t(i)].start, ranges[size_t(i)].length);
        const auto [first, size] = keptPart(line, options);
        cut.append(line.sliced(first, size));
        cut.append(options.finalText);
        if (!reportProgress(progress, i + 1, total))
            return std::nullopt;
    }
    return cut;
}

} // namespace brevnote
