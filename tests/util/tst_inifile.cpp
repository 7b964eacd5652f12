#include "support/childprocess.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "util/core/textcodec.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace brevnote;

namespace {

const QString kMissing = QStringLiteral("<missing>");

// One operation of a write table: "w|section|key|value", "n|section|key|integer",
// "b|section|key|0 or 1", "k|section|key" (erase key), "s|section" (erase section).
void apply(IniFile &ini, const QString &operation) {
    const QStringList f = operation.split(u'|');
    const QChar kind = f.at(0).at(0);
    if (kind == u'w')
        ini.writeString(f.at(1), f.at(2), f.at(3));
    else if (kind == u'n')
        ini.writeInteger(f.at(1), f.at(2), f.at(3).toInt());
    else if (kind == u'b')
        ini.writeBool(f.at(1), f.at(2), f.at(3) == u"1");
    else if (kind == u'k')
        ini.eraseKey(f.at(1), f.at(2));
    else if (kind == u's')
        ini.eraseSection(f.at(1));
    else
        QFAIL("unknown operation");
}

// Every value the first instance answers equals what a fresh reader of the file answers.
void compareWithFreshReader(const IniFile &ini) {
    const IniFile fresh(ini.fileName());
    QCOMPARE(ini.sections(), fresh.sections());
    for (const QString &section : fresh.sections()) {
        QCOMPARE(ini.keys(section), fresh.keys(section));
        for (const QString &key : fresh.keys(section))
            QCOMPARE(ini.readString(section, key, kMissing), fresh.readString(section, key));
    }
}

QString reminderName(int i) {
    return QStringLiteral("R%1").arg(i, 5, 10, QLatin1Char('0'));
}

QByteArray reminderFile(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = reminderName(i).toLatin1();
        text += "[" + name + "]\r\nAtivado=1\r\nEvento=" + name +
                "\r\nIniDate=11/12/2026\r\nIniTime=09:00:00\r\nRepetir=Diariamente\r\n"
                "Mensagem=Vence hoje<br>Pagar no banco\r\nSleep=0\r\n"
                "SleepTimer=10/12/2026 09:15:30\r\n";
    }
    return text;
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void readsValue_data();
    void readsValue();
    void readsNumbers_data();
    void readsNumbers();
    void listsSectionsAndKeys_data();
    void listsSectionsAndKeys();
    void existenceChecks();
    void writeChangesOnlyItsLines_data();
    void writeChangesOnlyItsLines();
    void valueReadsBackAsWritten_data();
    void valueReadsBackAsWritten();
    void invalidNamesAreRefused_data();
    void invalidNamesAreRefused();
    void missingFileReadsEmpty();
    void secondInstanceSeesEveryWrite();
    void readBatchLooksOnce();
    void keyLookupFollowsTheLineRule_data();
    void keyLookupFollowsTheLineRule();
    void sameSizeRewriteInPlaceIsSeen();
    void failedWriteRaisesAndKeepsOldFile_data();
    void failedWriteRaisesAndKeepsOldFile();
    void garbageIsReadAndKept_data();
    void garbageIsReadAndKept();
    void largeFileKeepsSectionIndexRight();
    void largeSectionKeepsKeyIndexRight();

private:
    QString filePath() const { return m_dir->filePath(QStringLiteral("test.ini")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::readsValue_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString s = QStringLiteral("s");
    const QString k = QStringLiteral("k");
    QTest::newRow("plain") << QByteArray("[s]\r\nk=v\r\n") << s << k << QStringLiteral("v");
    QTest::newRow("case-blind names")
        << QByteArray("[Alpha]\r\nMyKey=v\r\n") << QStringLiteral("aLPHA")
        << QStringLiteral("MYKEY") << QStringLiteral("v");
    QTest::newRow("names trimmed in file")
        << QByteArray("  [ \tAlpha  ]  \r\n  My Key \t= v\r\n") << QStringLiteral("Alpha")
        << QStringLiteral("My Key") << QStringLiteral("v");
    QTest::newRow("names trimmed in call")
        << QByteArray("[Alpha]\r\nk=v\r\n") << QStringLiteral(" Alpha\t") << QStringLiteral(" k ")
        << QStringLiteral("v");
    QTest::newRow("accented letters match exactly only")
        << QByteArray("[A\xC7\xC3O]\r\nk=v\r\n") << QStringLiteral("açãO") << k << kMissing;
    QTest::newRow("accented letters in keys match exactly only")
        << QByteArray("[s]\r\n\xC1rea=v\r\n") << s << QStringLiteral("áREA") << kMissing;
    QTest::newRow("value trimmed of control blanks")
        << QByteArray("[s]\r\nk=\t \x01 x y \x1f\r\n") << s << k << QStringLiteral("x y");
    QTest::newRow("double quotes removed")
        << QByteArray("[s]\r\nk= \" x \" \r\n") << s << k << QStringLiteral(" x ");
    QTest::newRow("single quotes removed")
        << QByteArray("[s]\r\nk='y'\r\n") << s << k << QStringLiteral("y");
    QTest::newRow("one pair of quotes only")
        << QByteArray("[s]\r\nk=\"\"z\"\"\r\n") << s << k << QStringLiteral("\"z\"");
    QTest::newRow("mixed quotes kept")
        << QByteArray("[s]\r\nk=\"a'\r\n") << s << k << QStringLiteral("\"a'");
    QTest::newRow("lone quote kept")
        << QByteArray("[s]\r\nk=\"\r\n") << s << k << QStringLiteral("\"");
    QTest::newRow("value after first equals")
        << QByteArray("[s]\r\nk=a=b\r\n") << s << k << QStringLiteral("a=b");
    QTest::newRow("empty value") << QByteArray("[s]\r\nk=\r\n") << s << k << QString();
    QTest::newRow("empty quoted value") << QByteArray("[s]\r\nk=\"\"\r\n") << s << k << QString();
    QTest::newRow("empty header is no section")
        << QByteArray("[]\r\nk=1\r\n") << QString() << k << kMissing;
    QTest::newRow("comment skipped")
        << QByteArray("[s]\r\n;k=1\r\n  ;k=2\r\nk=3\r\n") << s << k << QStringLiteral("3");
    QTest::newRow("line without equals is no key")
        << QByteArray("[s]\r\nk\r\n") << s << k << kMissing;
    QTest::newRow("first of equal keys")
        << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << s << k << QStringLiteral("1");
    QTest::newRow("first of equal sections") << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n")
                                             << s << QStringLiteral("j") << kMissing;
    QTest::newRow("key before any section belongs to none")
        << QByteArray("k=0\r\n[s]\r\n") << s << k << kMissing;
    QTest::newRow("key of the next section not found")
        << QByteArray("[s]\r\n[t]\r\nk=1\r\n") << s << k << kMissing;
    QTest::newRow("lone cr breaks lines")
        << QByteArray("[s]\rk=1\rj=2") << s << QStringLiteral("j") << QStringLiteral("2");
    QTest::newRow("lone lf breaks lines")
        << QByteArray("[s]\nk=1\nj=2\n") << s << QStringLiteral("j") << QStringLiteral("2");
    QTest::newRow("utf8 with bom")
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xC3\xA1\r\n") << s << k << QStringLiteral("á");
    QTest::newRow("cp1252") << QByteArray("[s]\r\nk=\xE1\x80\r\n") << s << k
                            << QStringLiteral("á€");
    QTest::newRow("bom before cp1252 bytes")
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xE1\r\n") << s << k << QStringLiteral("á");
    QTest::newRow("text after the closing bracket")
        << QByteArray("[s] ; note\r\nk=1\r\n") << s << k << QStringLiteral("1");
    QTest::newRow("bracket inside a section name")
        << QByteArray("[a]b]\r\nk=1\r\n") << QStringLiteral("a]b") << k << QStringLiteral("1");
    QTest::newRow("bracket without close is no section")
        << QByteArray("[s]\r\n[broken\r\nk=1\r\n") << s << k << QStringLiteral("1");
    QTest::newRow("nul bytes") << QByteArray("[s]\r\nk=a") + QByteArray(1, '\0') + "b\r\nj=2\r\n"
                               << s << QStringLiteral("j") << QStringLiteral("2");
    QTest::newRow("missing section")
        << QByteArray("[s]\r\nk=1\r\n") << QStringLiteral("t") << k << kMissing;
    QTest::newRow("key asked with equals")
        << QByteArray("[s]\r\na=b=c\r\n") << s << QStringLiteral("a=b") << kMissing;
    QTest::newRow("key asked is a prefix") << QByteArray("[s]\r\nkey=1\r\n") << s << k << kMissing;
    QTest::newRow("key asked is longer")
        << QByteArray("[s]\r\nk=1\r\n") << s << QStringLiteral("k=") << kMissing;
    QTest::newRow("key asked is a word of the key")
        << QByteArray("[s]\r\nk x=1\r\n") << s << k << kMissing;
    QTest::newRow("empty key asked") << QByteArray("[s]\r\n=1\r\n") << s << QString() << kMissing;
}

void TestIniFile::readsValue() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QVERIFY(test::writeBytes(filePath(), file));
    const IniFile ini(filePath());
    QCOMPARE(ini.readString(section, key, kMissing), expected);
    QCOMPARE(ini.valueExists(section, key), expected != kMissing);
}

void TestIniFile::readsNumbers_data() {
    QTest::addColumn<QString>("stored"); // null: no key at all
    QTest::addColumn<int>("integer");    // 7 is the default
    QTest::addColumn<int>("boolean");    // 0 false, 1 true, 2 the default

    QTest::newRow("decimal") << QStringLiteral("12") << 12 << 1;
    QTest::newRow("plus sign") << QStringLiteral("+3") << 3 << 1;
    QTest::newRow("minus sign") << QStringLiteral("-4") << -4 << 1;
    QTest::newRow("zero") << QStringLiteral("0") << 0 << 0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7 << 1;
    QTest::newRow("blanks around") << QStringLiteral("  5\t") << 5 << 1;
    QTest::newRow("quoted") << QStringLiteral("\"6\"") << 6 << 1;
    QTest::newRow("int limits") << QStringLiteral("-2147483648") << int(-2147483648LL) << 1;
    QTest::newRow("beyond int") << QStringLiteral("2147483648") << 7 << 1;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 7 << 2;
    QTest::newRow("trailing text") << QStringLiteral("12abc") << 7 << 2;
    QTest::newRow("sign only") << QStringLiteral("-") << 7 << 2;
    QTest::newRow("inner blank") << QStringLiteral("1 2") << 7 << 2;
    QTest::newRow("words") << QStringLiteral("true") << 7 << 2;
    QTest::newRow("empty") << QString(u""_qs) << 7 << 2;
    QTest::newRow("missing") << QString() << 7 << 2;
}

void TestIniFile::readsNumbers() {
    QFETCH(QString, stored);
    QFETCH(int, integer);
    QFETCH(int, boolean);
    QByteArray file("[s]\r\n");
    if (!stored.isNull())
        file += "k=" + stored.toLatin1() + "\r\n";
    QVERIFY(test::writeBytes(filePath(), file));
    const IniFile ini(filePath());
    QCOMPARE(ini.readInteger(QStringLiteral("s"), QStringLiteral("k"), 7), integer);
    QCOMPARE(ini.readBool(QStringLiteral("s"), QStringLiteral("k"), false),
             boolean == 2 ? false : boolean == 1);
    QCOMPARE(ini.readBool(QStringLiteral("s"), QStringLiteral("k"), true),
             boolean == 2 ? true : boolean == 1);
}

void TestIniFile::listsSectionsAndKeys_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("file order, equal names once")
        << QByteArray("[b]\r\nx=1\r\n[A]\r\n[B]\r\ny=2\r\n[c]\r\n")
        << QStringList{u"b"_qs, u"A"_qs, u"c"_qs} << u"B"_qs << QStringList{u"x"_qs};
    QTest::newRow("names trimmed") << QByteArray("  [ x y ]  \r\n k 1 = v\r\n")
                                   << QStringList{u"x y"_qs} << u"X Y"_qs << QStringList{u"k 1"_qs};
    QTest::newRow("no sections") << QByteArray("k=1\r\n; c\r\n") << QStringList() << u"k"_qs
                                 << QStringList();
    QTest::newRow("keys in file order, equal keys once, no comments")
        << QByteArray("[s]\r\nb=1\r\n;c=2\r\nnoequals\r\nA=3\r\n=4\r\nB=5\r\n[t]\r\nz=6\r\n")
        << QStringList{u"s"_qs, u"t"_qs} << u"S"_qs << QStringList{u"b"_qs, u"A"_qs};
    QTest::newRow("empty file") << QByteArray() << QStringList() << u"s"_qs << QStringList();
    QTest::newRow("empty header not listed, its keys in no section")
        << QByteArray("[a]\r\nx=1\r\n[]\r\nk=1\r\n[ \t]\r\nj=2\r\n[b]\r\n")
        << QStringList{u"a"_qs, u"b"_qs} << u"a"_qs << QStringList{u"x"_qs};
}

