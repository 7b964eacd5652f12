#include "support/hermetic.h"
#include "util/core/textroutines.h"
#include "util/core/variantroutines.h"

#include <QDate>
#include <QDateTime>
#include <QtTest>

#include <limits>

using namespace brevnote;

namespace {

// U+1F600, one character written as two UTF-16 code units.
const QString kEmoji = QString::fromUcs4(U"\U0001F600");

bool hasLoneSurrogate(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return true;
            ++i;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

} // namespace

class TestTextRoutines : public QObject {
    Q_OBJECT

private slots:
    void repeatedTexts_data();
    void repeatedTexts();
    void zeroPad_data();
    void zeroPad();
    void leftAndRightText_data();
    void leftAndRightText();
    void midText_data();
    void midText();
    void cutsNeverSplitASurrogatePair();
    void trimAndCase_data();
    void trimAndCase();
    void textBeforeAndAfter_data();
    void textBeforeAndAfter();
    void joinWithSeparator_data();
    void joinWithSeparator();
    void fileBaseNameUpper_data();
    void fileBaseNameUpper();
    void characterClasses_data();
    void characterClasses();
    void maxVariant_data();
    void maxVariant();
};

void TestTextRoutines::repeatedTexts_data() {
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const QString ab = QStringLiteral("ab");
    QTest::newRow("repeat three") << RepeatText(ab, 3) << QStringLiteral("ababab");
    QTest::newRow("repeat once") << RepeatText(ab, 1) << ab;
    QTest::newRow("repeat zero") << RepeatText(ab, 0) << QString();
    QTest::newRow("repeat negative") << RepeatText(ab, -4) << QString();
    QTest::newRow("repeat empty") << RepeatText(QString(), 5) << QString();
    QTest::newRow("line breaks two") << LineBreaks(2) << QStringLiteral("\r\n\r\n");
    QTest::newRow("line breaks zero") << LineBreaks(0) << QString();
    QTest::newRow("line breaks negative") << LineBreaks(-1) << QString();
    QTest::newRow("spaces three") << Spaces(3) << QStringLiteral("   ");
    QTest::newRow("spaces zero") << Spaces(0) << QString();
    QTest::newRow("spaces negative") << Spaces(-7) << QString();
}

void TestTextRoutines::repeatedTexts() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestTextRoutines::zeroPad_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded") << 2 << qint64(5) << QStringLiteral("05");
    QTest::newRow("exact width") << 4 << qint64(2019) << QStringLiteral("2019");
    QTest::newRow("longer than width") << 2 << qint64(123) << QStringLiteral("123");
    QTest::newRow("zeros before minus") << 4 << qint64(-5) << QStringLiteral("00-5");
    QTest::newRow("zero width") << 0 << qint64(0) << QStringLiteral("0");
    QTest::newRow("negative width") << -3 << qint64(7) << QStringLiteral("7");
    QTest::newRow("seven digits") << 7 << qint64(42) << QStringLiteral("0000042");
    QTest::newRow("64-bit max") << 1 << std::numeric_limits<qint64>::max()
                                << QStringLiteral("9223372036854775807");
    QTest::newRow("64-bit min") << 21 << std::numeric_limits<qint64>::min()
                                << QStringLiteral("0-9223372036854775808");
}

void TestTextRoutines::zeroPad() {
    QFETCH(int, width);
    QFETCH(qint64, value);
    QFETCH(QString, expected);
    QCOMPARE(ZeroPad(width, value), expected);
}

void TestTextRoutines::leftAndRightText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    const QString abc = QStringLiteral("abcdef");
    QTest::newRow("inside") << abc << 2 << QStringLiteral("ab") << QStringLiteral("ef");
    QTest::newRow("whole length") << abc << 6 << abc << abc;
    QTest::newRow("beyond length") << abc << 99 << abc << abc;
    QTest::newRow("zero") << abc << 0 << QString() << QString();
    QTest::newRow("negative") << abc << -2 << QString() << QString();
    QTest::newRow("empty text") << QString() << 3 << QString() << QString();
    // "a" + emoji + "b" is four code units; a cut through the emoji keeps it whole.
    const QString mixed = u'a' + kEmoji + u'b';
    QTest::newRow("cut through pair") << mixed << 2 << (u'a' + kEmoji) << (kEmoji + u'b');
    QTest::newRow("cut before pair") << mixed << 1 << QStringLiteral("a") << QStringLiteral("b");
    QTest::newRow("cut after pair") << mixed << 3 << (u'a' + kEmoji) << (kEmoji + u'b');
}

