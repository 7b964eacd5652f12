#include "support/childprocess.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace brevnote;

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void decodeDetectsEncoding_data();
    void decodeDetectsEncoding();
    void piecesDecodeAsTheWhole_data();
    void piecesDecodeAsTheWhole();
    void encodeChoosesEncoding_data();
    void encodeChoosesEncoding();
    void everyWindows1252ByteRoundTrips();
    void bytes80To9FAreWindows1252();
    void splitLines_data();
    void splitLines();
    void joinLinesEndsEveryLineWithCrLf();
    void writeThenReadKeepsText_data();
    void writeThenReadKeepsText();
    void writeIntoMissingFolderFailsWithFileName();
    void writeOverReadOnlyFileFailsAndKeepsIt();
    void readMissingFileNamesIt();
};

void TestTextCodec::decodeDetectsEncoding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("utf8 accents") << QByteArray("S\xC3\xA1"
                                                "b")
                                  << QStringLiteral("Sáb");
    QTest::newRow("utf8 with bom") << QByteArray("\xEF\xBB\xBF"
                                                 "a\xC3\xA7")
                                   << QStringLiteral("aç");
    QTest::newRow("bom only") << QByteArray("\xEF\xBB\xBF") << QString();
    QTest::newRow("cp1252 accent") << QByteArray("S\xE1"
                                                 "b")
                                   << QStringLiteral("Sáb");
    QTest::newRow("cp1252 euro and quotes")
        << QByteArray("\x80 \x93x\x94") << QStringLiteral("€ “x”");
    QTest::newRow("cp1252 undefined byte kept") << QByteArray("\x81") << QString(QChar(0x81));
    QTest::newRow("truncated utf8 is cp1252") << QByteArray("a\xC3") << QStringLiteral("aÃ");
    QTest::newRow("second byte-order mark is text") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                  "a")
                                                    << QStringLiteral("\uFEFFa");
    QTest::newRow("byte-order mark inside is text") << QByteArray("a\xEF\xBB\xBF"
                                                                  "b")
                                                    << QStringLiteral("a\uFEFFb");
    QTest::newRow("utf8 four bytes") << QByteArray("a\xF0\x9F\x98\x80"
                                                   "b")
                                     << QStringLiteral("a\U0001F600b");
    QTest::newRow("cp1252 decided by the last byte")
        << QByteArray("\xC3\xA1xyz\xE1") << QStringLiteral("Ã¡xyzá");
}

void TestTextCodec::decodeDetectsEncoding() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeText(bytes), text);
}

void TestTextCodec::piecesDecodeAsTheWhole_data() {
    decodeDetectsEncoding_data();
}

void TestTextCodec::piecesDecodeAsTheWhole() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    // Pieces this small end inside every multi-byte character.
    for (const qsizetype size : {1, 2, 3}) {
        TextPieceDecoder decoder(bytes);
        QString joined;
        for (qsizetype pieces = 0; decoder.decodeMore(joined, size); ++pieces)
            QVERIFY(pieces < bytes.size());
        QCOMPARE(joined, text);
    }
}

void TestTextCodec::encodeChoosesEncoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("abc") << QByteArray("abc");
    QTest::newRow("latin accents as cp1252") << QStringLiteral("Sáb ç")
                                             << QByteArray("S\xE1"
                                                           "b \xE7");
    QTest::newRow("euro as cp1252") << QStringLiteral("€") << QByteArray("\x80");
    QTest::newRow("greek needs utf8") << QStringLiteral("aα")
                                      << QByteArray("\xEF\xBB\xBF"
                                                    "a\xCE\xB1");
    // Their Windows-1252 bytes C3 A9 would read back as the UTF-8 of "é".
    QTest::newRow("cp1252 bytes that read as utf8")
        << QStringLiteral("Ã©") << QByteArray("\xEF\xBB\xBF\xC3\x83\xC2\xA9");
    QTest::newRow("cp1252 bytes that read as a byte-order mark")
        << QStringLiteral("ï»¿x") << QByteArray("\xEF\xBB\xBF\xC3\xAF\xC2\xBB\xC2\xBFx");
    QTest::newRow("leading zero-width no-break space") << QStringLiteral("\uFEFFa α")
                                                       << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                     "a \xCE\xB1");
    QTest::newRow("emoji needs utf8")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << QByteArray("\xEF\xBB\xBF\xF0\x9F\x98\x80");
}

