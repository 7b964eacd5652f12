#include "support/hermetic.h"
#include "util/core/apperror.h"
#include "util/core/fonttext.h"
#include "util/core/keyvalue.h"

#include <QtTest>

#include <limits>

using namespace brevnote;

namespace {

const QChar kBell(7);

// The ten properties of a font text, for comparing two fonts as a whole.
QString describe(const FontDescription &font) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7%8%9%10")
        .arg(font.name)
        .arg(font.color)
        .arg(font.size())
        .arg(font.height())
        .arg(font.pitch)
        .arg(font.pixelsPerInch)
        .arg(int(font.bold))
        .arg(int(font.italic))
        .arg(int(font.underline))
        .arg(int(font.strikeOut));
}

} // namespace

class TestKeyValue : public QObject {
    Q_OBJECT

private slots:
    void splitFirst_data();
    void splitFirst();
    void readKeyValue_data();
    void readKeyValue();
    void hasKeyValue_data();
    void hasKeyValue();
    void readKeyValueInt_data();
    void readKeyValueInt();
    void malformedIntegerNamesTheValue_data();
    void malformedIntegerNamesTheValue();
    void readKeyValueBool_data();
    void readKeyValueBool();
    void malformedBooleanNamesTheValue_data();
    void malformedBooleanNamesTheValue();

    void sizeAndHeight_data();
    void sizeAndHeight();
    void fontToTextExample();
    void fontTextRoundTrips_data();
    void fontTextRoundTrips();
    void faceNameSeparatorsAreWrittenAsBlanks_data();
    void faceNameSeparatorsAreWrittenAsBlanks();
    void textToFontAppliesOnlyGivenKeys_data();
    void textToFontAppliesOnlyGivenKeys();
    void textToFontKeepsWhatWasAppliedBeforeAnError();
};

void TestKeyValue::splitFirst_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rest");
    const QChar semicolon(u';');
    QTest::newRow("three items") << QStringLiteral("a;b;c") << semicolon << QStringLiteral("a")
                                 << QStringLiteral("b;c");
    QTest::newRow("no separator") << QStringLiteral("abc") << semicolon << QStringLiteral("abc")
                                  << QString();
    QTest::newRow("leading separator")
        << QStringLiteral(";x") << semicolon << QString() << QStringLiteral("x");
    QTest::newRow("trailing separator")
        << QStringLiteral("x;") << semicolon << QStringLiteral("x") << QString();
    QTest::newRow("empty") << QString() << semicolon << QString() << QString();
    QTest::newRow("bell separator") << (QStringLiteral("a;b") + kBell + QStringLiteral("c"))
                                    << kBell << QStringLiteral("a;b") << QStringLiteral("c");
}

void TestKeyValue::splitFirst() {
    QFETCH(QString, list);
    QFETCH(QChar, separator);
    QFETCH(QString, first);
    QFETCH(QString, rest);
    QCOMPARE(SplitFirst(list, separator), first);
    QCOMPARE(list, rest);
}

void TestKeyValue::readKeyValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString font = QStringLiteral(";Name=Courier New;Size=10;Bold=-1");
    QTest::newRow("found") << font << QStringLiteral("Size") << QStringLiteral("10");
    QTest::newRow("missing") << font << QStringLiteral("Color") << QStringLiteral("<d>");
    QTest::newRow("case and blanks")
        << QStringLiteral("x=1; bold =-1") << QStringLiteral("Bold") << QStringLiteral("-1");
    QTest::newRow("wanted key trimmed")
        << font << QStringLiteral(" name\t") << QStringLiteral("Courier New");
    QTest::newRow("value not trimmed") << QStringLiteral("Name= Arial ;x=1")
                                       << QStringLiteral("name") << QStringLiteral(" Arial ");
    QTest::newRow("nothing after equals")
        << QStringLiteral("Size=;x=1") << QStringLiteral("Size") << QStringLiteral("<d>");
    QTest::newRow("blanks after equals")
        << QStringLiteral("Size=  \t") << QStringLiteral("Size") << QStringLiteral("<d>");
    QTest::newRow("key without equals")
        << QStringLiteral("Size;x=1") << QStringLiteral("Size") << QStringLiteral("<d>");
    QTest::newRow("first match wins")
        << QStringLiteral("Size=10;Size=12") << QStringLiteral("size") << QStringLiteral("10");
    QTest::newRow("empty first match stops the walk")
        << QStringLiteral("Size=;Size=12") << QStringLiteral("Size") << QStringLiteral("<d>");
    QTest::newRow("equals in value")
        << QStringLiteral("Expr=a=b") << QStringLiteral("Expr") << QStringLiteral("a=b");
    QTest::newRow("bell separates, semicolon is ordinary")
        << (QStringLiteral("Name=A;B") + kBell + QStringLiteral("Size=3")) << QStringLiteral("Name")
        << QStringLiteral("A;B");
    QTest::newRow("bell anywhere switches") << (QStringLiteral("x=1;Size=3") + kBell)
                                            << QStringLiteral("Size") << QStringLiteral("<d>");
    QTest::newRow("accented keys compare exactly")
        << QStringLiteral("ÑAME=x") << QStringLiteral("ñame") << QStringLiteral("<d>");
    QTest::newRow("empty text") << QString() << QStringLiteral("Size") << QStringLiteral("<d>");
}