void TestIniFile::listsSectionsAndKeys() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, sections);
    QFETCH(QString, section);
    QFETCH(QStringList, keys);
    QVERIFY(test::writeBytes(filePath(), file));
    const IniFile ini(filePath());
    QCOMPARE(ini.sections(), sections);
    QCOMPARE(ini.keys(section), keys);
}

void TestIniFile::existenceChecks() {
    QVERIFY(test::writeBytes(filePath(), "[empty]\r\n[s]\r\nblank=\r\n"));
    const IniFile ini(filePath());
    QVERIFY(ini.sectionExists(u"EMPTY"_qs));
    QVERIFY(!ini.sectionExists(u"other"_qs));
    QVERIFY(ini.valueExists(u"s"_qs, u"Blank"_qs));
    QVERIFY(!ini.valueExists(u"empty"_qs, u"blank"_qs));
    QCOMPARE(ini.readString(u"s"_qs, u"blank"_qs, kMissing), QString());
}

void TestIniFile::writeChangesOnlyItsLines_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replace in place, key as it stands")
        << QByteArray("[s]\r\nAlpha=1\r\nBeta=2\r\n") << QStringList{u"w|S|ALPHA|9"_qs}
        << QByteArray("[s]\r\nAlpha=9\r\nBeta=2\r\n");
    QTest::newRow("replace keeps the text before the equals sign")
        << QByteArray("[s]\r\n  My Key\t= 1\r\n") << QStringList{u"w|s|my key|2"_qs}
        << QByteArray("[s]\r\n  My Key\t=2\r\n");
    QTest::newRow("preamble and other sections kept")
        << QByteArray("; top\r\nloose=1\r\n[a]\r\nk=1\r\n\r\n[b]\r\nk=2\r\n")
        << QStringList{u"w|b|k|3"_qs}
        << QByteArray("; top\r\nloose=1\r\n[a]\r\nk=1\r\n\r\n[b]\r\nk=3\r\n");
    QTest::newRow("new key after the last key line")
        << QByteArray("[a]\r\nk=1\r\njunk\r\n; about b\r\n\r\n[b]\r\nk=2\r\n")
        << QStringList{u"w|a|j|5"_qs}
        << QByteArray("[a]\r\nk=1\r\nj=5\r\njunk\r\n; about b\r\n\r\n[b]\r\nk=2\r\n");
    QTest::newRow("new key in a section without keys")
        << QByteArray("[a]\r\n\r\n[b]\r\n") << QStringList{u"w|A|j|5"_qs}
        << QByteArray("[a]\r\nj=5\r\n\r\n[b]\r\n");
    QTest::newRow("new section at the end")
        << QByteArray("[a]\r\nk=1\r\n") << QStringList{u"w|New|k|v"_qs}
        << QByteArray("[a]\r\nk=1\r\n[New]\r\nk=v\r\n");
    QTest::newRow("new section after loose lines")
        << QByteArray("loose=1\r\n") << QStringList{u"w|s|loose|2"_qs}
        << QByteArray("loose=1\r\n[s]\r\nloose=2\r\n");
    QTest::newRow("keys in the order written")
        << QByteArray() << QStringList{u"w|s|k|v"_qs, u"w|s|j|w"_qs, u"w|S|K|x"_qs}
        << QByteArray("[s]\r\nk=x\r\nj=w\r\n");
    QTest::newRow("first of equal sections written")
        << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\n") << QStringList{u"w|s|k|3"_qs, u"w|s|n|4"_qs}
        << QByteArray("[s]\r\nk=3\r\nn=4\r\n[S]\r\nk=2\r\n");
    QTest::newRow("first of equal keys written")
        << QByteArray("[s]\r\nk=1\r\nK=2\r\n") << QStringList{u"w|s|k|3"_qs}
        << QByteArray("[s]\r\nk=3\r\nK=2\r\n");
    QTest::newRow("lf and lone cr written as crlf")
        << QByteArray("[s]\nk=1\rj=2\n") << QStringList{u"w|s|k|3"_qs}
        << QByteArray("[s]\r\nk=3\r\nj=2\r\n");
    QTest::newRow("erase key removes its line only")
        << QByteArray("[s]\r\nk=1\r\n; c\r\nj=2\r\n") << QStringList{u"k|S|K"_qs}
        << QByteArray("[s]\r\n; c\r\nj=2\r\n");
    QTest::newRow("erase first of equal keys")
        << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << QStringList{u"k|s|k"_qs}
        << QByteArray("[s]\r\nk=2\r\n");
    QTest::newRow("erase section up to the next header")
        << QByteArray("top\r\n[a]\r\nk=1\r\n; c\r\n\r\n[b]\r\nk=2\r\n") << QStringList{u"s|A"_qs}
        << QByteArray("top\r\n[b]\r\nk=2\r\n");
    QTest::newRow("erase the last section")
        << QByteArray("[a]\r\nk=1\r\n[b]\r\nk=2\r\n\r\n") << QStringList{u"s|b"_qs}
        << QByteArray("[a]\r\nk=1\r\n");
    QTest::newRow("erase first of equal sections")
        << QByteArray("[a]\r\nk=1\r\n[A]\r\nk=2\r\n") << QStringList{u"s|a"_qs}
        << QByteArray("[A]\r\nk=2\r\n");
    QTest::newRow("erased section written again goes last")
        << QByteArray("[a]\r\nk=1\r\n[b]\r\nk=2\r\n") << QStringList{u"s|a"_qs, u"w|a|k|3"_qs}
        << QByteArray("[b]\r\nk=2\r\n[a]\r\nk=3\r\n");
    QTest::newRow("erasing what is missing writes nothing")
        << QByteArray("[s]\nk=1\n") << QStringList{u"k|s|x"_qs, u"k|t|k"_qs, u"s|t"_qs}
        << QByteArray("[s]\nk=1\n");
    QTest::newRow("integers and booleans")
        << QByteArray() << QStringList{u"n|s|i|-42"_qs, u"b|s|t|1"_qs, u"b|s|f|0"_qs}
        << QByteArray("[s]\r\ni=-42\r\nt=1\r\nf=0\r\n");
    QTest::newRow("cp1252 value stays cp1252")
        << QByteArray() << QStringList{u"w|s|k|Olá €"_qs} << QByteArray("[s]\r\nk=Ol\xE1 \x80\r\n");
    QTest::newRow("value beyond cp1252 makes the file utf8 with bom")
        << QByteArray("[s]\r\nk=\xE1\r\n") << QStringList{u"w|s|j|日本"_qs}
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xC3\xA1\r\nj=\xE6\x97\xA5\xE6\x9C\xAC\r\n");
    QTest::newRow("line breaks in a value become spaces")
        << QByteArray() << QStringList{u"w|s|k|a\r\nb\rc\nd"_qs}
        << QByteArray("[s]\r\nk=a b c d\r\n");
    QTest::newRow("a value cannot add a section")
        << QByteArray("[s]\r\n") << QStringList{u"w|s|k|x\r\n[t]\r\ny=1"_qs}
        << QByteArray("[s]\r\nk=x [t] y=1\r\n");
    QTest::newRow("blanks at the ends are quoted")
        << QByteArray() << QStringList{u"w|s|k| a\t"_qs} << QByteArray("[s]\r\nk=\" a\t\"\r\n");
    QTest::newRow("a quoted value gets another pair")
        << QByteArray() << QStringList{u"w|s|k|'a'"_qs} << QByteArray("[s]\r\nk=\"'a'\"\r\n");
    QTest::newRow("names trimmed")
        << QByteArray() << QStringList{u"w|  s  | k |v"_qs} << QByteArray("[s]\r\nk=v\r\n");
    // Erasing the only line that is not UTF-8 must not make the others read as UTF-8.
    QTest::newRow("untouched cp1252 lines keep their text")
        << QByteArray("[s]\r\nk=\xC3\xA9\r\nj=\xFF\r\n") << QStringList{u"k|s|j"_qs}
        << QByteArray("\xEF\xBB\xBF[s]\r\nk=\xC3\x83\xC2\xA9\r\n");
    // The first line starts with "ï»¿": written in Windows-1252 it would read as a mark.
    QTest::newRow("first line that looks like a byte-order mark")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[0]\r\nk=\xE1\r\n") << QStringList{u"w|s|k|v"_qs}
        << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF[0]\r\nk=\xC3\xA1\r\n[s]\r\nk=v\r\n");
    QTest::newRow("utf8 first line that looks like a byte-order mark")
        << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF[0]\r\n") << QStringList{u"w|s|k|v"_qs}
        << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBF[0]\r\n[s]\r\nk=v\r\n");
    QTest::newRow("binary line kept")
        << QByteArray("[s]\r\n\x01\x02 junk\r\nk=1\r\n") << QStringList{u"w|s|k|2"_qs}
        << QByteArray("[s]\r\n\x01\x02 junk\r\nk=2\r\n");
    QTest::newRow("keys of an empty header kept")
        << QByteArray("[]\r\nk=1\r\n[ ]\r\nj=2\r\n") << QStringList{u"w|s|k|3"_qs}
        << QByteArray("[]\r\nk=1\r\n[ ]\r\nj=2\r\n[s]\r\nk=3\r\n");
}

