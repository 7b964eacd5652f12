// The text tools on arbitrary text: the editor's text split into lines and joined back is the
// same text with its breaks normalised, the line places give the same lines (and sorting
// them the same text), and every tool rule keeps what it promises about the
// lines (count, lengths, order, counts, whole surrogate pairs) and adds no line break.
//
// Input: four option bytes, then the text (decoded as a file is, or as raw UTF-16, which can
// hold lone surrogates).
#include "fuzzcheck.h"
#include "texttools/capitalizelogic.h"
#include "texttools/caselogic.h"
#include "texttools/columncutlogic.h"
#include "texttools/csvlogic.h"
#include "texttools/sortlogic.h"
#include "texttools/valuefrom.h"
#include "util/core/editorlinesplit.h"
#include "util/core/lineranges.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <QSet>

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace brevnote;

namespace {

struct Options {
    bool rawUtf16 = false;
    ColumnCutOptions cut;
    UpperFirstOptions upperFirst;
};

Options readOptions(const std::uint8_t *header) {
    Options o;
    o.rawUtf16 = header[0] & 1;
    o.cut.lineStart = LineStart((header[0] >> 1) % 5);
    o.cut.start = std::int8_t(header[1]);
    o.cut.size = std::int8_t(header[2]);
    o.cut.trim = header[3] & 1;
    static const QString kFinal[] = {QString(), QStringLiteral(";"), QStringLiteral(",")};
    o.cut.finalText = kFinal[(header[3] >> 1) % 3];
    o.upperFirst.allWords = header[3] & 8;
    o.upperFirst.lowerOnly = header[3] & 16;
    o.upperFirst.upperOnly = header[3] & 32;
    o.upperFirst.removeAccents = header[3] & 64;
    o.upperFirst.spacesToUnderlines = header[3] & 128;
    return o;
}

// What the editor holds for a text: every break (CR LF, CR, LF) is a paragraph separator.
QString editorText(const QString &text) {
    QString raw = text;
    raw.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
    raw.replace(u'\r', QChar::ParagraphSeparator);
    raw.replace(u'\n', QChar::ParagraphSeparator);
    return raw;
}

// The lines the tools find in the editor after they wrote `lines` into it: the same lines,
// less an empty last one (written without a break after it, it ends the text).
void checkWrittenBack(const QStringList &lines, const char *tool) {
    QStringList expected = lines;
    if (!expected.isEmpty() && expected.constLast().isEmpty())
        expected.removeLast();
    const QStringList readBack =
        splitEditorLines(editorText(joinEditorLines(lines)), EmptyLastParagraph::StartsNoLine);
    FUZZ_CHECK(readBack == expected,
               QString::fromLatin1(tool) + u' ' + fuzz::shown(lines.join(u'|')));
}

bool splitsPair(QStringView text, qsizetype at) {
    return at > 0 && at < text.size() && text.at(at).isLowSurrogate() &&
           text.at(at - 1).isHighSurrogate();
}

// `kept` stands somewhere in `line` without a surrogate pair cut at either end.
bool keptWhole(QStringView line, QStringView kept) {
    for (qsizetype at = line.indexOf(kept); at >= 0; at = line.indexOf(kept, at + 1)) {
        if (!splitsPair(line, at) && !splitsPair(line, at + kept.size()))
            return true;
    }
    return false;
}

void checkCutter(const QStringList &lines, const ColumnCutOptions &options) {
    QStringList cut = lines;
    FUZZ_CHECK(CutLines(cut, options));
    FUZZ_CHECK(cut.size() == lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(cut.at(i).endsWith(options.finalText));
        const QStringView kept = QStringView(cut.at(i)).chopped(options.finalText.size());
        const QStringView line = options.trim ? TrimBlanksView(lines.at(i)) : lines.at(i);
        FUZZ_CHECK(keptWhole(line, kept), fuzz::shown(line.toString()) + QStringLiteral(" -> ") +
                                              fuzz::shown(kept.toString()));
        // Beyond the slice, at most the other half of a pair at each end.
        if (LineMatchesStart(line, options.lineStart))
            FUZZ_CHECK(kept.size() <= qsizetype(std::max(options.size, 0)) + 2);
    }
    checkWrittenBack(cut, "cut");
}

void checkCapitaliser(const QStringList &lines, const UpperFirstOptions &options) {
    QStringList formatted = lines;
    FUZZ_CHECK(FormatLines(formatted, options));
    FUZZ_CHECK(formatted.size() == lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(formatted.at(i).size() == lines.at(i).size(), fuzz::shown(lines.at(i)) +
                                                                     QStringLiteral(" -> ") +
                                                                     fuzz::shown(formatted.at(i)));
    checkWrittenBack(formatted, "capitalise");
}

// The lines at the places lineRanges gives.
QStringList linesAt(const QString &text, LineEnds breaks) {
    QStringList lines;
    for (const LineRange &range : lineRanges(text, breaks))
        lines.append(text.sliced(range.start, range.length));
    return lines;
}

void checkSort(const QString &raw, const QStringList &lines) {
    QStringList sorted = lines;
    FUZZ_CHECK(SortLinesCaseBlind(sorted));
    // The sort of the raw text's line places gives those lines joined.
    FUZZ_CHECK(SortTextCaseBlind(raw, LineEnds::EditorParagraphs) == joinEditorLines(sorted),
               fuzz::shown(raw));
    // In the order of the collation keys. (QCollator::compare puts every text after the empty
    // one, while a text of control characters only has the empty text's key.)
    const QCollator collator = CaseBlindCollator();
    for (qsizetype i = 1; i < sorted.size(); ++i)
        FUZZ_CHECK(collator.sortKey(sorted.at(i - 1)).compare(collator.sortKey(sorted.at(i))) <= 0,
                   fuzz::shown(sorted.at(i - 1)) + QStringLiteral(" > ") +
                       fuzz::shown(sorted.at(i)));
    QStringList before = lines;
    QStringList after = sorted;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    FUZZ_CHECK(before == after, QStringLiteral("the sort is no permutation"));
    checkWrittenBack(sorted, "sort");
}

void checkGrouping(const QStringList &lines) {
    TValueFrom values;
    for (const QString &line : lines)
        values.AddValue(line, 1, true);
    // Equal keys (upper-cased) share one entry, which the key finds; an empty key never
    // matches, so each empty line has an entry of its own.
    qlonglong counted = 0;
    QSet<QString> keys;
    for (qsizetype i = 0; i < values.EntryCount(); ++i) {
        const TRegistro entry = values.GetEntry(i);
        counted += entry.Value.toLongLong();
        const QString key = UpperEachChar(entry.Key.toString());
        FUZZ_CHECK(key.isEmpty() || !keys.contains(key), fuzz::shown(key));
        keys.insert(key);
        FUZZ_CHECK(values.IndexOfKey(entry.Key) == (key.isEmpty() ? -1 : i), fuzz::shown(key));
    }
    FUZZ_CHECK(counted == lines.size());
    // The grouping page, made without the aggregator, is the aggregator's page.
    FUZZ_CHECK(GroupLinesHTML(lines) == values.ToHTMLTable(true));
}

void checkCsv(const QString &raw, const QStringList &lines) {
    const QStringList csv = CsvLines(lines);
    // The file's text made from the raw text in one piece is the joined lines.
    FUZZ_CHECK(CsvText(raw) == joinEditorLines(csv), fuzz::shown(raw));
    FUZZ_CHECK(csv.size() == lines.size() + 1);
    FUZZ_CHECK(csv.constFirst() == u"CSV_Header;");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &field = csv.at(i + 1);
        FUZZ_CHECK(field.endsWith(u';') && field.count(u';') == 1, fuzz::shown(field));
        FUZZ_CHECK(field.size() <= lines.at(i).size() + 1);
        FUZZ_CHECK(field.size() == 1 ||
                       (!IsBlank(field.front()) && !IsBlank(field.at(field.size() - 2))),
                   fuzz::shown(field));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    constexpr std::size_t kHeader = 4;
    if (size < kHeader)
        return 0;
    const Options options = readOptions(data);
    const QByteArray bytes(reinterpret_cast<const char *>(data + kHeader),
                           qsizetype(size - kHeader));
    const QString text =
        options.rawUtf16
            ? QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2)
            : decodeText(bytes);

    // Split then join: the editor's text again, less one break at its very end.
    const QString raw = editorText(text);
    const QStringList lines = splitEditorLines(raw, EmptyLastParagraph::StartsNoLine);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QChar::ParagraphSeparator), fuzz::shown(line));
    const QString normalised = raw.endsWith(QChar::ParagraphSeparator) ? raw.chopped(1) : raw;
    FUZZ_CHECK(editorText(joinEditorLines(lines)) == normalised, fuzz::shown(raw));
    checkWrittenBack(lines, "split");
    // The line places give the editor's lines: from its raw text, and from the file's text
    // when that holds no paragraph separator of its own (the editor would break there too).
    FUZZ_CHECK(linesAt(raw, LineEnds::EditorParagraphs) == lines, fuzz::shown(raw));
    if (!text.contains(QChar::ParagraphSeparator))
        FUZZ_CHECK(linesAt(text, LineEnds::File) == lines, fuzz::shown(text));

    checkCutter(lines, options.cut);
    checkCapitaliser(lines, options.upperFirst);
    checkSort(raw, lines);
    checkGrouping(lines);
    checkCsv(raw, lines);
    return 0;
}