void TestKeyValue::readKeyValue() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(ReadKeyValue(text, key, QStringLiteral("<d>")), expected);
}

void TestKeyValue::hasKeyValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("expected");
    QTest::newRow("present") << QStringLiteral(";Bold=0") << QStringLiteral("Bold") << true;
    QTest::newRow("absent") << QStringLiteral(";Bold=0") << QStringLiteral("Italic") << false;
    QTest::newRow("without value") << QStringLiteral("x;Bold") << QStringLiteral("bold") << true;
    QTest::newRow("empty value") << QStringLiteral("x; bold =") << QStringLiteral("Bold") << true;
    QTest::newRow("key as value only")
        << QStringLiteral("x=Bold") << QStringLiteral("Bold") << false;
    QTest::newRow("strikeout either spelling")
        << QStringLiteral(";Strikeout=-1") << QStringLiteral("StrikeOut") << true;
    // Only ";" separates here: a bell-separated text is a single item.
    QTest::newRow("bell is not a separator")
        << (QStringLiteral("Name=A") + kBell + QStringLiteral("Bold=-1")) << QStringLiteral("Bold")
        << false;
    QTest::newRow("empty text") << QString() << QStringLiteral("Bold") << false;
}

void TestKeyValue::hasKeyValue() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(bool, expected);
    QCOMPARE(HasKeyValue(text, key), expected);
}

void TestKeyValue::readKeyValueInt_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("decimal") << QStringLiteral("12") << 12;
    QTest::newRow("negative with blanks") << QStringLiteral(" -5 ") << -5;
    QTest::newRow("plus sign") << QStringLiteral("+7") << 7;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("dollar hex") << QStringLiteral("$FF") << 255;
    QTest::newRow("0x hex") << QStringLiteral("0x1a") << 26;
    QTest::newRow("negative hex") << QStringLiteral("-$10") << -16;
    QTest::newRow("system colour in hex") << QStringLiteral("$FF00000F") << -16777201;
    QTest::newRow("all bits") << QStringLiteral("$FFFFFFFF") << -1;
    QTest::newRow("largest") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("missing gives default") << QString() << 42;
}

void TestKeyValue::readKeyValueInt() {
    QFETCH(QString, value);
    QFETCH(int, expected);
    const QString text = value.isNull() ? QStringLiteral("x=1") : QStringLiteral("N=") + value;
    QCOMPARE(ReadKeyValueInt(text, QStringLiteral("N"), 42), expected);
}

void TestKeyValue::malformedIntegerNamesTheValue_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("trailing letter") << QStringLiteral("12a");
    QTest::newRow("fraction") << QStringLiteral("1.5");
    QTest::newRow("too large") << QStringLiteral("2147483648");
    QTest::newRow("too small") << QStringLiteral("-2147483649");
    QTest::newRow("hex too wide") << QStringLiteral("$1FFFFFFFF");
    QTest::newRow("bare dollar") << QStringLiteral("$");
    QTest::newRow("bare 0x") << QStringLiteral("0x");
    QTest::newRow("bare sign") << QStringLiteral("-");
    QTest::newRow("inner blank") << QStringLiteral(" 1 2 ");
    QTest::newRow("word") << QStringLiteral("abc");
    QTest::newRow("non-ascii digits") << QStringLiteral("١٢");
}

void TestKeyValue::malformedIntegerNamesTheValue() {
    QFETCH(QString, value);
    try {
        ReadKeyValueInt(QStringLiteral(";N=") + value, QStringLiteral("N"), 0);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(value));
    }
}

void TestKeyValue::readKeyValueBool_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("TRUE") << QStringLiteral("B=TRUE") << false << true;
    QTest::newRow("true with blanks") << QStringLiteral("B= true ") << false << true;
    QTest::newRow("False") << QStringLiteral("B=False") << true << false;
    QTest::newRow("minus one") << QStringLiteral("B=-1") << false << true;
    QTest::newRow("zero") << QStringLiteral("B=0") << true << false;
    QTest::newRow("fraction") << QStringLiteral("B=0.5") << false << true;
    QTest::newRow("zero fraction") << QStringLiteral("B=0.000") << true << false;
    QTest::newRow("exponent") << QStringLiteral("B=1e3") << false << true;
    QTest::newRow("missing default true") << QStringLiteral("x=0") << true << true;
    QTest::newRow("missing default false") << QStringLiteral("x=1") << false << false;
    QTest::newRow("empty value default true") << QStringLiteral("B=") << true << true;
}

