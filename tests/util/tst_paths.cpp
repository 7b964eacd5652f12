#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/core/version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace brevnote;

namespace {

// Removes the listed files when the test ends, so temporary names stay free for the next test.
class FilesToRemove final {
public:
    FilesToRemove() = default;
    ~FilesToRemove() {
        for (const QString &path : m_paths)
            QFile::remove(path);
    }
    FilesToRemove(const FilesToRemove &) = delete;
    FilesToRemove &operator=(const FilesToRemove &) = delete;

    void create(const QString &path) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        m_paths << path;
    }
    void link(const QString &target, const QString &path) {
        QVERIFY(QFile::link(target, path));
        m_paths << path;
    }

private:
    QStringList m_paths;
};

bool onlyOwnerMayEnter(const QString &folder) {
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions permissions = QFileInfo(folder).permissions();
    return (permissions & others) == 0 && (permissions & QFile::ExeOwner) &&
           (permissions & QFile::WriteOwner);
}

uint myUserId() {
    QTemporaryDir probe;
    return QFileInfo(probe.path()).ownerId();
}

// 8 December 2026 03:30:12.345 is 1261234 hundredths of a second after midnight.
QDateTime fixedMoment() {
    return QDateTime(QDate(2026, 12, 8), QTime(3, 30, 12, 345));
}

} // namespace

class TestPaths : public QObject {
    Q_OBJECT

private slots:
    void forceDirectoriesPath_data();
    void forceDirectoriesPath();
    void forceDirectoriesPathBelowAFileIsQuiet();
    void programFolderFollowsBrevnoteHome();
    void appSubPath_data();
    void appSubPath();
    void tempFolderIsPrivate();
    void tempFolderRefusesWhatOthersPlanted_data();
    void tempFolderRefusesWhatOthersPlanted();
    void tempFolderTightensItsOwnFolder();
    void windowsDirectoryIsTheConfigFolder();
    void designerRunningFollowsEnvironment_data();
    void designerRunningFollowsEnvironment();
    void hasDisplayFollowsTheChosenPlugin_data();
    void hasDisplayFollowsTheChosenPlugin();
    void exeFileVersionIsTheBuiltInVersion();
    void tempFileName_data();
    void tempFileName();
    void tempFileNameStepsPastTakenNames();
    void tempFileNameWrapsAtMidnight();
    void tempFileNameWithTheRealClock();
};

void TestPaths::forceDirectoriesPath_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("nested") << QStringLiteral("a/b/c")
                            << QStringList{QStringLiteral("a"), QStringLiteral("a/b"),
                                           QStringLiteral("a/b/c")};
    QTest::newRow("trailing separator")
        << QStringLiteral("d/e/") << QStringList{QStringLiteral("d"), QStringLiteral("d/e")};
    QTest::newRow("doubled separator")
        << QStringLiteral("f//g") << QStringList{QStringLiteral("f"), QStringLiteral("f/g")};
    QTest::newRow("single") << QStringLiteral("h") << QStringList{QStringLiteral("h")};
    QTest::newRow("existing") << QString() << QStringList{};
}

void TestPaths::forceDirectoriesPath() {
    QFETCH(QString, relative);
    QFETCH(QStringList, folders);
    QTemporaryDir root;
    const QString path = root.path() + u'/' + relative;
    QCOMPARE(ForceDirectoriesPath(path), path);
    QVERIFY(QFileInfo(path).isDir());
    for (const QString &folder : folders)
        QVERIFY2(QFileInfo(root.filePath(folder)).isDir(), qPrintable(folder));
}

void TestPaths::forceDirectoriesPathBelowAFileIsQuiet() {
    QTemporaryDir root;
    FilesToRemove files;
    files.create(root.filePath(QStringLiteral("afile")));
    const QString path = root.filePath(QStringLiteral("afile/sub/x"));
    QCOMPARE(ForceDirectoriesPath(path), path);
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QFileInfo(root.filePath(QStringLiteral("afile"))).isFile());
    QCOMPARE(ForceDirectoriesPath(QString()), QString());
}

void TestPaths::programFolderFollowsBrevnoteHome() {
    QTemporaryDir root;
    const QString home = root.filePath(QStringLiteral("new home/deep"));
    const test::ScopedEnvironment environment("BREVNOTE_HOME", QFile::encodeName(home));
    QCOMPARE(platform::programFolder(), home + u'/');
    QVERIFY(QFileInfo(home).isDir());
    QCOMPARE(AppSubPath(QString(), QStringLiteral("SDK.Ini")), home + QStringLiteral("/SDK.Ini"));
}

