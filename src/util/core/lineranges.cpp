#include "util/core/lineranges.h"

namespace brevnote {

namespace {

// Lines ended by one character: Qt's vectorised search finds each end.
std::vector<LineRange> rangesEndedBy(QStringView text, QChar end) {
    std::vector<LineRange> ranges;
    ranges.reserve(size_t(text.count(end)) + 1);
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(end); at >= 0; at = text.indexOf(end, start)) {
        ranges.push_back({start, at - start});
        start = at + 1;
    }
    if (start < text.size())
        ranges.push_back({start, text.size() - start});
    return ranges;
}

} // namespace

std::vector<LineRange> lineRanges(QStringView text, LineBreaks breaks) {
    if (breaks == LineBreaks::EditorParagraphs)
        return rangesEndedBy(text, QChar::ParagraphSeparator);
    // Most files have no CR, or no lone one, but only a text without any CR can be cut at LF
    // alone.
    if (!text.contains(u'\r'))
        return rangesEndedBy(text, u'\n');
    std::vector<LineRange> ranges;
    // Room for the most lines there can be; the pages past those used are never touched.
    ranges.reserve(size_t(text.count(u'\n') + text.count(u'\r')) + 1);
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