void TestIniFile::writeChangesOnlyItsLines() {
    QFETCH(QByteArray, before);
    QFETCH(QStringList, operations);
    QFETCH(QByteArray, after);
    QVERIFY(test::writeBytes(filePath(), before));
    IniFile ini(filePath());
    for (const QString &operation : operations)
        apply(ini, operation);
    QCOMPARE(test::readBytes(filePath()), after);
    compareWithFreshReader(ini);
}

void TestIniFile::valueReadsBackAsWritten_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("readBack");

    const QStringList same{u""_qs,           u"plain"_qs,    u" lead"_qs,    u"trail "_qs,
                           u"\"quoted\""_qs, u"'single'"_qs, u"\""_qs,       u"\"\""_qs,
                           u"a=b"_qs,        u"; x"_qs,      u"[x]"_qs,      u"Olá mãe"_qs,
                           u"日本"_qs,       u"tab\tin"_qs,  u"\x01\x02"_qs, u"  "_qs};
    for (const QString &value : same)
        QTest::newRow(qPrintable(u'<' + value + u'>')) << value << value;
    QTest::newRow("crlf") << u"a\r\nb"_qs << u"a b"_qs;
    QTest::newRow("break at the end") << u"a\n"_qs << u"a "_qs;
}

void TestIniFile::valueReadsBackAsWritten() {
    QFETCH(QString, value);
    QFETCH(QString, readBack);
    IniFile ini(filePath());
    ini.writeString(u"s"_qs, u"k"_qs, value);
    ini.writeString(u"s"_qs, u"after"_qs, u"x"_qs);
    const IniFile fresh(filePath());
    QCOMPARE(fresh.readString(u"s"_qs, u"k"_qs, kMissing), readBack);
    QCOMPARE(ini.readString(u"s"_qs, u"k"_qs, kMissing), readBack);
    QCOMPARE(fresh.sections(), QStringList{u"s"_qs});
    QCOMPARE(fresh.keys(u"s"_qs), (QStringList{u"k"_qs, u"after"_qs}));
}

