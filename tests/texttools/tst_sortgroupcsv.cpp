#include "support/hermetic.h"

#include "texttools/collationkeys.h"
#include "texttools/csvlogic.h"
#include "texttools/sortlogic.h"
#include "texttools/valuefrom.h"
#include "util/core/editorlinesplit.h"
#include "util/core/textcodec.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

Q_DECLARE_METATYPE(brevnote::LineEnds)

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

namespace {

// Seeded random lines from pieces that collate close together: accents, case, blanks,
// punctuation, digits, a character outside the Basic Multilingual Plane, and many repeats.
QStringList randomLines(qsizetype count, quint32 seed) {
    static const QStringList pieces{u"a"_s,
                                    u"A"_s,
                                    u"á"_s,
                                    u"Á"_s,
                                    u"à"_s,
                                    u"ã"_s,
                                    u"e"_s,
                                    u"É"_s,
                                    u"ê"_s,
                                    u"c"_s,
                                    u"ç"_s,
                                    u"Ç"_s,
                                    u"o"_s,
                                    u"Ô"_s,
                                    u"z"_s,
                                    u" "_s,
                                    u"-"_s,
                                    u"'"_s,
                                    u"1"_s,
                                    u"2"_s,
                                    u"😀"_s,
                                    u"ñ"_s,
                                    u"ß"_s,
                                    u"ss"_s,
                                    u"æ"_s,
                                    u"\t"_s,
                                    u"ä"_s,
                                    u"\x01"_s,
                                    u"\uFDFA"_s /* a key many bytes long */,
                                    u"\u0302"_s,
                                    u"\u0323"_s /* marks in either order */};
    QRandomGenerator random(seed);
    QStringList lines;
    for (qsizetype i = 0; i < count; ++i) {
        QString line;
        const int length = int(random.bounded(5));
        for (int j = 0; j < length; ++j)
            line += pieces.at(random.bounded(int(pieces.size())));
        lines.append(line);
    }
    return lines;
}

// The page the aggregator itself makes of the lines, line by line.
QString aggregatorPage(const QStringList &lines) {
    TValueFrom values;
    for (const QString &line : lines)
        values.AddValue(line, 1, true);
    return values.ToHTMLTable(true);
}

// The lines as one text, each ended by a break, so an empty last line is still a line.
QString endedLines(const QStringList &lines) {
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

const QString kTableStart =
    u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"7\" style=\"border-collapse: collapse\">"_s;

QString row(const QString &key, const QString &value) {
    return u"<tr>\r\n<td>"_s + key + u"<br>"_s + value + u"</td>\r\n</tr>\r\n"_s;
}

QString page(const QString &rows) {
    return u"<html><body>"_s + kTableStart + u"\r\n"_s + rows + u"</table>\r\n</body></html>\r\n"_s;
}

} // namespace

// Sorting, the value aggregator behind grouping, and the CSV lines.
class TestSortGroupCsv : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void sortCaseBlind_data();
    void sortCaseBlind();
    void sortUnderTheCLocaleCollatesAsPortuguese();
    void sortMatchesPlainCollatorSort_data();
    void sortMatchesPlainCollatorSort();
    void sortTextMatchesSortLines_data();
    void sortTextMatchesSortLines();
    void sortStoppedLeavesLines_data();
    void sortStoppedLeavesLines();
    void sortKeysAsKeyBefore_data();
    void sortKeysAsKeyBefore();
    void groupLinesReporting_data();
    void groupLinesReporting();
    void groupLines_data();
    void groupLines();
    void valueFromOperations();
    void csvLines_data();
    void csvLines();
    void csvTextAsTheJoinedLines_data();
    void csvTextAsTheJoinedLines();
};

void TestSortGroupCsv::sortCaseBlind_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected"); // "apple" stands for either case of it

    QTest::newRow("apples first") << QStringList{u"banana"_s, u"Apple"_s, u"cherry"_s, u"apple"_s}
                                  << QStringList{u"apple"_s, u"apple"_s, u"banana"_s, u"cherry"_s};
    QTest::newRow("duplicates stay, empty first")
        << QStringList{u"b"_s, u"a"_s, u""_s, u"b"_s} << QStringList{u""_s, u"a"_s, u"b"_s, u"b"_s};
    QTest::newRow("nothing") << QStringList{} << QStringList{};
}

