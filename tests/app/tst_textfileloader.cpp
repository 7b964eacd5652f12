#include "support/hermetic.h"
#include "support/testfiles.h"

#include "app/textfileloader.h"
#include "util/core/apperror.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace brevnote;

namespace {

// The message of the AppError the read raises; empty when it raises none.
QString readError(const QString &path, bool plainTextMode) {
    try {
        readFileForEditor(path, plainTextMode);
    } catch (const AppError &error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestTextFileLoader : public QObject {
    Q_OBJECT

private slots:
    void readsThroughTheCodec_data();
    void readsThroughTheCodec();
    void rtfDependsOnPlainTextMode();
    void refusesWhatIsNotText_data();
    void refusesWhatIsNotText();
    void refusesFilesAbove256MB();
    void sizeLimitIsInclusive_data();
    void sizeLimitIsInclusive();
    void unreadablePathsNameTheFile_data();
    void unreadablePathsNameTheFile();

private:
    QTemporaryDir m_dir;
};

void TestTextFileLoader::readsThroughTheCodec_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("utf8 accents") << QByteArray("S\xC3\xA1"
                                                "b\r\na\xC3\xA7\xC3\xA3o\r\n")
                                  << QStringLiteral("Sáb\r\nação\r\n");
    QTest::newRow("utf8 with bom") << QByteArray("\xEF\xBB\xBF\xC3\xA9") << QStringLiteral("é");
    QTest::newRow("windows-1252") << QByteArray("S\xE1"
                                                "b \x80")
                                  << QStringLiteral("Sáb €");
    QTest::newRow("empty file") << QByteArray() << QString();
}

void TestTextFileLoader::readsThroughTheCodec() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = m_dir.filePath(QStringLiteral("codec.txt"));
    QVERIFY(test::writeBytes(path, bytes));
    QCOMPARE(readFileForEditor(path, true), text);
}

void TestTextFileLoader::rtfDependsOnPlainTextMode() {
    const QString path = m_dir.filePath(QStringLiteral("doc.rtf"));
    const QByteArray rtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Ol\\'e1\\par mundo}");
    QVERIFY(test::writeBytes(path, rtf));
    QCOMPARE(readFileForEditor(path, false), QStringLiteral("Olá\nmundo"));
    QCOMPARE(readFileForEditor(path, true), QString::fromLatin1(rtf));
}

void TestTextFileLoader::refusesWhatIsNotText_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes"); // written to path when not empty
    QTest::newRow("nul byte") << m_dir.filePath(QStringLiteral("nul.txt"))
                              << QByteArray("abc\0def", 7);
    QTest::newRow("utf-16 text") << m_dir.filePath(QStringLiteral("utf16.txt"))
                                 << QByteArray("\xFF\xFE"
                                               "a\0b\0",
                                               6);
    // A device would be read for ever.
    QTest::newRow("device") << QStringLiteral("/dev/zero") << QByteArray();
}

void TestTextFileLoader::refusesWhatIsNotText() {
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    if (!bytes.isEmpty())
        QVERIFY(test::writeBytes(path, bytes));
    QCOMPARE(readError(path, true),
             QStringLiteral("O arquivo \"%1\" não é um arquivo de texto.").arg(path));
    QCOMPARE(readError(path, false),
             QStringLiteral("O arquivo \"%1\" não é um arquivo de texto.").arg(path));
}

void TestTextFileLoader::refusesFilesAbove256MB() {
    const QString path = m_dir.filePath(QStringLiteral("huge.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    // Sparse: no disk space is used, and the size alone must refuse it unread.
    QVERIFY(file.resize(kMaxOpenFileBytes + 1));
    file.close();
    QCOMPARE(readError(path, true),
             QStringLiteral("O arquivo \"%1\" é grande demais para ser aberto (mais de 256 MB).")
                 .arg(path));
}

// The limit as a parameter, so no test has to write 256 MB of text.
void TestTextFileLoader::sizeLimitIsInclusive_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("read");
    QTest::newRow("one byte below the limit") << 15 << true;
    QTest::newRow("exactly the limit") << 16 << true;
    QTest::newRow("one byte above the limit") << 17 << false;
}

void TestTextFileLoader::sizeLimitIsInclusive() {
    QFETCH(int, size);
    QFETCH(bool, read);
    const QString path = m_dir.filePath(QStringLiteral("limit.txt"));
    const QByteArray bytes(size, 'x');
    QVERIFY(test::writeBytes(path, bytes));
    try {
        QCOMPARE(readFileForEditor(path, true, nullptr, 16), QString::fromLatin1(bytes));
        QVERIFY2(read, "a file above the limit was read");
    } catch (const AppError &error) {
        QVERIFY2(!read, qPrintable(error.message()));
        QVERIFY(error.message().contains(u"grande demais"_qs));
    }
}

void TestTextFileLoader::unreadablePathsNameTheFile_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.txt"));
    QTest::newRow("below a regular file") << m_dir.filePath(QStringLiteral("afile/x.txt"));
    QTest::newRow("a folder") << m_dir.filePath(QStringLiteral("folder"));
}

void TestTextFileLoader::unreadablePathsNameTheFile() {
    QFETCH(QString, path);
    QVERIFY(test::writeBytes(m_dir.filePath(QStringLiteral("afile")), "x"));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("folder"))));
    const QString message = readError(path, true);
    QVERIFY2(message.contains(path), qPrintable(message));
}

BREVNOTE_TEST_GUILESS_MAIN(TestTextFileLoader)
#include "tst_textfileloader.moc"
