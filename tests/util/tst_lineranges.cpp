#include "support/hermetic.h"
#include "util/core/editorlinesplit.h"
#include "util/core/lineranges.h"
#include "util/core/textcodec.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList linesAt(const QString &text, LineEnds breaks) {
    QStringList lines;
    for (const LineRange &range : lineRanges(text, breaks))
        lines.append(text.sliced(range.start, range.length));
    return lines;
}

// Breaks of both kinds, pairs and letters, so each line end turns up in every neighbourhood.
QString randomText(quint32 seed) {
    static const QStringList pieces{u"a"_s,    u"é"_s,      u"\r"_s, u"\n"_s,
                                    u"\r\n"_s, u"\u2029"_s, u"😀"_s};
    QRandomGenerator random(seed);
    QString text;
    const int length = int(random.bounded(40));
    for (int i = 0; i < length; ++i)
        text += pieces.at(random.bounded(int(pieces.size())));
    return text;
}

// A file's lines as a regular expression finds them: what is between the breaks, less the
// empty piece after a break at the very end.
QStringList fileLines(const QString &text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QRegularExpression(u"\r\n|\r|\n"_s));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

// The line places give exactly the lines a regular expression and the editor's splitter give.
class TestLineRanges : public QObject {
    Q_OBJECT

private slots:
    void sameLinesAsTheSplitters_data();
    void sameLinesAsTheSplitters();
};

void TestLineRanges::sameLinesAsTheSplitters_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line, no break") << u"abc"_s;
    QTest::newRow("lf only") << u"a\nb\n\nc"_s;
    QTest::newRow("crlf") << u"a\r\nb\r\n"_s;
    QTest::newRow("lone cr") << u"a\rb\r\rc"_s;
    QTest::newRow("lf cr, cr at the end") << u"a\n\rb\r"_s;
    QTest::newRow("empty last line") << u"a\n\n"_s;
    QTest::newRow("only a break") << u"\n"_s;
    QTest::newRow("paragraphs") << u"a\u2029\u2029b\u2029"_s;
    QTest::newRow("surrogate pairs") << u"😀\r\n😀x\u2029😀"_s;
    QTest::newRow("windows-1252 file") << decodeText(QByteArray("S\xE3o\r\nJo\xE3o\r\n\x80\r\n"));
    for (quint32 seed = 1; seed <= 200; ++seed)
        QTest::addRow("random %u", seed) << randomText(seed);
}

void TestLineRanges::sameLinesAsTheSplitters() {
    QFETCH(QString, text);
    QCOMPARE(linesAt(text, LineEnds::File), fileLines(text));
    QCOMPARE(linesAt(text, LineEnds::EditorParagraphs),
             splitEditorLines(text, EmptyLastParagraph::StartsNoLine));
}

BREVNOTE_TEST_GUILESS_MAIN(TestLineRanges)
#include "tst_lineranges.moc"