void TestSortGroupCsv::sortCaseBlind() {
    QFETCH(QStringList, lines);
    QVERIFY(SortLinesCaseBlind(lines));
    QStringList folded;
    for (const QString &line : std::as_const(lines))
        folded.append(line.toLower());
    QTEST(folded, "expected");
}

void TestSortGroupCsv::sortUnderTheCLocaleCollatesAsPortuguese() {
    QLocale::setDefault(QLocale::c());
    QStringList lines{u"Zebra"_s, u"éclair"_s, u"Ágata"_s, u"abacate"_s, u"Eva"_s};
    QVERIFY(SortLinesCaseBlind(lines));
    QCOMPARE(lines.indexOf(u"Zebra"_s), 4);
    QCOMPARE(lines.mid(0, 4), (QStringList{u"abacate"_s, u"Ágata"_s, u"éclair"_s, u"Eva"_s}));
}

void TestSortGroupCsv::sortMatchesPlainCollatorSort_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<qsizetype>("count");
    QTest::newRow("on this thread") << u"pt_BR"_s << qsizetype(3000);
    QTest::newRow("on two threads") << u"pt_BR"_s << qsizetype(70000);
    QTest::newRow("Swedish: ä after z") << u"sv_SE"_s << qsizetype(3000);
    QTest::newRow("C locale") << u"C"_s << qsizetype(3000);
}

// The sort on key bytes, split over threads, gives exactly what a stable sort on QCollator's
// own sort keys gives, equal lines in their first order included.
void TestSortGroupCsv::sortMatchesPlainCollatorSort() {
    QFETCH(QString, locale);
    QFETCH(qsizetype, count);
    QLocale::setDefault(QLocale(locale));
    const QStringList input = randomLines(count, quint32(count));
    // The plain way: one QCollatorSortKey per line, a stable sort on them.
    const QCollator collator = CaseBlindCollator();
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    for (const QString &line : input)
        keyed.emplace_back(collator.sortKey(line), line);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    QStringList expected;
    for (const auto &entry : keyed)
        expected.append(entry.second);
    QStringList lines = input;
    qsizetype lastDone = 0;
    QVERIFY(SortLinesCaseBlind(lines, [&lastDone](qsizetype done, qsizetype) {
        lastDone = done;
        return true;
    }));
    QCOMPARE(lastDone, count);
    // Equal-looking lines differ in case, so comparing the texts checks their order too.
    QCOMPARE(lines, expected);
}

void TestSortGroupCsv::sortTextMatchesSortLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<LineEnds>("breaks");
    const auto file = LineEnds::File;
    QTest::newRow("empty") << QString() << file;
    QTest::newRow("only a break: one empty line") << u"\n"_s << file;
    QTest::newRow("crlf") << u"banana\r\nApple\r\ncherry\r\napple\r\n"_s << file;
    QTest::newRow("lf, lone cr, empty lines") << u"b\ra\n\nB\r\rA"_s << file;
    QTest::newRow("empty last line") << u"b\na\n\n"_s << file;
    QTest::newRow("empty line first") << u"\nb\na"_s << file;
    QTest::newRow("surrogate pairs") << u"😀b\r\n😀a\r\n😀\r\n"_s << file;
    QTest::newRow("windows-1252 file")
        << decodeText(QByteArray("\xC9va\r\nabacate\r\nZebra\r\n\xC1gata\r\n")) << file;
    QTest::newRow("editor paragraphs")
        << u"b\u2029a\u2029\u2029A\u2029"_s << LineEnds::EditorParagraphs;
    QTest::newRow("two threads, crlf") << randomLines(70000, 11).join(u"\r\n"_s) << file;
    QTest::newRow("two threads, paragraphs")
        << randomLines(70000, 12).join(QChar::ParagraphSeparator) << LineEnds::EditorParagraphs;
}

// Sorting the text's line places gives what sorting its lines as strings and joining them
// gives.
void TestSortGroupCsv::sortTextMatchesSortLines() {
    QFETCH(QString, text);
    QFETCH(LineEnds, breaks);
    QStringList lines = breaks == LineEnds::File
                            ? splitLines(text)
                            : splitEditorLines(text, EmptyLastParagraph::StartsNoLine);
    QVERIFY(SortLinesCaseBlind(lines));
    const std::optional<QString> sorted = SortTextCaseBlind(text, breaks);
    QVERIFY(sorted);
    QCOMPARE(*sorted, joinEditorLines(lines));
}

void TestSortGroupCsv::sortStoppedLeavesLines_data() {
    QTest::addColumn<bool>("whileSorting");
    QTest::newRow("while keying") << false;
    QTest::newRow("while sorting") << true;
}