void TestTextCodec::encodeChoosesEncoding() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeText(text), bytes);
    QCOMPARE(decodeText(bytes), text);
}

void TestTextCodec::everyWindows1252ByteRoundTrips() {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const QString text = decodeWindows1252(all);
    QCOMPARE(text.size(), all.size());
    QVERIFY(fitsWindows1252(text));
    QCOMPARE(encodeWindows1252(text), all);
}

// A round trip passes with two characters swapped in both directions; the table does not.
void TestTextCodec::bytes80To9FAreWindows1252() {
    // The five bytes Windows-1252 leaves undefined are the C1 controls of the same value.
    const QString table = QStringLiteral("€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F"
                                         "\u0090‘’“”•–—˜™š›œ\u009DžŸ");
    QCOMPARE(table.size(), 32);
    QByteArray bytes;
    for (int b = 0x80; b <= 0x9F; ++b)
        bytes.append(char(b));
    QCOMPARE(decodeWindows1252(bytes), table);
    QCOMPARE(encodeWindows1252(table), bytes);
    QCOMPARE(decodeText(bytes), table);
}

void TestTextCodec::splitLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one line") << QStringLiteral("a") << QStringList{QStringLiteral("a")};
    QTest::newRow("final break starts no line")
        << QStringLiteral("a\r\n") << QStringList{QStringLiteral("a")};
    QTest::newRow("crlf, lone cr, lone lf")
        << QStringLiteral("a\r\nb\rc\nd")
        << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                       QStringLiteral("d")};
    QTest::newRow("lf cr is two breaks")
        << QStringLiteral("a\n\rb")
        << QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")};
    QTest::newRow("empty lines kept")
        << QStringLiteral("\r\n\r\nx") << QStringList{QString(), QString(), QStringLiteral("x")};
    QTest::newRow("lone break") << QStringLiteral("\n") << QStringList{QString()};
}

void TestTextCodec::splitLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(brevnote::splitLines(text), lines);
}

void TestTextCodec::joinLinesEndsEveryLineWithCrLf() {
    QCOMPARE(joinLines({QStringLiteral("a"), QString(), QStringLiteral("b")}),
             QStringLiteral("a\r\n\r\nb\r\n"));
    QCOMPARE(joinLines({}), QString());
}

void TestTextCodec::writeThenReadKeepsText_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("startOfFile");
    QTest::newRow("cp1252") << QStringList{QStringLiteral("Olá"), QStringLiteral("mãe")}
                            << QByteArray("Ol\xE1\r\nm\xE3"
                                          "e\r\n");
    QTest::newRow("utf8 with bom")
        << QStringList{QStringLiteral("日本")} << QByteArray("\xEF\xBB\xBF");
}

void TestTextCodec::writeThenReadKeepsText() {
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, startOfFile);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    writeLinesFile(path, lines);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(startOfFile));
    QCOMPARE(brevnote::splitLines(readTextFile(path)), lines);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
}

void TestTextCodec::writeIntoMissingFolderFailsWithFileName() {
    QTemporaryDir dir;
    const QString path = test::unwritablePath(dir, QStringLiteral("out.txt"));
    try {
        writeLinesFile(path, {QStringLiteral("x")});
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + path);
    }
}

void TestTextCodec::writeOverReadOnlyFileFailsAndKeepsIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ro.txt"));
    writeLinesFile(path, {QStringLiteral("old")});
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    // Root writes past permission bits; the child gives that up first.
    const auto writeAsUser = [&] {
        QVERIFY(test::dropPermissionOverride());
        QVERIFY(!QFileInfo(path).isWritable());
        QVERIFY_THROWS_EXCEPTION(AppError, writeLinesFile(path, {QStringLiteral("new")}));
    };
    QVERIFY(test::runInChildProcess(writeAsUser));
    QCOMPARE(brevnote::splitLines(readTextFile(path)), QStringList{QStringLiteral("old")});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ro.txt")});
}

void TestTextCodec::readMissingFileNamesIt() {
    const QString path = QDir::tempPath() + QStringLiteral("/does-not-exist.txt");
    try {
        readTextFile(path);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QVERIFY(error.message().contains(path));
    }
}

BREVNOTE_TEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
