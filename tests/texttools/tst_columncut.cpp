#include "support/hermetic.h"

#include "texttools/columncutlogic.h"

#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(brevnote::LineStart)

// The column cutter's rules on single lines and on whole texts.
class TestColumnCut : public QObject {
    Q_OBJECT

private slots:
    void cutLine_data();
    void cutLine();
    void cutLinesKeepsCountAndStops();
};

void TestColumnCut::cutLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<LineStart>("lineStart");
    QTest::addColumn<QString>("finalText");
    QTest::addColumn<QString>("expected");

    const auto all = LineStart::Todos;
    QTest::newRow("defaults keep the first character")
        << u"abc"_s << 1 << 1 << false << all << u""_s << u"a"_s;
    QTest::newRow("defaults keep an empty line")
        << u""_s << 1 << 1 << false << all << u""_s << u""_s;
    QTest::newRow("5+3 of eight") << u"12345678"_s << 5 << 3 << false << all << u""_s << u"567"_s;
    QTest::newRow("5+3 of four") << u"1234"_s << 5 << 3 << false << all << u""_s << u""_s;
    QTest::newRow("5+3 of five") << u"12345"_s << 5 << 3 << false << all << u""_s << u"5"_s;
    QTest::newRow("5+3 of six") << u"123456"_s << 5 << 3 << false << all << u""_s << u"56"_s;
    QTest::newRow("numeric cuts a digit line")
        << u"9abc"_s << 2 << 2 << false << LineStart::Numerico << u";"_s << u"ab;"_s;
    QTest::newRow("numeric keeps a letter line")
        << u"x123"_s << 2 << 2 << false << LineStart::Numerico << u";"_s << u"x123;"_s;
    QTest::newRow("alphabet cuts Ñ")
        << u"Ñandu"_s << 1 << 2 << false << LineStart::Alfabeto << u""_s << u"Ña"_s;
    QTest::newRow("alphabet cuts ñ")
        << u"ñandu"_s << 1 << 2 << false << LineStart::Alfabeto << u""_s << u"ña"_s;
    QTest::newRow("alphabet keeps á")
        << u"água"_s << 1 << 2 << false << LineStart::Alfabeto << u""_s << u"água"_s;
    QTest::newRow("alphabet keeps ç")
        << u"çedilha"_s << 1 << 2 << false << LineStart::Alfabeto << u""_s << u"çedilha"_s;
    QTest::newRow("alphabet keeps a digit")
        << u"1abc"_s << 1 << 2 << false << LineStart::Alfabeto << u""_s << u"1abc"_s;
    QTest::newRow("alphanumeric cuts a digit")
        << u"1abc"_s << 1 << 2 << false << LineStart::Alfanumerico << u""_s << u"1a"_s;
    QTest::newRow("alphanumeric keeps a sign")
        << u"#abc"_s << 1 << 2 << false << LineStart::Alfanumerico << u""_s << u"#abc"_s;
    QTest::newRow("untrimmed blank start is always cut")
        << u"\tx123"_s << 1 << 2 << false << LineStart::Numerico << u""_s << u"\tx"_s;
    QTest::newRow("trimmed line judged by its first visible")
        << u"  x123 "_s << 1 << 2 << true << LineStart::Numerico << u""_s << u"x123"_s;
    QTest::newRow("trimmed and cut")
        << u"  12345  "_s << 2 << 3 << true << all << u","_s << u"234,"_s;
    QTest::newRow("empty line takes the separator")
        << u""_s << 1 << 1 << false << LineStart::Numerico << u";"_s << u";"_s;
    QTest::newRow("no choice cuts no visible start")
        << u"abc"_s << 1 << 1 << false << LineStart::None << u""_s << u"abc"_s;
    QTest::newRow("no choice still cuts a blank start")
        << u" abc"_s << 1 << 2 << false << LineStart::None << u""_s << u" a"_s;
    QTest::newRow("emoji kept whole at the start")
        << u"a😀b"_s << 3 << 1 << false << all << u""_s << u"😀"_s;
    QTest::newRow("emoji kept whole at the end")
        << u"a😀b"_s << 1 << 2 << false << all << u""_s << u"a😀"_s;
    QTest::newRow("greek passes") << u"αβγ"_s << 2 << 5 << false << all << u""_s << u"βγ"_s;
}

void TestColumnCut::cutLine() {
    QFETCH(QString, line);
    ColumnCutOptions options;
    QFETCH(int, start);
    QFETCH(int, size);
    options.start = start;
    options.size = size;
    QFETCH(bool, trim);
    options.trim = trim;
    QFETCH(LineStart, lineStart);
    options.lineStart = lineStart;
    QFETCH(QString, finalText);
    options.finalText = finalText;
    QTEST(CutLine(line, options), "expected");
    // The whole-text cut works on the lines in place, on its own path: same rules. The copy
    // is made unshared first, as the editor's lines are.
    QStringList lines{QString(line.constData(), line.size())};
    QVERIFY(CutLines(lines, options));
    QTEST(lines.at(0), "expected");
    // And the cut of a whole text by its line places, between other breaks.
    QFETCH(QString, expected);
    const QString text = line + u"\r\n"_s + line + u"\n"_s + line + u"\r"_s;
    QCOMPARE(CutText(text, LineEnds::File, options),
             expected + u'\n' + expected + u'\n' + expected);
    QCOMPARE(CutText(line + QChar::ParagraphSeparator + line + QChar::ParagraphSeparator,
                     LineEnds::EditorParagraphs, options),
             expected + u'\n' + expected);
}

void TestColumnCut::cutLinesKeepsCountAndStops() {
    QStringList lines(40000, u"abcdef"_s);
    ColumnCutOptions options;
    options.start = 2;
    options.size = 2;
    QVERIFY(CutLines(lines, options));
    QCOMPARE(lines.size(), 40000);
    QCOMPARE(lines.count(u"bc"_s), 40000);

    QStringList stopped(40000, u"abcdef"_s);
    qsizetype calls = 0;
    QVERIFY(!CutLines(stopped, options, [&calls](qsizetype done, qsizetype total) {
        ++calls;
        return done < total / 2;
    }));
    QCOMPARE(calls, 2);
    QVERIFY(!CutText(stopped.join(u'\n'), LineEnds::File, options,
                     [](qsizetype done, qsizetype total) { return done < total / 2; }));
}

BREVNOTE_TEST_GUILESS_MAIN(TestColumnCut)
#include "tst_columncut.moc"