void TestTextRoutines::leftAndRightText() {
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QCOMPARE(LeftText(text, n), left);
    QCOMPARE(RightText(text, n), right);
}

void TestTextRoutines::midText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    const QString abc = QStringLiteral("abcdef");
    QTest::newRow("inside") << abc << 2 << 3 << QStringLiteral("bcd");
    QTest::newRow("count past end") << abc << 5 << 10 << QStringLiteral("ef");
    QTest::newRow("negative count means to end") << abc << 3 << -1 << QStringLiteral("cdef");
    QTest::newRow("zero count") << abc << 3 << 0 << QString();
    QTest::newRow("start zero as one") << abc << 0 << 3 << QStringLiteral("abc");
    QTest::newRow("start one") << abc << 1 << 3 << QStringLiteral("abc");
    QTest::newRow("negative start keeps count") << abc << -5 << 2 << QStringLiteral("ab");
    QTest::newRow("start at last") << abc << 6 << 1 << QStringLiteral("f");
    QTest::newRow("start beyond end") << abc << 7 << 3 << QString();
    QTest::newRow("huge count") << abc << 4 << std::numeric_limits<int>::max()
                                << QStringLiteral("def");
    const QString mixed = u'a' + kEmoji + u'b';
    QTest::newRow("ends inside pair") << mixed << 1 << 2 << (u'a' + kEmoji);
    QTest::newRow("starts inside pair") << mixed << 3 << 2 << (kEmoji + u'b');
    QTest::newRow("zero count inside a pair") << mixed << 3 << 0 << QString();
    QTest::newRow("first half only") << mixed << 2 << 1 << kEmoji;
}

void TestTextRoutines::midText() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(MidText(text, start, count), expected);
}

void TestTextRoutines::cutsNeverSplitASurrogatePair() {
    const QString text = kEmoji + u'x' + kEmoji + kEmoji + u'y' + kEmoji;
    const int length = int(text.size());
    for (int n = -1; n <= length + 1; ++n) {
        QVERIFY2(!hasLoneSurrogate(LeftText(text, n)), qPrintable(QString::number(n)));
        QVERIFY2(!hasLoneSurrogate(RightText(text, n)), qPrintable(QString::number(n)));
        for (int count = -1; count <= length + 1; ++count) {
            const QString mid = MidText(text, n, count);
            QVERIFY2(!hasLoneSurrogate(mid), qPrintable(QStringLiteral("%1,%2").arg(n).arg(count)));
            QVERIFY(text.contains(mid));
        }
    }
}

void TestTextRoutines::trimAndCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("trimmedLength");
    QTest::addColumn<QString>("upperTrim");
    QTest::addColumn<QString>("lowerTrim");
    QTest::newRow("empty") << QString() << 0 << QString() << QString();
    QTest::newRow("blanks only") << QStringLiteral(" \t\r\n\x01\x1F") << 0 << QString()
                                 << QString();
    QTest::newRow("control chars are blanks") << (QChar(7) + QStringLiteral("Ab") + QChar(0x1B))
                                              << 2 << QStringLiteral("AB") << QStringLiteral("ab");
    QTest::newRow("inner blanks stay") << QStringLiteral("  a B\tc  ") << 5
                                       << QStringLiteral("A B\tC") << QStringLiteral("a b\tc");
    QTest::newRow("accents untouched") << QStringLiteral(" ação Ñu ") << 7
                                       << QStringLiteral("AçãO ÑU") << QStringLiteral("ação Ñu");
    QTest::newRow("no-break space is not blank")
        << QStringLiteral("\u00A0x ") << 2 << QStringLiteral("\u00A0X")
        << QStringLiteral("\u00A0x");
    QTest::newRow("ascii boundaries")
        << QStringLiteral("@[`{") << 4 << QStringLiteral("@[`{") << QStringLiteral("@[`{");
}

