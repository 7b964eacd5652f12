#include "support/childprocess.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/safefile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace brevnote;

class TestSafeFile : public QObject {
    Q_OBJECT

private slots:
    void fullDiskRaisesAndKeepsOldFile_data();
    void fullDiskRaisesAndKeepsOldFile();
};

// A file-size limit fails the write the way a full disk does, but only after the first 4,096
// bytes went through: the last flush is what fails.
void TestSafeFile::fullDiskRaisesAndKeepsOldFile_data() {
    QTest::addColumn<QByteArray>("old"); // empty: no file before
    QTest::addColumn<int>("size");
    QTest::newRow("replacing a file") << QByteArray("[s]\r\nk=old\r\n") << 8000;
    QTest::newRow("new file") << QByteArray() << 8000;
    QTest::newRow("just past the limit") << QByteArray("old") << 4097;
}

void TestSafeFile::fullDiskRaisesAndKeepsOldFile() {
    QFETCH(QByteArray, old);
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("target.ini"));
    if (!old.isEmpty())
        QVERIFY(test::writeBytes(path, old));

    const auto writeWithLimit = [&] {
        QVERIFY(test::limitFileSize(4096));
        try {
            writeFileSafely(path, QByteArray(size, 'x'));
            QFAIL("the cut-off write was reported as saved");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + path);
        }
    };
    QVERIFY(test::runInChildProcess(writeWithLimit));
    QCOMPARE(QFile::exists(path), !old.isEmpty());
    QCOMPARE(test::readBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(),
             old.isEmpty() ? 0 : 1); // no temporary file left behind

    // The limit stayed in the child: the same write succeeds here.
    writeFileSafely(path, QByteArray(size, 'x'));
    QCOMPARE(test::readBytes(path).size(), size);
}

BREVNOTE_TEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