void TestKeyValue::readKeyValueBool() {
    QFETCH(QString, text);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    QCOMPARE(ReadKeyValueBool(text, QStringLiteral("b"), defaultValue), expected);
}

void TestKeyValue::malformedBooleanNamesTheValue_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("yes") << QStringLiteral("yes");
    QTest::newRow("number and text") << QStringLiteral("1x");
    QTest::newRow("not a number") << QStringLiteral("nan");
    QTest::newRow("blank inside word") << QStringLiteral(" TR UE");
}

void TestKeyValue::malformedBooleanNamesTheValue() {
    QFETCH(QString, value);
    try {
        ReadKeyValueBool(QStringLiteral("B=") + value, QStringLiteral("B"), true);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid boolean value").arg(value));
    }
}

void TestKeyValue::sizeAndHeight_data() {
    QTest::addColumn<int>("pixelsPerInch");
    QTest::addColumn<bool>("bySize");
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("height");
    QTest::newRow("10 points at 96") << 96 << true << 10 << 10 << -13;
    QTest::newRow("9 points at 96") << 96 << true << 9 << 9 << -12;
    QTest::newRow("10 points at 120") << 120 << true << 10 << 10 << -17;
    QTest::newRow("10 points at 72") << 72 << true << 10 << 10 << -10;
    QTest::newRow("half rounds away from zero") << 108 << true << 1 << 1 << -2;
    QTest::newRow("negative size") << 96 << true << -10 << -10 << 13;
    QTest::newRow("huge size: height clamped")
        << 96 << true << 2000000000 << 2000000000 << -std::numeric_limits<int>::max();
    QTest::newRow("huge negative size: height clamped")
        << 96 << true << -2000000000 << -2000000000 << std::numeric_limits<int>::max();
    QTest::newRow("zero ppi as screen") << 0 << true << 10 << 10 << -13;
    QTest::newRow("height -13 at 96") << 96 << false << -13 << 10 << -13;
    QTest::newRow("height -16 at 96") << 96 << false << -16 << 12 << -16;
    QTest::newRow("height -11 at 96") << 96 << false << -11 << 8 << -11;
    QTest::newRow("height half rounds up") << 144 << false << -3 << 2 << -3;
    QTest::newRow("cell height kept") << 96 << false << 20 << 15 << 20;
    QTest::newRow("height with zero ppi") << 0 << false << -16 << 12 << -16;
    QTest::newRow("height with negative ppi") << -5 << false << -16 << 12 << -16;
}

void TestKeyValue::sizeAndHeight() {
    QFETCH(int, pixelsPerInch);
    QFETCH(bool, bySize);
    QFETCH(int, given);
    QFETCH(int, size);
    QFETCH(int, height);
    FontDescription font;
    font.pixelsPerInch = pixelsPerInch;
    if (bySize)
        font.setSize(given);
    else
        font.setHeight(given);
    QCOMPARE(font.size(), size);
    QCOMPARE(font.height(), height);
}

void TestKeyValue::fontToTextExample() {
    FontDescription font;
    font.name = QStringLiteral("Courier New");
    font.pixelsPerInch = 96;
    font.setSize(10);
    font.bold = true;
    QCOMPARE(FontToText(font),
             QStringLiteral(";Name=Courier New;Color=0;Size=10;Height=-13;Pitch=0;"
                            "PixelsPerInch=96;Bold=-1;Italic=0;Underline=0;Strikeout=0"));
}

void TestKeyValue::fontTextRoundTrips_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint32>("color");
    QTest::addColumn<int>("pixelsPerInch");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("styles"); // bits: bold, italic, underline, strike-out
    QTest::newRow("plain") << QStringLiteral("Courier New") << 0 << 96 << -13 << 0 << 0;
    QTest::newRow("all styles") << QStringLiteral("Arial") << 0x0000FF << 96 << -16 << 1 << 15;
    QTest::newRow("system colour")
        << QStringLiteral("Segoe UI") << qint32(-16777201) << 120 << -20 << 2 << 5;
    QTest::newRow("cell height") << QStringLiteral(" Padded Name ") << 0x123456 << 96 << 20 << 0
                                 << 10;
    QTest::newRow("accents") << QStringLiteral("Fonte Ñandú") << 1 << 144 << -30 << 2 << 8;
}