void TestTextRoutines::trimAndCase() {
    QFETCH(QString, text);
    QFETCH(int, trimmedLength);
    QFETCH(QString, upperTrim);
    QFETCH(QString, lowerTrim);
    QCOMPARE(TrimmedLength(text), trimmedLength);
    QCOMPARE(UpperTrim(text), upperTrim);
    QCOMPARE(LowerTrim(text), lowerTrim);
    QCOMPARE(SameTextAscii(text, AsciiLower(text)), true);
}

void TestTextRoutines::textBeforeAndAfter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    const QString dflt = QStringLiteral("<default>");
    QTest::newRow("key value") << QStringLiteral("Name=Courier") << QStringLiteral("=")
                               << QStringLiteral("Name") << QStringLiteral("Courier");
    QTest::newRow("first occurrence") << QStringLiteral("a=b=c") << QStringLiteral("=")
                                      << QStringLiteral("a") << QStringLiteral("b=c");
    QTest::newRow("absent") << QStringLiteral("abc") << QStringLiteral("x") << QStringLiteral("abc")
                            << dflt;
    QTest::newRow("at start") << QStringLiteral("=x") << QStringLiteral("=") << QString()
                              << QStringLiteral("x");
    QTest::newRow("at end") << QStringLiteral("x=") << QStringLiteral("=") << QStringLiteral("x")
                            << QString();
    QTest::newRow("case blind") << QStringLiteral("fooBARbaz") << QStringLiteral("bar")
                                << QStringLiteral("foo") << QStringLiteral("baz");
    QTest::newRow("accents are not folded")
        << QStringLiteral("xÁy") << QStringLiteral("á") << QStringLiteral("xÁy") << dflt;
    QTest::newRow("empty separator never found")
        << QStringLiteral("abc") << QString() << QStringLiteral("abc") << dflt;
    QTest::newRow("empty text") << QString() << QStringLiteral("=") << QString() << dflt;
}

void TestTextRoutines::textBeforeAndAfter() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QCOMPARE(TextBefore(text, separator), before);
    QCOMPARE(TextAfter(text, separator, QStringLiteral("<default>")), after);
}

void TestTextRoutines::joinWithSeparator_data() {
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    const QString slash = QStringLiteral("/");
    QTest::newRow("folder and name") << QStringLiteral("/prog/") << QStringLiteral("tmp") << slash
                                     << QStringLiteral("/prog/tmp");
    QTest::newRow("extra separators and blanks")
        << QStringLiteral(" /prog// ") << QStringLiteral("//file.txt") << slash
        << QStringLiteral("/prog/file.txt");
    QTest::newRow("empty right keeps separator")
        << QStringLiteral("/prog/") << QString() << slash << QStringLiteral("/prog/");
    QTest::newRow("both empty") << QString() << QString() << slash << slash;
    QTest::newRow("left only separators")
        << QStringLiteral("///") << QStringLiteral("x") << slash << QStringLiteral("/x");
    QTest::newRow("inner blanks stay") << QStringLiteral("\t a b ") << QStringLiteral(" c d\r\n")
                                       << slash << QStringLiteral("a b/c d");
    QTest::newRow("blank separator not trimmed")
        << QStringLiteral("a") << QStringLiteral("b") << QStringLiteral(" - ")
        << QStringLiteral("a - b");
    QTest::newRow("multi-character separator") << QStringLiteral("a::::") << QStringLiteral("::b")
                                               << QStringLiteral("::") << QStringLiteral("a::b");
    QTest::newRow("separator compared exactly") << QStringLiteral("aX") << QStringLiteral("xb")
                                                << QStringLiteral("x") << QStringLiteral("aXxb");
    QTest::newRow("empty separator joins")
        << QStringLiteral("a ") << QStringLiteral(" b") << QString() << QStringLiteral("ab");
}

void TestTextRoutines::joinWithSeparator() {
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(JoinWithSeparator(left, right, separator), expected);
}

