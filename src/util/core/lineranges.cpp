#include "util/core/lineranges.h"

namespace brevnote {

namespace {

// Lines ended by one character, found by Qt's vectorised search. With `crLfCount`, a CR just
// before the end is part of the break (CR LF), and those breaks are counted there.
std::vector<LineRange> rangesEndedBy(QStringView text, QChar end, qsizetype *crLfCount = nullptr) {
    std::vector<LineRange> ranges;
    ranges.reserve(size_t(text.count(end)) + 1);
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(end); at >= 0; at = text.indexOf(end, start)) {
        const bool crLf = crLfCount && at > start && text[at - 1] == u'\r';
        if (crLf)
            ++*crLfCount;
        ranges.push_back({start, at - start - crLf});
        start = at + 1;
    }
    if (start < text.size())
        ranges.push_back({start, text.size() - start});
    return ranges;
}

} // namespace

std::vector<LineRange> lineRanges(QStringView text, LineEnds breaks) {
    if (breaks == LineEnds::EditorParagraphs)
        return rangesEndedBy(text, QChar::ParagraphSeparator);
    const qsizetype crCount = text.count(u'\r');
    if (crCount == 0)
        return rangesEndedBy(text, u'\n');
    // Most files with a CR end every line with CR LF: cut at each LF, and keep that cut when
    // every CR turned out to stand before one.
    qsizetype crLfCount = 0;
    std::vector<LineRange> ranges = rangesEndedBy(text, u'\n', &crLfCount);
    if (crLfCount == crCount)
        return ranges;
    ranges.clear();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        // Most characters are above both breaks: one comparison passes them.
        if (c > u'\r' || (c != u'\r' && c != u'\n'))
            continue;
        ranges.push_back({start, i - start});
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        ranges.push_back({start, n - start});
    return ranges;
}

} // namespace brevnote