void TestKeyValue::fontTextRoundTrips() {
    QFETCH(QString, name);
    QFETCH(qint32, color);
    QFETCH(int, pixelsPerInch);
    QFETCH(int, height);
    QFETCH(int, pitch);
    QFETCH(int, styles);
    FontDescription written;
    written.name = name;
    written.color = color;
    written.pixelsPerInch = pixelsPerInch;
    written.setHeight(height);
    written.pitch = pitch;
    written.bold = styles & 1;
    written.italic = styles & 2;
    written.underline = styles & 4;
    written.strikeOut = styles & 8;

    // Start from the opposite of everything, so each property has to come from the text.
    FontDescription read;
    read.name = QStringLiteral("Other");
    read.color = 7;
    read.pitch = 1;
    read.pixelsPerInch = 300;
    read.bold = !written.bold;
    read.italic = !written.italic;
    read.underline = !written.underline;
    read.strikeOut = !written.strikeOut;
    const QString text = FontToText(written);
    QVERIFY(text.startsWith(u';'));
    TextToFont(text, read);
    QCOMPARE(describe(read), describe(written));
}

void TestKeyValue::faceNameSeparatorsAreWrittenAsBlanks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("readBack");
    // A bell-separated text can give such a name; written as it is, it would cut the name,
    // add keys of its own or switch the separator, and the text would not read back.
    QTest::newRow("semicolon") << QStringLiteral("Arial;Narrow") << QStringLiteral("Arial Narrow");
    QTest::newRow("keys inside the name")
        << QStringLiteral("X;Size=x;Bold=-1") << QStringLiteral("X Size=x Bold=-1");
    QTest::newRow("bell") << (QStringLiteral("A") + kBell + QStringLiteral("B"))
                          << QStringLiteral("A B");
}

void TestKeyValue::faceNameSeparatorsAreWrittenAsBlanks() {
    QFETCH(QString, name);
    QFETCH(QString, readBack);
    FontDescription written;
    written.name = name;
    written.setSize(12);
    FontDescription read;
    read.bold = true;
    TextToFont(FontToText(written), read);
    written.name = readBack;
    QCOMPARE(describe(read), describe(written));
}

void TestKeyValue::textToFontAppliesOnlyGivenKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // describe() of the result
    // The starting font: Courier New, colour 5, 10 points (-13) at 96, pitch 0, bold only.
    QTest::newRow("empty text") << QString() << QStringLiteral("Courier New|5|10|-13|0|96|1000");
    QTest::newRow("unknown keys") << QStringLiteral(";Foo=1;Bar")
                                  << QStringLiteral("Courier New|5|10|-13|0|96|1000");
    QTest::newRow("size alone recomputes height")
        << QStringLiteral(";Size=12") << QStringLiteral("Courier New|5|12|-16|0|96|1000");
    QTest::newRow("huge negative size")
        << QStringLiteral(";Size=-2000000000")
        << QStringLiteral("Courier New|5|-2000000000|2147483647|0|96|1000");
    QTest::newRow("height wins over size") << QStringLiteral(";Size=20;Height=-13")
                                           << QStringLiteral("Courier New|5|10|-13|0|96|1000");
    QTest::newRow("pixels per inch keeps the height")
        << QStringLiteral(";PixelsPerInch=120") << QStringLiteral("Courier New|5|8|-13|0|120|1000");
    QTest::newRow("style keys any case") << QStringLiteral("; bold =0;ITALIC=true;StrikeOut=-1")
                                         << QStringLiteral("Courier New|5|10|-13|0|96|0101");
    QTest::newRow("missing style unchanged")
        << QStringLiteral(";Underline=1") << QStringLiteral("Courier New|5|10|-13|0|96|1010");
    QTest::newRow("empty values keep current") << QStringLiteral(";Name=;Color=;Size=;Height= ")
                                               << QStringLiteral("Courier New|5|10|-13|0|96|1000");
    QTest::newRow("bell-separated text")
        << (QStringLiteral("Name=Arial;Narrow") + kBell + QStringLiteral("Size=12"))
        << QStringLiteral("Arial;Narrow|5|12|-16|0|96|1000");
}

void TestKeyValue::textToFontAppliesOnlyGivenKeys() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    FontDescription font;
    font.name = QStringLiteral("Courier New");
    font.color = 5;
    font.pixelsPerInch = 96;
    font.setSize(10);
    font.bold = true;
    TextToFont(text, font);
    QCOMPARE(describe(font), expected);
}

void TestKeyValue::textToFontKeepsWhatWasAppliedBeforeAnError() {
    FontDescription font;
    font.setSize(10);
    try {
        TextToFont(QStringLiteral(";Name=Arial;Color=12;Size=x1;Bold=-1"), font);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("'x1' is not a valid integer value"));
    }
    QCOMPARE(font.name, QStringLiteral("Arial"));
    QCOMPARE(font.color, 12);
    QCOMPARE(font.size(), 10);
    QCOMPARE(font.bold, false);
}

BREVNOTE_TEST_GUILESS_MAIN(TestKeyValue)
#include "tst_keyvalue.moc"