void TestTextRoutines::fileBaseNameUpper_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("keepFolder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program file") << QStringLiteral("/prog/notes.exe") << false
                                  << QStringLiteral("NOTES");
    QTest::newRow("cut at first dot")
        << QStringLiteral("/prog/my.notes.exe") << false << QStringLiteral("MY");
    QTest::newRow("relative web path")
        << QStringLiteral("a/b/page.html") << false << QStringLiteral("PAGE");
    QTest::newRow("no dot") << QStringLiteral("readme") << false << QStringLiteral("README");
    QTest::newRow("path ending in slash")
        << QStringLiteral("http://host/dir/") << false << QString();
    QTest::newRow("dot file") << QStringLiteral("/home/u/.config") << false << QString();
    QTest::newRow("colon is ordinary")
        << QStringLiteral("/x/c:notes.exe") << false << QStringLiteral("C:NOTES");
    QTest::newRow("accents unchanged")
        << QStringLiteral("ação.txt") << false << QStringLiteral("AçãO");
    QTest::newRow("keep folder") << QStringLiteral("/prog/notes.exe") << true
                                 << QStringLiteral("/PROG/NOTES");
    QTest::newRow("keep folder cuts at first dot")
        << QStringLiteral("/pro.g/notes.exe") << true << QStringLiteral("/PRO");
}

void TestTextRoutines::fileBaseNameUpper() {
    QFETCH(QString, name);
    QFETCH(bool, keepFolder);
    QFETCH(QString, expected);
    QCOMPARE(FileBaseNameUpper(name, keepFolder), expected);
}

void TestTextRoutines::characterClasses_data() {
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("letter");
    QTest::addColumn<bool>("digit");
    QTest::newRow("A") << QChar(u'A') << true << false;
    QTest::newRow("Z") << QChar(u'Z') << true << false;
    QTest::newRow("a") << QChar(u'a') << true << false;
    QTest::newRow("z") << QChar(u'z') << true << false;
    QTest::newRow("capital n tilde") << QChar(0x00D1) << true << false;
    QTest::newRow("small n tilde") << QChar(0x00F1) << true << false;
    QTest::newRow("a acute") << QChar(0x00E1) << false << false;
    QTest::newRow("E acute") << QChar(0x00C9) << false << false;
    QTest::newRow("c cedilla") << QChar(0x00E7) << false << false;
    QTest::newRow("C cedilla") << QChar(0x00C7) << false << false;
    QTest::newRow("0") << QChar(u'0') << false << true;
    QTest::newRow("9") << QChar(u'9') << false << true;
    QTest::newRow("arabic-indic digit") << QChar(0x0663) << false << false;
    QTest::newRow("before A") << QChar(u'@') << false << false;
    QTest::newRow("after Z") << QChar(u'[') << false << false;
    QTest::newRow("backquote") << QChar(u'`') << false << false;
    QTest::newRow("brace") << QChar(u'{') << false << false;
    QTest::newRow("slash") << QChar(u'/') << false << false;
    QTest::newRow("colon") << QChar(u':') << false << false;
    QTest::newRow("underscore") << QChar(u'_') << false << false;
    QTest::newRow("space") << QChar(u' ') << false << false;
}

void TestTextRoutines::characterClasses() {
    QFETCH(QChar, c);
    QFETCH(bool, letter);
    QFETCH(bool, digit);
    QCOMPARE(IsLetterChar(c), letter);
    QCOMPARE(IsDigitChar(c), digit);
    QCOMPARE(IsAlphaNumChar(c), letter || digit);
}