void TestPaths::appSubPath_data() {
    QTest::addColumn<QString>("subFolder");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("expected"); // below the program folder
    QTest::addColumn<QString>("folder");   // must exist afterwards
    QTest::newRow("preview page") << QStringLiteral("tmp") << QStringLiteral("HTMLText2Browse.htm")
                                  << QStringLiteral("tmp/HTMLText2Browse.htm")
                                  << QStringLiteral("tmp");
    QTest::newRow("installs") << QStringLiteral("Installs") << QStringLiteral("a.txt")
                              << QStringLiteral("Installs/a.txt") << QStringLiteral("Installs");
    QTest::newRow("beside the program")
        << QString() << QStringLiteral("SDK.Ini") << QStringLiteral("SDK.Ini") << QString();
    QTest::newRow("program folder itself") << QString() << QString() << QString() << QString();
    QTest::newRow("sub-folder only")
        << QStringLiteral("tmp") << QString() << QStringLiteral("tmp") << QStringLiteral("tmp");
    QTest::newRow("nested sub-folder") << QStringLiteral("a/b") << QStringLiteral("c.txt")
                                       << QStringLiteral("a/b/c.txt") << QStringLiteral("a/b");
    QTest::newRow("separators and blanks")
        << QStringLiteral(" /Pages/ ") << QStringLiteral(" /x.htm ")
        << QStringLiteral("Pages/x.htm") << QStringLiteral("Pages");
}

void TestPaths::appSubPath() {
    QFETCH(QString, subFolder);
    QFETCH(QString, fileName);
    QFETCH(QString, expected);
    QFETCH(QString, folder);
    const QString home = QDir(qEnvironmentVariable("BREVNOTE_HOME")).absolutePath() + u'/';
    QCOMPARE(AppSubPath(subFolder, fileName), home + expected);
    QVERIFY(QFileInfo(home + folder).isDir());
    QVERIFY(!QFileInfo::exists(home + expected) || expected == folder);
}

void TestPaths::tempFolderIsPrivate() {
    const QString folder = TempFolder();
    QVERIFY(folder.endsWith(u'/'));
    QVERIFY2(folder.startsWith(QDir::tempPath() + u'/'), qPrintable(folder));
    QVERIFY(folder != QDir::tempPath() + u'/');
    const QFileInfo info(folder);
    QVERIFY(info.isDir());
    QVERIFY(!info.isSymLink());
    QCOMPARE(info.ownerId(), myUserId());
    QVERIFY(onlyOwnerMayEnter(folder));
    QCOMPARE(platform::tempFolder(), folder);
}

void TestPaths::tempFolderRefusesWhatOthersPlanted_data() {
    QTest::addColumn<bool>("plantLink");
    QTest::newRow("link to a folder elsewhere") << true;
    QTest::newRow("regular file") << false;
}

void TestPaths::tempFolderRefusesWhatOthersPlanted() {
    QFETCH(bool, plantLink);
    QTemporaryDir systemTemp;
    QTemporaryDir decoy;
    const test::ScopedEnvironment environment("TMPDIR", QFile::encodeName(systemTemp.path()));
    const QString usual =
        systemTemp.path() + QStringLiteral("/brevnote-") + QString::number(myUserId());
    FilesToRemove files;
    if (plantLink)
        files.link(decoy.path(), usual);
    else
        files.create(usual);

    const QString folder = platform::tempFolder();
    QVERIFY2(folder != usual + u'/', qPrintable(folder));
    QVERIFY(folder.startsWith(systemTemp.path() + u'/'));
    const QFileInfo info(folder);
    QVERIFY(info.isDir());
    QVERIFY(!info.isSymLink());
    QVERIFY(info.canonicalFilePath() != QFileInfo(decoy.path()).canonicalFilePath());
    QVERIFY(onlyOwnerMayEnter(folder));
    // Names handed out land in the private folder, never behind the planted link.
    QVERIFY(TempFileName(QStringLiteral("page.htm")).startsWith(folder));
    QVERIFY(QDir(decoy.path()).isEmpty());
}

void TestPaths::tempFolderTightensItsOwnFolder() {
    QTemporaryDir systemTemp;
    const test::ScopedEnvironment environment("TMPDIR", QFile::encodeName(systemTemp.path()));
    const QString usual =
        systemTemp.path() + QStringLiteral("/brevnote-") + QString::number(myUserId());
    QVERIFY(QDir().mkdir(usual));
    QVERIFY(QFile::setPermissions(usual, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther));
    QCOMPARE(platform::tempFolder(), usual + u'/');
    QVERIFY(onlyOwnerMayEnter(usual));
}

void TestPaths::windowsDirectoryIsTheConfigFolder() {
    QTemporaryDir config;
    const test::ScopedEnvironment environment("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString expected = config.path() + QStringLiteral("/velmora");
    QCOMPARE(WindowsDirectory(), expected);
    QVERIFY(QFileInfo(expected).isDir());
    QCOMPARE(platform::configFolder(), expected);
}

void TestPaths::designerRunningFollowsEnvironment_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("forced on") << QByteArray("1") << true;
    QTest::newRow("forced off") << QByteArray("0") << false;
}

void TestPaths::designerRunningFollowsEnvironment() {
    QFETCH(QByteArray, value);
    QFETCH(bool, expected);
    const QByteArray before = qgetenv("BREVNOTE_DEVELOPER");
    {
        const test::ScopedEnvironment environment("BREVNOTE_DEVELOPER", value);
        QCOMPARE(IsDesignerRunning(), expected);
        QCOMPARE(platform::isDesignerRunning(), expected);
    }
    QCOMPARE(qgetenv("BREVNOTE_DEVELOPER"), before);
}