void TestIniFile::invalidNamesAreRefused_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::newRow("empty section") << u" "_qs << u"k"_qs;
    QTest::newRow("line break in section") << u"a\nb"_qs << u"k"_qs;
    QTest::newRow("empty key") << u"s"_qs << u"\t"_qs;
    QTest::newRow("equals in key") << u"s"_qs << u"a=b"_qs;
    QTest::newRow("comment key") << u"s"_qs << u";k"_qs;
    QTest::newRow("bracket key") << u"s"_qs << u"[k]"_qs;
    QTest::newRow("line break in key") << u"s"_qs << u"a\r\n[t]"_qs;
}

void TestIniFile::invalidNamesAreRefused() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QVERIFY(test::writeBytes(filePath(), "[s]\nk=1\n"));
    IniFile ini(filePath());
    QVERIFY_THROWS_EXCEPTION(AppError, ini.writeString(section, key, u"v"_qs));
    QCOMPARE(test::readBytes(filePath()), QByteArray("[s]\nk=1\n"));
    QCOMPARE(ini.readString(u"s"_qs, u"k"_qs), u"1"_qs);
}

void TestIniFile::missingFileReadsEmpty() {
    const QString inMissingFolder = m_dir->filePath(u"no/such/folder/x.ini"_qs);
    IniFile nowhere(inMissingFolder);
    QCOMPARE(nowhere.sections(), QStringList());
    QCOMPARE(nowhere.readString(u"s"_qs, u"k"_qs, u"d"_qs), u"d"_qs);
    nowhere.eraseSection(u"s"_qs);
    QVERIFY_THROWS_EXCEPTION(AppError, nowhere.writeString(u"s"_qs, u"k"_qs, u"v"_qs));

    IniFile ini(filePath());
    QCOMPARE(ini.readInteger(u"s"_qs, u"k"_qs, 3), 3);
    ini.eraseKey(u"s"_qs, u"k"_qs);
    ini.eraseSection(u"s"_qs);
    QVERIFY(!QFile::exists(filePath())); // reads and erasures create nothing
    ini.writeInteger(u"s"_qs, u"k"_qs, 4);
    QCOMPARE(test::readBytes(filePath()), QByteArray("[s]\r\nk=4\r\n"));
}