void TestSortGroupCsv::sortStoppedLeavesLines() {
    QFETCH(bool, whileSorting);
    const QStringList input = randomLines(70000, 7);
    QStringList lines = input;
    const LineProgress stopping = [whileSorting](qsizetype done, qsizetype total) {
        return whileSorting && done < total;
    };
    QVERIFY(!SortLinesCaseBlind(lines, stopping));
    QCOMPARE(lines, input);
    QVERIFY(!SortTextCaseBlind(input.join(u'\n'), LineEnds::File, stopping));
}

void TestSortGroupCsv::sortKeysAsKeyBefore_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("shared"); // bytes every key starts with
    QTest::addColumn<int>("alphabet");
    QTest::addColumn<int>("longestTail");
    QTest::newRow("first eight bytes tell") << 3000 << 0 << 250 << 20;
    QTest::newRow("forty bytes shared") << 3000 << 40 << 3 << 12;
    QTest::newRow("ending on eight-byte edges") << 3000 << 5 << 2 << 28;
    QTest::newRow("runs short enough to compare whole") << 400 << 9 << 2 << 6;
    QTest::newRow("one key many times") << 500 << 17 << 1 << 0;
}

// Keys as ICU makes them (no zero byte but the last), sorted round by round, come out as a
// sort by keyBefore puts them: equal keys in their lines' order.
void TestSortGroupCsv::sortKeysAsKeyBefore() {
    QFETCH(int, count);
    QFETCH(int, shared);
    QFETCH(int, alphabet);
    QFETCH(int, longestTail);
    QRandomGenerator random(quint32(count + shared));
    std::vector<std::vector<std::uint8_t>> bytes;
    std::vector<LineKey> keys;
    for (int i = 0; i < count; ++i) {
        std::vector<std::uint8_t> key(size_t(shared), std::uint8_t(7));
        for (int tail = int(random.bounded(longestTail + 1)); tail > 0; --tail)
            key.push_back(std::uint8_t(1 + random.bounded(alphabet)));
        key.push_back(0);
        bytes.push_back(std::move(key));
    }
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::uint8_t first[8] = {};
        std::copy_n(bytes[i].begin(), std::min<size_t>(8, bytes[i].size()), first);
        keys.push_back({qFromBigEndian<quint64>(first), bytes[i].data(), qsizetype(bytes[i].size()),
                        qsizetype(i)});
    }
    std::vector<LineKey> expected = keys;
    std::sort(expected.begin(), expected.end(), keyBefore);
    sortKeys(keys);
    QCOMPARE(keys.size(), expected.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        QCOMPARE(keys[i].index, expected[i].index);
        QCOMPARE(keys[i].prefix, expected[i].prefix); // as merging them reads it
    }
}

void TestSortGroupCsv::groupLinesReporting_data() {
    QTest::addColumn<bool>("stopAtTheEnd");
    QTest::newRow("goes on") << false;
    QTest::newRow("stopped while the page is built") << true;
}

// With a progress callback the page is built beside the reports: the same page, or none when
// the user stopped meanwhile.
void TestSortGroupCsv::groupLinesReporting() {
    QFETCH(bool, stopAtTheEnd);
    const QStringList lines = randomLines(40000, 3);
    int endReports = 0; // the first comes when every line is counted, then while building
    const QString html =
        GroupLinesHTML(lines, [stopAtTheEnd, &endReports](qsizetype done, qsizetype total) {
            return !(stopAtTheEnd && done == total && ++endReports == 2);
        });
    QCOMPARE(html, stopAtTheEnd ? QString() : aggregatorPage(lines));
    const QString text = endedLines(lines);
    QCOMPARE(GroupLinesHTML(text, lineRanges(text, LineEnds::File)), aggregatorPage(lines));
}

void TestSortGroupCsv::groupLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Sim sim Não SIM") << QStringList{u"Sim"_s, u"sim"_s, u"Não"_s, u"SIM"_s}
                                     << page(row(u"Sim"_s, u"3"_s) + row(u"Não"_s, u"1"_s));
    QTest::newRow("accents and spaces count")
        << QStringList{u"Não"_s, u"Nao"_s, u"Nao "_s, u"NÃO"_s}
        << page(row(u"Não"_s, u"2"_s) + row(u"Nao"_s, u"1"_s) + row(u"Nao "_s, u"1"_s));
    QTest::newRow("each empty line its own row")
        << QStringList{u""_s, u"a"_s, u""_s}
        << page(row(u""_s, u"1"_s) + row(u"a"_s, u"1"_s) + row(u""_s, u"1"_s));
    QTest::newRow("markup stays markup")
        << QStringList{u"<b>x</b>"_s, u"<B>X</B>"_s} << page(row(u"<b>x</b>"_s, u"2"_s));
    QTest::newRow("empty text, empty table") << QStringList{} << page(QString());
}