void TestPaths::hasDisplayFollowsTheChosenPlugin_data() {
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("plugin");
    QTest::addColumn<bool>("expected");
    QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << false;
    QTest::newRow("x11") << QByteArray(":0") << QByteArray() << QByteArray() << true;
    QTest::newRow("wayland") << QByteArray() << QByteArray("wayland-0") << QByteArray() << true;
    QTest::newRow("offscreen") << QByteArray() << QByteArray() << QByteArray("offscreen") << true;
    QTest::newRow("xcb without x11")
        << QByteArray() << QByteArray("w") << QByteArray("xcb") << false;
    QTest::newRow("wayland then xcb with x11")
        << QByteArray(":0") << QByteArray() << QByteArray("wayland;xcb") << true;
    QTest::newRow("wayland without it")
        << QByteArray(":0") << QByteArray() << QByteArray("wayland") << false;
}

void TestPaths::hasDisplayFollowsTheChosenPlugin() {
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, plugin);
    QFETCH(bool, expected);
    const test::ScopedEnvironment x11("DISPLAY", display);
    const test::ScopedEnvironment waylandDisplay("WAYLAND_DISPLAY", wayland);
    const test::ScopedEnvironment chosen("QT_QPA_PLATFORM", plugin);
    QCOMPARE(platform::hasDisplay(), expected);
}

void TestPaths::exeFileVersionIsTheBuiltInVersion() {
    const QString version = ExeFileVersion();
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+(\\.\\d+){1,3}$")).match(version).hasMatch(),
             qPrintable(version));
    QCOMPARE(version, platform::versionText());
}

void TestPaths::tempFileName_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected"); // inside the temporary folder
    QTest::newRow("empty") << QString() << QStringLiteral("1261234.tmp");
    QTest::newRow("extension alone") << QStringLiteral(".htm") << QStringLiteral("1261234.htm");
    QTest::newRow("blank extension") << QStringLiteral("  .htm  ") << QStringLiteral("1261234.htm");
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("1261234.tmp");
    QTest::newRow("bare folder") << QStringLiteral("/some/folder/")
                                 << QStringLiteral("1261234.tmp");
    QTest::newRow("folder and extension")
        << QStringLiteral("/some/folder/.txt") << QStringLiteral("1261234.txt");
    QTest::newRow("name") << QStringLiteral("report.htm") << QStringLiteral("report.htm");
    QTest::newRow("name in a folder")
        << QStringLiteral("/some/folder/report.htm") << QStringLiteral("report.htm");
    QTest::newRow("name with blanks")
        << QStringLiteral(" report.htm ") << QStringLiteral("report.htm");
    QTest::newRow("name without extension") << QStringLiteral("notes") << QStringLiteral("notes");
    QTest::newRow("colon is ordinary")
        << QStringLiteral("c:page.htm") << QStringLiteral("c:page.htm");
    QTest::newRow("parent folder is no name")
        << QStringLiteral("..") << QStringLiteral("1261234.tmp");
    QTest::newRow("parent folder after a path")
        << QStringLiteral("x/ ..") << QStringLiteral("1261234.tmp");
}

void TestPaths::tempFileName() {
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    const ScopedFixedClock clock(fixedMoment());
    QCOMPARE(TempFileName(argument), TempFolder() + expected);
}

void TestPaths::tempFileNameStepsPastTakenNames() {
    const ScopedFixedClock clock(fixedMoment());
    const QString folder = TempFolder();
    FilesToRemove files;
    files.create(folder + QStringLiteral("1261234.tmp"));
    files.create(folder + QStringLiteral("1261235.tmp"));
    // The clock stands still, so the loop must move on by itself instead of spinning.
    QCOMPARE(TempFileName(QString()), folder + QStringLiteral("1261236.tmp"));
    // A dangling link takes its name as well.
    files.link(folder + QStringLiteral("missing-target"), folder + QStringLiteral("1261234.htm"));
    QCOMPARE(TempFileName(QStringLiteral(".htm")), folder + QStringLiteral("1261235.htm"));
    // A given name is used whether or not a file has it.
    files.create(folder + QStringLiteral("report.htm"));
    QCOMPARE(TempFileName(QStringLiteral("report.htm")), folder + QStringLiteral("report.htm"));
}

void TestPaths::tempFileNameWrapsAtMidnight() {
    const ScopedFixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59, 995)));
    const QString folder = TempFolder();
    FilesToRemove files;
    files.create(folder + QStringLiteral("8639999.tmp"));
    QCOMPARE(TempFileName(QStringLiteral(".tmp")), folder + QStringLiteral("0000000.tmp"));
}

void TestPaths::tempFileNameWithTheRealClock() {
    const QString folder = TempFolder();
    const QString name = TempFileName(QStringLiteral(".htm"));
    QVERIFY(name.startsWith(folder));
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{7}\\.htm$"))
                 .match(name.mid(folder.size()))
                 .hasMatch(),
             qPrintable(name));
    QVERIFY(!QFileInfo::exists(name));
}

BREVNOTE_TEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