void TestIniFile::secondInstanceSeesEveryWrite() {
    IniFile a(filePath());
    IniFile b(filePath());
    // Writes of equal size in quick succession: only the content tells them apart.
    for (int i = 0; i < 50; ++i) {
        a.writeInteger(u"s"_qs, u"k"_qs, i % 10);
        QCOMPARE(b.readInteger(u"s"_qs, u"k"_qs, -1), i % 10);
        b.writeInteger(u"S"_qs, u"K"_qs, (i + 5) % 10);
        QCOMPARE(a.readInteger(u"s"_qs, u"k"_qs, -1), (i + 5) % 10);
    }
    b.writeString(u"t"_qs, u"k"_qs, u"v"_qs);
    QCOMPARE(a.sections(), (QStringList{u"s"_qs, u"t"_qs}));
    b.eraseSection(u"s"_qs);
    QCOMPARE(a.sections(), QStringList{u"t"_qs});
    a.writeString(u"t"_qs, u"j"_qs, u"w"_qs); // must not bring the erased section back
    QCOMPARE(b.sections(), QStringList{u"t"_qs});
    QCOMPARE(test::readBytes(filePath()), QByteArray("[t]\r\nk=v\r\nj=w\r\n"));
}

void TestIniFile::readBatchLooksOnce() {
    IniFile other(filePath());
    const IniFile reader(filePath());
    other.writeInteger(u"s"_qs, u"k"_qs, 1);
    IniFile &writer = const_cast<IniFile &>(reader);
    {
        const IniFile::ReadBatch batch(reader);
        QCOMPARE(reader.readInteger(u"s"_qs, u"k"_qs, -1), 1);
        other.writeInteger(u"s"_qs, u"k"_qs, 2);
        { const IniFile::ReadBatch inner(reader); }
        QCOMPARE(reader.readInteger(u"s"_qs, u"k"_qs, -1), 1); // the batch's state
        // A write starts from the file as it is, so the other's value is kept and seen.
        writer.writeInteger(u"s"_qs, u"j"_qs, 5);
        QCOMPARE(reader.readInteger(u"s"_qs, u"k"_qs, -1), 2);
        other.writeInteger(u"s"_qs, u"k"_qs, 3);
    }
    QCOMPARE(reader.readInteger(u"s"_qs, u"k"_qs, -1), 3);
    QCOMPARE(test::readBytes(filePath()), QByteArray("[s]\r\nk=3\r\nj=5\r\n"));
}

