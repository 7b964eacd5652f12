#include "support/hermetic.h"
#include "support/testfiles.h"

#include "app/singleinstance.h"
#include "util/core/platform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <memory>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::unwritablePath;
using brevnote::test::writeBytes;

namespace {

constexpr int kPatienceMs = 30000;

// The pid of a process that has ended.
qint64 deadPid() {
    QProcess ended;
    ended.start(u"true"_s, {});
    ended.waitForFinished(kPatienceMs);
    return ended.processId() > 0 ? ended.processId() : 0x3ffffffe;
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void keyDependsOnTheDataFolder();
    void secondClaimFailsWhileTheFirstLives();
    void leftoversOfAKilledOwnerNeverBlock_data();
    void leftoversOfAKilledOwnerNeverBlock();
    void unwritableLockFolderStillStarts();
    void secondStartShowsTheFirstAndExits();
};

void TestSingleInstance::keyDependsOnTheDataFolder() {
    QCOMPARE(instanceKey(u"/home/ana/dados"_s), instanceKey(u"/home/ana/dados"_s));
    QVERIFY(instanceKey(u"/home/ana/dados"_s) != instanceKey(u"/home/rui/dados"_s));
    QVERIFY(
        QRegularExpression(u"^brevnote-[0-9a-f]{16}$"_s).match(instanceKey(u"/x"_s)).hasMatch());
}

void TestSingleInstance::secondClaimFailsWhileTheFirstLives() {
    QTemporaryDir dir;
    auto first = std::make_unique<SingleInstance>(dir.path(), u"brevnote-k"_s);
    QVERIFY(first->claim());
    QVERIFY(first->listening());
    QVERIFY(QFileInfo::exists(first->socketPath()));
    SingleInstance second(dir.path(), u"brevnote-k"_s);
    QVERIFY(!second.claim());
    // Another key is another instance.
    SingleInstance other(dir.path(), u"brevnote-other"_s);
    QVERIFY(other.claim());
    first.reset();
    QVERIFY(second.claim());
    QVERIFY(second.listening());
}

void TestSingleInstance::leftoversOfAKilledOwnerNeverBlock_data() {
    QTest::addColumn<QByteArray>("lockContents"); // empty: no lock file
    QTest::addColumn<qint64>("ageMs");
    QTest::addColumn<bool>("socketLeft");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray dead = QByteArray::number(deadPid()) + "\nbrevnote\n" + host + '\n';
    QTest::newRow("lock of a dead process") << dead << qint64(0) << false;
    QTest::newRow("old lock of a dead process") << dead << qint64(86400000) << true;
    QTest::newRow("socket file only") << QByteArray() << qint64(0) << true;
    // Killed between creating the lock file and writing into it.
    QTest::newRow("empty lock file") << QByteArray("\n") << qint64(60000) << true;
}

void TestSingleInstance::leftoversOfAKilledOwnerNeverBlock() {
    QFETCH(QByteArray, lockContents);
    QFETCH(qint64, ageMs);
    QFETCH(bool, socketLeft);
    QTemporaryDir dir;
    SingleInstance instance(dir.path(), u"brevnote-k"_s);
    if (!lockContents.isEmpty()) {
        QVERIFY(writeBytes(instance.lockPath(), lockContents));
        QFile lock(instance.lockPath());
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addMSecs(-ageMs),
                                 QFileDevice::FileModificationTime));
    }
    if (socketLeft)
        QVERIFY(writeBytes(instance.socketPath(), "left by a killed owner"));
    QVERIFY(instance.claim());
    QVERIFY(instance.listening());
}

void TestSingleInstance::unwritableLockFolderStillStarts() {
    QTemporaryDir dir;
    SingleInstance instance(unwritablePath(dir, u"tmp"_s), u"brevnote-k"_s);
    QVERIFY(instance.claim());
    QVERIFY(!instance.listening());
}

// Two real programs of one user: the later one hands over to the first and ends.
void TestSingleInstance::secondStartShowsTheFirstAndExits() {
    QTemporaryDir dir;
    const QString data = dir.filePath(u"velmora/brevnote"_s);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"BREVNOTE_DATA_DIR"_s, data);
    environment.insert(u"BREVNOTE_HOME"_s, dir.filePath(u"program"_s));
    environment.insert(u"BREVNOTE_DEVELOPER"_s, u"0"_s);
    // Both share this test's temporary folder, where the program keeps its lock and socket.
    const SingleInstance probe(QDir::cleanPath(platform::tempFolder()),
                               instanceKey(QDir::cleanPath(data)));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(BREVNOTE_EXE), {});
    QVERIFY(first.waitForStarted(kPatienceMs));
    const QDeadlineTimer started(2 * kPatienceMs);
    while (!QFileInfo(data).isDir() && !started.hasExpired() && first.state() == QProcess::Running)
        QThread::msleep(10);
    QVERIFY2(QFileInfo(data).isDir(), "the first program did not start up");
    QVERIFY(QFileInfo::exists(probe.socketPath()));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer elapsed;
    elapsed.start();
    second.start(QStringLiteral(BREVNOTE_EXE), {});
    QVERIFY(second.waitForFinished(kPatienceMs));
    const qint64 took = elapsed.elapsed();
    qInfo("the second start ended after %lld ms", took);
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    // 0: the first program answered that its window is now shown.
    QCOMPARE(second.exitCode(), 0);
    QVERIFY2(took < 20000, "the second start hung");
    QCOMPARE(first.state(), QProcess::Running);

    // The second start wrote nothing: the first ends with the only dump.
    QCOMPARE(::kill(pid_t(first.processId()), SIGTERM), 0);
    QVERIFY(first.waitForFinished(kPatienceMs));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(QDir(data).entryList({u"Brevnote*.txt"_s}, QDir::Files).size(), 1);
    QVERIFY(!QFileInfo::exists(probe.lockPath()));
}

BREVNOTE_TEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
