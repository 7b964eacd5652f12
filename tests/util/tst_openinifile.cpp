#include "support/childprocess.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/openinifile.h"
#include "util/core/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace brevnote;

class TestOpenIniFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placesTheFile_data();
    void placesTheFile();
    void existingFileKeptWithoutTrace();
    void unwritablePlaceRaises_data();
    void unwritablePlaceRaises();

private:
    // "<tmp>" stands for this test's temporary folder, "<program>" for the program folder.
    QString expand(QString path) const {
        return path.replace(QStringLiteral("<tmp>"), m_dir->path())
            .replace(QStringLiteral("<program>"), platform::programFolder());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousCurrent;
};

void TestOpenIniFile::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The current folder is elsewhere than the program folder, so a bare name that went to
    // the current folder would be caught.
    m_previousCurrent = QDir::currentPath();
    QVERIFY(QDir().mkdir(m_dir->filePath(QStringLiteral("cwd"))));
    QVERIFY(QDir::setCurrent(m_dir->filePath(QStringLiteral("cwd"))));
}

void TestOpenIniFile::cleanup() {
    QDir::setCurrent(m_previousCurrent);
}

void TestOpenIniFile::placesTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fullName");

    QTest::newRow("empty name: the program file with .Ini")
        << QString() << QStringLiteral("<program>tst_openinifile.Ini");
    QTest::newRow("bare name beside the program")
        << QStringLiteral("notes.ini") << QStringLiteral("<program>notes.ini");
    QTest::newRow("bare name with dots")
        << QStringLiteral("MY.AutoTimer.Ini") << QStringLiteral("<program>MY.AutoTimer.Ini");
    QTest::newRow("absolute name unchanged")
        << QStringLiteral("<tmp>/abs.ini") << QStringLiteral("<tmp>/abs.ini");
    QTest::newRow("relative name with a folder unchanged")
        << QStringLiteral("sub/rel.ini") << QStringLiteral("sub/rel.ini");
    QTest::newRow("missing last folder created")
        << QStringLiteral("<tmp>/newfolder/x.ini") << QStringLiteral("<tmp>/newfolder/x.ini");
    QTest::newRow("colon is no folder separator")
        << QStringLiteral("c:notes.ini") << QStringLiteral("<program>c:notes.ini");
}

void TestOpenIniFile::placesTheFile() {
    QFETCH(QString, name);
    QFETCH(QString, fullName);
    name = expand(name);
    fullName = expand(fullName);

    const std::unique_ptr<IniFile> ini = OpenIniFile(name);
    QVERIFY(ini);
    QCOMPARE(ini->fileName(), fullName);
    QVERIFY(QFileInfo(fullName).isFile());
    QCOMPARE(test::readBytes(fullName), QByteArray()); // a new file holds nothing of the test
    QCOMPARE(ini->sections(), QStringList());
    if (!name.isEmpty() && !name.contains(u'/'))
        QVERIFY(!QFile::exists(QDir::current().filePath(name)));
    QFile::remove(fullName);
}

void TestOpenIniFile::existingFileKeptWithoutTrace() {
    const QString path = m_dir->filePath(QStringLiteral("kept.ini"));
    const QByteArray content("; settings\r\n[a]\r\nk=1\r\n\r\n[tmp_other]\r\nDate=x\r\n");
    QVERIFY(test::writeBytes(path, content));
    const std::unique_ptr<IniFile> ini = OpenIniFile(path);
    QCOMPARE(test::readBytes(path), content);
    QCOMPARE(ini->sections(), (QStringList{QStringLiteral("a"), QStringLiteral("tmp_other")}));
    QCOMPARE(ini->readString(QStringLiteral("a"), QStringLiteral("k")), QStringLiteral("1"));
}

void TestOpenIniFile::unwritablePlaceRaises_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("below a regular file") << QStringLiteral("<tmp>/afile/sub/x.ini");
    QTest::newRow("two missing folders") << QStringLiteral("<tmp>/a/b/x.ini");
    QTest::newRow("a folder in its place") << QStringLiteral("<tmp>/folder/");
    QTest::newRow("read-only file") << QStringLiteral("<tmp>/readonly.ini");
}

void TestOpenIniFile::unwritablePlaceRaises() {
    QFETCH(QString, name);
    name = expand(name);
    QVERIFY(test::writeBytes(m_dir->filePath(QStringLiteral("afile")), "[a]\r\nk=1\r\n"));
    QVERIFY(QDir().mkdir(m_dir->filePath(QStringLiteral("folder"))));
    const QString readOnly = m_dir->filePath(QStringLiteral("readonly.ini"));
    QVERIFY(test::writeBytes(readOnly, "[a]\nk=1\n"));
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser));
    const auto open = [&] {
        try {
            OpenIniFile(name);
            QFAIL("OpenIniFile did not raise");
        } catch (const AppError &error) {
            QCOMPARE(error.message(), QStringLiteral("Unable to write to ") + name);
        }
    };
    // Root writes past permission bits; for the read-only file a child gives that up first.
    if (name == readOnly) {
        const auto openAsUser = [&] {
            QVERIFY(test::dropPermissionOverride());
            open();
        };
        QVERIFY(test::runInChildProcess(openAsUser));
    } else {
        open();
    }
    QCOMPARE(test::readBytes(m_dir->filePath(QStringLiteral("afile"))),
             QByteArray("[a]\r\nk=1\r\n"));
    QCOMPARE(test::readBytes(readOnly), QByteArray("[a]\nk=1\n"));
    QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("a"))));
}

BREVNOTE_TEST_GUILESS_MAIN(TestOpenIniFile)

#include "tst_openinifile.moc"