void TestIniFile::keyLookupFollowsTheLineRule_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<quint32>("seed");
    // Short sections are scanned line by line, long ones through their key index.
    for (const quint32 seed : {1u, 2u, 3u}) {
        QTest::addRow("scanned, seed %u", seed) << 20 << seed;
        QTest::addRow("indexed, seed %u", seed) << 60 << seed;
    }
}

// Random key lines and random keys asked: the value read is that of the first line whose key,
// by the file's rule, is the key asked: the text before its first "=", trimmed, compared
// ASCII case-blind, comment lines excluded.
void TestIniFile::keyLookupFollowsTheLineRule() {
    QFETCH(int, lines);
    QFETCH(quint32, seed);
    static const QStringList pieces{u"k"_qs, u"K"_qs, u"ey"_qs, u" "_qs, u"\t"_qs, u";"_qs,
                                    u"="_qs, u"x"_qs, u"é"_qs,  u"É"_qs, u"["_qs,  u"1"_qs};
    QRandomGenerator random(seed);
    const auto randomText = [&random](int most) {
        QString text;
        for (int n = int(random.bounded(most + 1)); n > 0; --n)
            text += pieces.at(random.bounded(int(pieces.size())));
        return text;
    };
    QStringList body;
    for (int i = 0; i < lines; ++i)
        body.append(randomText(5) + u'=' + u"v%1"_qs.arg(i));
    QVERIFY(test::writeBytes(filePath(), (u"[s]\r\n"_qs + body.join(u"\r\n"_qs)).toUtf8()));
    const IniFile ini(filePath());
    const auto upper = [](QString text) {
        for (QChar &c : text)
            c = c >= u'a' && c <= u'z' ? QChar(c.unicode() - 32) : c;
        return text;
    };
    for (int ask = 0; ask < 300; ++ask) {
        const QString asked = randomText(4);
        const QString wanted = upper(asked.trimmed());
        QString expected = kMissing;
        for (const QString &line : body) {
            const QString text = line.trimmed();
            if (text.startsWith(u';') || wanted.isEmpty())
                continue;
            if (upper(text.left(text.indexOf(u'=')).trimmed()) == wanted) {
                expected = text.mid(text.indexOf(u'=') + 1).trimmed();
                break;
            }
        }
        QVERIFY2(ini.readString(u"s"_qs, asked, kMissing) == expected,
                 qPrintable(u"asked \"%1\" in:\n"_qs.arg(asked) + body.join(u'\n')));
    }
}

