#include "support/hermetic.h"

#include "app/rtfreader.h"

#include <QtTest>

using namespace brevnote;

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void extractsText_data();
    void extractsText();
    void recognisesRtf_data();
    void recognisesRtf();
};

void TestRtfReader::extractsText_data() {
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain words") << QStringLiteral("{\\rtf1\\ansi Hello world}")
                                 << QStringLiteral("Hello world");
    QTest::newRow("par and line break lines")
        << QStringLiteral("{\\rtf1 one\\par two\\line three\\par}")
        << QStringLiteral("one\ntwo\nthree\n");
    QTest::newRow("tab") << QStringLiteral("{\\rtf1 a\\tab b}") << QStringLiteral("a\tb");
    QTest::newRow("source line breaks are not text")
        << QStringLiteral("{\\rtf1 ab\r\ncd\nef}") << QStringLiteral("abcdef");
    QTest::newRow("delimiting blank belongs to the word")
        << QStringLiteral("{\\rtf1 \\b bold\\b0  plain}") << QStringLiteral("bold plain");
    QTest::newRow("numeric parameter ends the word")
        << QStringLiteral("{\\rtf1\\fs24 x\\fs-2y}") << QStringLiteral("xy");
    QTest::newRow("font, colour and style tables skipped")
        << QStringLiteral("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Courier;}}"
                          "{\\colortbl ;\\red255\\green0\\blue0;}"
                          "{\\stylesheet{\\s0 Normal;}}\\f0 texto}")
        << QStringLiteral("texto");
    QTest::newRow("info and pict skipped")
        << QStringLiteral("{\\rtf1{\\info{\\title T\\'edtulo}{\\author Eu}}"
                          "{\\pict\\pngblip 89504e47}fim}")
        << QStringLiteral("fim");
    QTest::newRow("starred destination skipped")
        << QStringLiteral("{\\rtf1{\\*\\generator Riched20 10.0;}{\\*\\unknown {x}y}ok}")
        << QStringLiteral("ok");
    QTest::newRow("text after a skipped group is read")
        << QStringLiteral("{\\rtf1 a{\\fonttbl x}b{\\i c}d}") << QStringLiteral("abcd");
    QTest::newRow("hex bytes are Windows-1252")
        << QStringLiteral("{\\rtf1 S\\'e1b \\'80 \\'93x\\'94}") << QStringLiteral("Sáb € “x”");
    QTest::newRow("unicode with one fallback char")
        << QStringLiteral("{\\rtf1 a\\u233?b}") << QStringLiteral("aéb");
    QTest::newRow("unicode with hex fallback")
        << QStringLiteral("{\\rtf1 \\u233\\'e9!}") << QStringLiteral("é!");
    QTest::newRow("uc2 skips two fallback chars")
        << QStringLiteral("{\\rtf1\\uc2 \\u8364 EUR}") << QStringLiteral("€R");
    QTest::newRow("uc0 skips nothing")
        << QStringLiteral("{\\rtf1\\uc0 \\u8364 x}") << QStringLiteral("€x");
    QTest::newRow("uc is local to its group")
        << QStringLiteral("{\\rtf1{\\uc0 \\u8364 }\\u8364?x}") << QStringLiteral("€€x");
    QTest::newRow("negative unicode is above 32767")
        << QStringLiteral("{\\rtf1 \\u-10179?\\u-8704?}") << QString::fromUtf8("\xF0\x9F\x98\x80");
    // What the pad shows must save and read back: no NUL, no half of a surrogate pair.
    QTest::newRow("nul characters dropped")
        << QStringLiteral("{\\rtf1 a\\'00b\\u0?c}") << QStringLiteral("abc");
    QTest::newRow("lone surrogate halves replaced")
        << QStringLiteral("{\\rtf1 \\u-10179?x\\u-8704?\\u-10179?}")
        << QStringLiteral("\uFFFDx\uFFFD\uFFFD");
    QTest::newRow("escaped specials")
        << QStringLiteral("{\\rtf1 a\\\\b\\{c\\}}") << QStringLiteral("a\\b{c}");
    QTest::newRow("non-breaking space and hyphen")
        << QStringLiteral("{\\rtf1 a\\~b\\_c\\-d}") << QStringLiteral("a\u00A0b-cd");
    QTest::newRow("quotes and dashes")
        << QStringLiteral("{\\rtf1 \\ldblquote x\\rdblquote \\emdash y}")
        << QStringLiteral("“x”—y");
    QTest::newRow("unterminated document keeps its text")
        << QStringLiteral("{\\rtf1 abc") << QStringLiteral("abc");
    QTest::newRow("stray closing braces")
        << QStringLiteral("{\\rtf1 a}}b}") << QStringLiteral("ab");
    QTest::newRow("trailing backslash") << QStringLiteral("{\\rtf1 a\\") << QStringLiteral("a");
    QTest::newRow("truncated hex byte") << QStringLiteral("{\\rtf1 a\\'e") << QStringLiteral("a");
    QTest::newRow("cut off right after a hex byte")
        << QStringLiteral("{\\rtf1 caf\\'e9") << QStringLiteral("café");
    QTest::newRow("binary data skipped")
        << QStringLiteral("{\\rtf1 a{\\bin3 }}}b}") << QStringLiteral("ab");
}

void TestRtfReader::extractsText() {
    QFETCH(QString, rtf);
    QFETCH(QString, text);
    QCOMPARE(plainTextFromRtf(rtf), text);
}

void TestRtfReader::recognisesRtf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("rtf") << QStringLiteral("{\\rtf1\\ansi x}") << true;
    QTest::newRow("plain") << QStringLiteral("hello {\\rtf1}") << false;
    QTest::newRow("leading blank") << QStringLiteral(" {\\rtf1}") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestRtfReader::recognisesRtf() {
    QFETCH(QString, text);
    QFETCH(bool, rtf);
    QCOMPARE(looksLikeRtf(text), rtf);
}

BREVNOTE_TEST_GUILESS_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