void TestTextRoutines::maxVariant_data() {
    QTest::addColumn<QVariant>("first");
    QTest::addColumn<QVariant>("second");
    QTest::addColumn<int>("winner"); // 1 or 2
    const QDateTime morning(QDate(2026, 12, 8), QTime(9, 0));
    const QDateTime evening(QDate(2026, 12, 8), QTime(21, 0));
    const QDate day(2026, 12, 8);
    // 30/12/1899 + 46364 days is 08/12/2026.
    const double dayNumber = 46364.0;
    QTest::newRow("int larger second") << QVariant(1) << QVariant(2) << 2;
    QTest::newRow("int larger first") << QVariant(5) << QVariant(2) << 1;
    QTest::newRow("equal ints keep first") << QVariant(3) << QVariant(3) << 1;
    QTest::newRow("equal int and double keep first") << QVariant(3) << QVariant(3.0) << 1;
    QTest::newRow("equal double and int keep first") << QVariant(3.0) << QVariant(3) << 1;
    QTest::newRow("double beats int") << QVariant(2) << QVariant(2.5) << 2;
    QTest::newRow("negative numbers") << QVariant(-7) << QVariant(-2.0) << 2;
    QTest::newRow("64-bit precision")
        << QVariant(qint64(9007199254740993)) << QVariant(qint64(9007199254740992)) << 1;
    QTest::newRow("date-times") << QVariant(morning) << QVariant(evening) << 2;
    QTest::newRow("date-times reversed") << QVariant(evening) << QVariant(morning) << 1;
    QTest::newRow("equal date-times keep first") << QVariant(morning) << QVariant(morning) << 1;
    QTest::newRow("date is midnight") << QVariant(day) << QVariant(morning) << 2;
    QTest::newRow("date equal to midnight keeps first")
        << QVariant(day) << QVariant(day.startOfDay()) << 1;
    QTest::newRow("later date beats date-time")
        << QVariant(day.addDays(1)) << QVariant(evening) << 1;
    QTest::newRow("date-time against day number")
        << QVariant(morning) << QVariant(dayNumber + 0.5) << 2;
    QTest::newRow("day number against date-time")
        << QVariant(dayNumber + 0.25) << QVariant(morning) << 2;
    QTest::newRow("equal day number and date keep first")
        << QVariant(dayNumber) << QVariant(day) << 1;
    QTest::newRow("empty loses to number") << QVariant() << QVariant(-3) << 2;
    QTest::newRow("number beats empty") << QVariant(-3) << QVariant() << 1;
    QTest::newRow("null date-time loses") << QVariant(QDateTime()) << QVariant(morning) << 2;
    QTest::newRow("signed against unsigned") << QVariant(-1) << QVariant(1u) << 2;
    QTest::newRow("unsigned against signed") << QVariant(1u) << QVariant(-1) << 1;
    QTest::newRow("negative 64-bit against unsigned 64-bit")
        << QVariant(qint64(-5)) << QVariant(quint64(3)) << 2;
    QTest::newRow("signed against huge unsigned")
        << QVariant(qint64(-1)) << QVariant(std::numeric_limits<quint64>::max()) << 2;
    QTest::newRow("double against the 64-bit integer it rounds from")
        << QVariant(9007199254740992.0) << QVariant(qint64(9007199254740993)) << 2;
    QTest::newRow("unsigned 64-bit beyond double precision")
        << QVariant(quint64(9007199254740993u)) << QVariant(quint64(9007199254740992u)) << 1;
    QTest::newRow("long is a number") << QVariant::fromValue(7L) << QVariant(5) << 1;
    QTest::newRow("short is a number") << QVariant::fromValue(short(9)) << QVariant(3) << 1;
    QTest::newRow("char is a number") << QVariant::fromValue(char(10)) << QVariant(9) << 1;
    QTest::newRow("signed char is a number")
        << QVariant::fromValue(static_cast<signed char>(-3)) << QVariant(-4) << 1;
    QTest::newRow("unsigned short beats negative double")
        << QVariant::fromValue(static_cast<unsigned short>(2)) << QVariant(-0.5) << 1;
    QTest::newRow("text loses to number") << QVariant(QStringLiteral("99")) << QVariant(1) << 2;
    QTest::newRow("two empties keep first") << QVariant() << QVariant(QStringLiteral("x")) << 1;
}

void TestTextRoutines::maxVariant() {
    QFETCH(QVariant, first);
    QFETCH(QVariant, second);
    QFETCH(int, winner);
    const QVariant expected = winner == 1 ? first : second;
    const QVariant result = MaxVariant(first, second);
    QCOMPARE(result.metaType(), expected.metaType());
    QCOMPARE(result, expected);
}

BREVNOTE_TEST_GUILESS_MAIN(TestTextRoutines)
#include "tst_textroutines.moc"