void TestSortGroupCsv::groupLines() {
    QFETCH(QStringList, lines);
    QTEST(GroupLinesHTML(lines), "expected");
    QTEST(aggregatorPage(lines), "expected");
    const QString text = endedLines(lines);
    QTEST(GroupLinesHTML(text, lineRanges(text, LineEnds::File)), "expected");
}

void TestSortGroupCsv::valueFromOperations() {
    TValueFrom values;
    QCOMPARE(values.AppendEntry(u"a"_s, 1), 0);
    QCOMPARE(values.AppendEntry(u"A"_s, 5), 1); // unconditional
    QCOMPARE(values.IndexOfKey(u"a"_s), 0);     // the first of equal keys
    values.AddValue(u"A"_s, 2, true);
    QCOMPARE(values.GetEntry(0).Value, QVariant(3));
    QCOMPARE(values.GetEntry(0).Key, QVariant(u"a"_s));
    values.AddValue(u"a"_s, 10, false);
    QCOMPARE(values.GetEntry(0).Value, QVariant(10));
    values.AddValue(u"b"_s, 1.5, true);
    values.AddValue(u"B"_s, 1, true);
    QCOMPARE(values.GetEntry(2).Value.toDouble(), 2.5);
    values.AddValue(QVariant(), 1, true);
    values.AddValue(QString(), 1, true);
    QCOMPARE(values.IndexOfKey(QString()), -1);
    QCOMPARE(values.EntryCount(), 5);
    QCOMPARE(values.ToHTMLTable(false).left(kTableStart.size() + 2), kTableStart + u"\r\n"_s);
}

void TestSortGroupCsv::csvLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty editor") << QStringList{} << QStringList{u"CSV_Header;"_s};
    QTest::newRow("blank lines") << QStringList{u""_s, u"   "_s}
                                 << QStringList{u"CSV_Header;"_s, u";"_s, u";"_s};
    QTest::newRow("a;b;c") << QStringList{u"a;b;c"_s} << QStringList{u"CSV_Header;"_s, u"a.b.c;"_s};
    QTest::newRow("margins go, inner spaces stay")
        << QStringList{u"\t  x y \t"_s, u"😀"_s}
        << QStringList{u"CSV_Header;"_s, u"x y;"_s, u"😀;"_s};
}

void TestSortGroupCsv::csvLines() {
    QFETCH(QStringList, lines);
    QTEST(CsvLines(lines), "expected");
}

void TestSortGroupCsv::csvTextAsTheJoinedLines_data() {
    QTest::addColumn<QString>("text"); // the editor's text, '\n' for its paragraph breaks
    QTest::newRow("empty editor") << u""_s;
    QTest::newRow("only a break") << u"\n"_s;
    QTest::newRow("two breaks") << u"\n\n"_s;
    QTest::newRow("break at the end") << u" a;b \nc\n"_s;
    QTest::newRow("blank lines inside") << u"a\n \t\n\nb"_s;
    QTest::newRow("emoji, no break at the end") << u"😀;\n x"_s;
    // Random lines of blanks, separators, letters and breaks.
    QRandomGenerator random(7);
    const QString alphabet = u" \t;a\u00e7\n"_s;
    for (int row = 0; row < 20; ++row) {
        QString text;
        for (int i = int(random.bounded(40)); i > 0; --i)
            text += alphabet.at(random.bounded(alphabet.size()));
        QTest::addRow("random %d", row) << text;
    }
}

// One text built from the raw text is the file the lines give.
void TestSortGroupCsv::csvTextAsTheJoinedLines() {
    QFETCH(QString, text);
    const QString raw = QString(text).replace(u'\n', QChar::ParagraphSeparator);
    QCOMPARE(CsvText(raw),
             joinEditorLines(CsvLines(splitEditorLines(raw, EmptyLastParagraph::StartsNoLine))));
}

BREVNOTE_TEST_GUILESS_MAIN(TestSortGroupCsv)
#include "tst_sortgroupcsv.moc"