void TestIniFile::sameSizeRewriteInPlaceIsSeen() {
    // Another program rewrites the file in place within one step of the file clock: size,
    // time and inode stay equal; only the content differs.
    const QDateTime stampTime = QDateTime::currentDateTime().addSecs(60);
    const auto rewrite = [&](const QByteArray &bytes) {
        QFile file(filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QCOMPARE(file.write(bytes), bytes.size());
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(stampTime, QFileDevice::FileModificationTime));
    };
    rewrite("[s]\r\nk=1\r\n");
    const IniFile ini(filePath());
    QCOMPARE(ini.readString(u"s"_qs, u"k"_qs), u"1"_qs);
    const platform::FileStamp before = platform::fileStamp(filePath());
    rewrite("[s]\r\nk=2\r\n");
    QCOMPARE(platform::fileStamp(filePath()), before);
    QCOMPARE(ini.readString(u"s"_qs, u"k"_qs), u"2"_qs);
}

void TestIniFile::failedWriteRaisesAndKeepsOldFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("below a regular file") << u"below file"_qs;
    QTest::newRow("a folder in its place") << u"folder"_qs;
    QTest::newRow("read-only file") << u"read-only"_qs;
}

void TestIniFile::failedWriteRaisesAndKeepsOldFile() {
    QFETCH(QString, kind);
    QString path = filePath();
    QByteArray old("[s]\nk=old\n");
    if (kind == u"below file") {
        QVERIFY(test::writeBytes(filePath(), old));
        path = filePath() + u"/sub/x.ini"_qs;
        old.clear();
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
        old.clear();
    } else {
        QVERIFY(test::writeBytes(path, old));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser));
    }
    const auto write = [&] {
        IniFile ini(path);
        const QString before = ini.readString(u"s"_qs, u"k"_qs, kMissing);
        try {
            ini.writeString(u"s"_qs, u"k"_qs, u"new"_qs);
            QFAIL("the write did not raise");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), u"Cannot create file "_qs + path);
        }
        QCOMPARE(ini.readString(u"s"_qs, u"k"_qs, kMissing), before); // the failed value is gone
    };
    // Root writes past permission bits; for a read-only file a child gives that up first.
    if (kind == u"read-only") {
        const auto writeAsUser = [&] {
            QVERIFY(test::dropPermissionOverride());
            write();
        };
        QVERIFY(test::runInChildProcess(writeAsUser));
    } else {
        write();
    }
    QCOMPARE(test::readBytes(path), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{u"test.ini"_qs}); // no temporary file left behind
}

