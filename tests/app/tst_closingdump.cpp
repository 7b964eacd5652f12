#include "support/hermetic.h"
#include "support/testfiles.h"

#include "app/closingdump.h"
#include "util/core/apperror.h"
#include "util/core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

class TestClosingDump : public QObject {
    Q_OBJECT

private slots:
    void writesLinesWithCrLfInWindows1252();
    void rawTextWritesTheBytesOfItsLines_data();
    void rawTextWritesTheBytesOfItsLines();
    void sameNameReplacesTheFile();
    void unwritableFolderRaisesNamingTheFile();
    void fallsBackInOrder_data();
    void fallsBackInOrder();
    void everyFolderFailingLosesNothingElse();
};

void TestClosingDump::writesLinesWithCrLfInWindows1252() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path =
        writeClosingDump(dir.path(), QStringLiteral("Brevnote1.txt"), QStringLiteral(" \nação\n"));
    QCOMPARE(path, dir.filePath(QStringLiteral("Brevnote1.txt")));
    QCOMPARE(test::readBytes(path), QByteArray(" \r\na\xE7\xE3o\r\n\r\n"));
}

void TestClosingDump::rawTextWritesTheBytesOfItsLines_data() {
    QTest::addColumn<QString>("rawText");
    QTest::addColumn<bool>("utf8");
    const QChar paragraph(0x2029);
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("Windows-1252") << u"ação"_s + paragraph + u"fim"_s << false;
    QTest::newRow("UTF-8") << u"Ω"_s + paragraph + u"é"_s << true;
    QTest::newRow("U+2028 stays in its line") << u"a\u2028b"_s + paragraph + u"c"_s << true;
    QTest::newRow("NUL and CR stay") << u"a"_s + QChar(0) + u"b"_s + paragraph + u"c\rd"_s << false;
    QTest::newRow("empty paragraphs")
        << QString(paragraph) + paragraph + u"x"_s + paragraph << false;
    QTest::newRow("'\\n' and U+2029 both end lines") << u"a\nb"_s + paragraph + u"€"_s << false;
}

// The dump takes the editor's raw text; its file has the bytes the lines of that text
// (U+2029 made '\n') always had.
void TestClosingDump::rawTextWritesTheBytesOfItsLines() {
    QFETCH(QString, rawText);
    QFETCH(bool, utf8);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString lines = rawText;
    lines.replace(QChar(0x2029), u'\n');
    const QByteArray expected = encodeLines(lines);
    QCOMPARE(expected.startsWith("\xEF\xBB\xBF"), utf8);
    const QString path = writeClosingDump(dir.path(), QStringLiteral("Brevnote3.txt"), rawText);
    QCOMPARE(test::readBytes(path), expected);
    QCOMPARE(encodeParagraphs(rawText, TextEncoding::Utf8), encodeLines(lines, TextEncoding::Utf8));
}

void TestClosingDump::sameNameReplacesTheFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = QStringLiteral("Brevnote20190208173605.txt");
    writeClosingDump(dir.path(), name, QStringLiteral("primeiro\ntexto"));
    const QString path = writeClosingDump(dir.path(), name, QStringLiteral("segundo"));
    QCOMPARE(test::readBytes(path), QByteArray("segundo\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({name}));
}

void TestClosingDump::unwritableFolderRaisesNamingTheFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writeBytes(dir.filePath(QStringLiteral("afile")), "x"));
    const QString folder = dir.filePath(QStringLiteral("afile/sub"));
    try {
        writeClosingDump(folder, QStringLiteral("Brevnote2.txt"), QStringLiteral("x"));
        QFAIL("writing below a regular file succeeded");
    } catch (const AppError &error) {
        QVERIFY2(error.message().contains(folder + QStringLiteral("/Brevnote2.txt")),
                 qPrintable(error.message()));
    }
}

void TestClosingDump::fallsBackInOrder_data() {
    QTest::addColumn<QStringList>("folders"); // "bad" is a folder below a regular file
    QTest::addColumn<int>("used");
    QTest::newRow("data folder works") << QStringList({u"a"_s, u"b"_s, u"c"_s}) << 0;
    QTest::newRow("data folder fails") << QStringList({u"bad"_s, u"b"_s, u"c"_s}) << 1;
    QTest::newRow("data and program folder fail") << QStringList({u"bad"_s, u"bad"_s, u"c"_s}) << 2;
    QTest::newRow("empty data folder is skipped") << QStringList({u""_s, u"b"_s, u"c"_s}) << 1;
}

void TestClosingDump::fallsBackInOrder() {
    QFETCH(QStringList, folders);
    QFETCH(int, used);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writeBytes(dir.filePath(QStringLiteral("afile")), "x"));
    QStringList paths;
    for (int i = 0; i < folders.size(); ++i) {
        const QString &kind = folders.at(i);
        if (kind.isEmpty()) {
            paths.append(QString());
        } else if (kind == u"bad") {
            paths.append(dir.filePath(QStringLiteral("afile/sub%1").arg(i)));
        } else {
            paths.append(dir.filePath(kind));
            QVERIFY(QDir().mkpath(paths.last()));
        }
    }
    const QString name = QStringLiteral("Brevnote20261208033000.txt");
    const ClosingDumpOutcome outcome =
        writeClosingDumpSomewhere(paths, name, QStringLiteral("texto"));
    QCOMPARE(outcome.path, paths.at(used) + u'/' + name);
    QCOMPARE(test::readBytes(outcome.path), QByteArray("texto\r\n"));
    const qsizetype failures = std::count(folders.cbegin(), folders.cbegin() + used, u"bad");
    QCOMPARE(outcome.errors.size(), failures);
    for (int i = used + 1; i < paths.size(); ++i)
        QVERIFY(!QFile::exists(paths.at(i) + u'/' + name));
}

void TestClosingDump::everyFolderFailingLosesNothingElse() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writeBytes(dir.filePath(QStringLiteral("afile")), "x"));
    const QStringList folders = {dir.filePath(QStringLiteral("afile/a")),
                                 dir.filePath(QStringLiteral("afile/b")),
                                 dir.filePath(QStringLiteral("afile/c"))};
    const ClosingDumpOutcome outcome =
        writeClosingDumpSomewhere(folders, QStringLiteral("Brevnote3.txt"), QStringLiteral("x"));
    QVERIFY(outcome.path.isEmpty());
    QCOMPARE(outcome.errors.size(), 3);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(outcome.errors.at(i).contains(folders.at(i)), qPrintable(outcome.errors.at(i)));
}

BREVNOTE_TEST_GUILESS_MAIN(TestClosingDump)
#include "tst_closingdump.moc"
