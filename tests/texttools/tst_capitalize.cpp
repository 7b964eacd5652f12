#include "support/hermetic.h"

#include "texttools/capitalizelogic.h"

#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

// The word capitaliser's rules: accents, underscores, the three case modes and the lines.
class TestCapitalize : public QObject {
    Q_OBJECT

private slots:
    void formatText_data();
    void formatText();
    void removeAccentsTable();
    void formatLinesKeepsLines();
    void formatLinesOnTwoThreads_data();
    void formatLinesOnTwoThreads();
};

void TestCapitalize::formatText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flags"); // l lower, u upper, a accents, _ underscores, p "Primeira"
    QTest::addColumn<QString>("expected");

    QTest::newRow("maria DA silva") << u"maria DA silva"_s << u""_s << u"Maria Da Silva"_s;
    QTest::newRow("JOÃO") << u"JOÃO"_s << u""_s << u"João"_s;
    QTest::newRow("ÉRICA: accented capital is no word start") << u"ÉRICA"_s << u""_s << u"érica"_s;
    QTest::newRow("ñandu") << u"ñandu"_s << u""_s << u"Ñandu"_s;
    QTest::newRow("d'ávila-souza") << u"d'ávila-souza"_s << u""_s << u"D'ávila-souza"_s;
    QTest::newRow("only spaces separate words") << u"a\tb.c/d_e(f"_s << u""_s << u"A\tb.c/d_e(f"_s;
    QTest::newRow("accents first, then the word start") << u"ÉRICA"_s << u"a"_s << u"Erica"_s;
    QTest::newRow("underscores leave one word")
        << u"joão da silva"_s << u"_"_s << u"João_da_silva"_s;
    QTest::newRow("ação & reação upper, no accents")
        << u"ação & reação"_s << u"au"_s << u"ACAO E REACAO"_s;
    QTest::newRow("section sign and ordinal") << u"§ 1º"_s << u"al"_s << u"  1o"_s;
    QTest::newRow("outside the table keeps accents") << u"è ö ñ ý"_s << u"al"_s << u"è ö ñ ý"_s;
    QTest::newRow("lower lowers accented capitals") << u"ÇÉ ABC"_s << u"l"_s << u"çé abc"_s;
    QTest::newRow("upper raises accented letters") << u"çé abc"_s << u"u"_s << u"ÇÉ ABC"_s;
    QTest::newRow("each line starts a word")
        << u"um\ndois\r\ntrês\rquatro"_s << u""_s << u"Um\nDois\r\nTrês\rQuatro"_s;
    QTest::newRow("paragraph separator is a break")
        << u"a b\u2029c d"_s << u""_s << u"A B\u2029C D"_s;
    QTest::newRow("trailing break kept once") << u"ab cd\n"_s << u""_s << u"Ab Cd\n"_s;
    QTest::newRow("primeira raises only the line start")
        << u"maria DA silva\nJOSÉ"_s << u"p"_s << u"Maria da silva\nJosé"_s;
    QTest::newRow("emoji and greek pass") << u"😀 αβ 𝐀x"_s << u""_s << u"😀 αβ 𝐀x"_s;
    QTest::newRow("greek follows case rules") << u"ΑΒΓ"_s << u"l"_s << u"αβγ"_s;
}

void TestCapitalize::formatText() {
    QFETCH(QString, text);
    QFETCH(QString, flags);
    UpperFirstOptions options;
    options.lowerOnly = flags.contains(u'l');
    options.upperOnly = flags.contains(u'u');
    options.removeAccents = flags.contains(u'a');
    options.spacesToUnderlines = flags.contains(u'_');
    options.allWords = !flags.contains(u'p');
    const QString result = FormatText(text, options);
    QTEST(result, "expected");
    QCOMPARE(result.size(), text.size());
}

void TestCapitalize::removeAccentsTable() {
    const QString from = u"àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜªº&°§"_s;
    const QString to = u"aaeouaoaeioucuAAEOUAOAEIOUCUaoeo "_s;
    QCOMPARE(from.size(), 33);
    QCOMPARE(RemoveAccents(from), to);
    // Everything else of Latin-1 stays.
    QString rest;
    for (char16_t c = 32; c < 256; ++c) {
        if (!from.contains(QChar(c)))
            rest.append(QChar(c));
    }
    QCOMPARE(RemoveAccents(rest), rest);
}

void TestCapitalize::formatLinesKeepsLines() {
    QStringList lines{u"primeira linha"_s, u""_s, u"TERCEIRA LINHA"_s};
    QVERIFY(FormatLines(lines, UpperFirstOptions{}));
    QCOMPARE(lines, (QStringList{u"Primeira Linha"_s, u""_s, u"Terceira Linha"_s}));
}

void TestCapitalize::formatLinesOnTwoThreads_data() {
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<bool>("stopAtFirstReport");
    QTest::newRow("one thread") << kTwoThreadLines - 1 << false;
    QTest::newRow("two threads") << kTwoThreadLines << false;
    QTest::newRow("two threads, odd count") << 2 * kTwoThreadLines + 1 << false;
    QTest::newRow("stopped") << 2 * kTwoThreadLines + 1 << true;
}

// Every line as FormatText gives it, whichever thread did it; a copy of the list kept
// elsewhere stays as it was; a stop is heard.
void TestCapitalize::formatLinesOnTwoThreads() {
    QFETCH(qsizetype, count);
    QFETCH(bool, stopAtFirstReport);
    QStringList lines;
    for (qsizetype i = 0; i < count; ++i)
        lines.append(u"linha %1 de ação"_s.arg(i));
    const QStringList kept = lines;
    qsizetype reports = 0;
    qsizetype lastDone = 0;
    const bool done = FormatLines(lines, UpperFirstOptions{}, [&](qsizetype at, qsizetype) {
        ++reports;
        lastDone = at;
        return !stopAtFirstReport;
    });
    QCOMPARE(done, !stopAtFirstReport);
    QCOMPARE(kept.constLast(), u"linha %1 de ação"_s.arg(count - 1));
    if (stopAtFirstReport) {
        QCOMPARE(reports, 1);
        return;
    }
    QCOMPARE(lastDone, count);
    for (qsizetype i = 0; i < count; ++i) {
        if (lines.at(i) != FormatText(kept.at(i), UpperFirstOptions{}))
            QFAIL(qPrintable(u"line %1: %2"_s.arg(i).arg(lines.at(i))));
    }
}

BREVNOTE_TEST_GUILESS_MAIN(TestCapitalize)
#include "tst_capitalize.moc"