void TestIniFile::garbageIsReadAndKept_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    QRandomGenerator random(20261208);
    QByteArray noise(64 * 1024, Qt::Uninitialized);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    QTest::newRow("binary noise") << noise << noise;
    QTest::newRow("nul bytes") << QByteArray(4096, '\0') << QByteArray("\0\0\0=\0", 5);
    QTest::newRow("very long line") << QByteArray(1 << 20, 'x') << QByteArray(300000, '=');
    QTest::newRow("brackets and equals")
        << QByteArray("[\r\n]\r\n[=\r\n==\r\n[[]]\r\n;[x]") << QByteArray("[ ]\r\n\r\r\r\n\n");
    QTest::newRow("utf8 text") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC")
                               << QByteArray("\xE6\x97\xA5");
}

void TestIniFile::garbageIsReadAndKept() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QByteArray file = before + "\r\n[known]\r\nk=found\r\n" + after;
    QVERIFY(test::writeBytes(filePath(), file));
    IniFile ini(filePath());
    QCOMPARE(ini.readString(u"known"_qs, u"k"_qs), u"found"_qs);
    QVERIFY(ini.sections().contains(u"known"_qs));

    ini.writeString(u"zz new"_qs, u"k"_qs, u"v"_qs);
    const QStringList oldLines = splitLines(decodeText(file));
    const QStringList newLines = splitLines(decodeText(test::readBytes(filePath())));
    QCOMPARE(newLines, (oldLines + QStringList{u"[zz new]"_qs, u"k=v"_qs}));
    QCOMPARE(IniFile(filePath()).readString(u"known"_qs, u"k"_qs), u"found"_qs);
}

void TestIniFile::largeFileKeepsSectionIndexRight() {
    QVERIFY(test::writeBytes(filePath(), reminderFile(10000) + "[R00010]\r\nEvento=second\r\n"));
    IniFile ini(filePath());
    QCOMPARE(ini.sections().size(), 10000);
    QCOMPARE(ini.readString(u"r09999"_qs, u"evento"_qs), u"R09999"_qs);
    QCOMPARE(ini.readString(u"R00010"_qs, u"Evento"_qs), u"R00010"_qs);

    ini.eraseSection(u"R05000"_qs);
    QVERIFY(!ini.sectionExists(u"R05000"_qs));
    QCOMPARE(ini.readString(u"R05001"_qs, u"Evento"_qs), u"R05001"_qs);
    QCOMPARE(ini.readString(u"R09999"_qs, u"IniTime"_qs), u"09:00:00"_qs);
    ini.eraseSection(u"R00010"_qs); // the later section of that name takes its place
    QCOMPARE(ini.readString(u"R00010"_qs, u"Evento"_qs), u"second"_qs);
    ini.writeString(u"R00000"_qs, u"Sleep"_qs, u"1"_qs);
    ini.writeString(u"NOVO"_qs, u"Ativado"_qs, u"1"_qs);
    QCOMPARE(ini.sections().size(), 10000);
    QCOMPARE(ini.sections().constLast(), u"NOVO"_qs);
    QCOMPARE(ini.sections().at(10), u"R00011"_qs);
    compareWithFreshReader(ini);
}

void TestIniFile::largeSectionKeepsKeyIndexRight() {
    QByteArray file("[big]\r\n");
    for (int i = 0; i < 100; ++i)
        file += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\r\n";
    file += "K5=second\r\n\r\n[next]\r\nk5=other\r\n";
    QVERIFY(test::writeBytes(filePath(), file));
    IniFile ini(filePath());
    QCOMPARE(ini.readString(u"big"_qs, u"k5"_qs), u"5"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"K99"_qs), u"99"_qs);
    QCOMPARE(ini.keys(u"big"_qs).size(), 100);

    ini.writeString(u"big"_qs, u"new"_qs, u"n"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"new"_qs), u"n"_qs);
    ini.eraseKey(u"big"_qs, u"k5"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"k5"_qs), u"second"_qs);
    ini.eraseKey(u"big"_qs, u"k0"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"k99"_qs), u"99"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"k1"_qs), u"1"_qs);
    ini.writeString(u"big"_qs, u"k50"_qs, u"fifty"_qs);
    QCOMPARE(ini.readString(u"big"_qs, u"k50"_qs), u"fifty"_qs);
    QCOMPARE(ini.readString(u"next"_qs, u"k5"_qs), u"other"_qs);
    const QStringList keys = ini.keys(u"big"_qs);
    QCOMPARE(keys.constLast(), u"new"_qs);
    QCOMPARE(keys.first(), u"k1"_qs);
    compareWithFreshReader(ini);
}

BREVNOTE_TEST_GUILESS_MAIN(TestIniFile)

#include "tst_inifile.moc"
