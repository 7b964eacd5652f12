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

#include <chrono>
#include <csignal>
#include <cstring>
#include <future>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

// A blocking Unix socket of this test, bound (listening or not) or connected to `path`; -1
// when that failed. Reads time out after 10 s, so a silent owner fails the test, not hangs it.
int rawSocket(const QString &path, bool connectTo, bool listenOn = false) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    if (native.size() >= qsizetype(sizeof address.sun_path))
        return -1;
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const timeval patience{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    const auto *where = reinterpret_cast<const sockaddr *>(&address);
    const bool done =
        connectTo ? ::connect(fd, where, sizeof address) == 0
                  : ::bind(fd, where, sizeof address) == 0 && (!listenOn || ::listen(fd, 4) == 0);
    if (!done) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Writes the pieces a pause apart, so the owner reads them separately; then reads what the
// owner answers until it closes (or, with `leave`, closes without reading).
QByteArray talk(const QString &path, const QByteArrayList &pieces, bool leave) {
    const int fd = rawSocket(path, true);
    if (fd < 0)
        return "(no connection)";
    for (const QByteArray &piece : pieces) {
        if (&piece != &pieces.first())
            QThread::msleep(100);
        if (::send(fd, piece.constData(), size_t(piece.size()), MSG_NOSIGNAL) != piece.size())
            break;
    }
    QByteArray answer;
    char buffer[64];
    ssize_t n = 0;
    while (!leave && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
        answer.append(buffer, n);
    ::close(fd);
    return answer;
}

// Runs `work` on a thread of its own while this one runs the owner's event loop; the work ends
// by its own time limits.
template<typename Work> auto whileServing(Work work) -> decltype(work()) {
    auto result = std::async(std::launch::async, std::move(work));
    while (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result.get();
}

mode_t fileMode(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
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
    void socketLeftByADeadOwnerIsReplaced_data();
    void socketLeftByADeadOwnerIsReplaced();
    void ownerAnswersWhateverAClientSends_data();
    void ownerAnswersWhateverAClientSends();
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

// A real socket file: left behind by an owner that died (nobody listens), or by one that lives
// on after a cleaner of the temporary folder deleted its lock file.
void TestSingleInstance::socketLeftByADeadOwnerIsReplaced_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<bool>("socketLeft");
    QTest::addColumn<bool>("ownerLives");
    QTest::newRow("dead owner") << u"tmp"_s << true << false;
    QTest::newRow("live owner without its lock file") << u"tmp"_s << true << true;
    // sun_path holds 107 bytes: this socket file's path is longer.
    QTest::newRow("path longer than sun_path") << QString(90, u'p') << false << false;
}

void TestSingleInstance::socketLeftByADeadOwnerIsReplaced() {
    QFETCH(QString, folderName);
    QFETCH(bool, socketLeft);
    QFETCH(bool, ownerLives);
    QTemporaryDir dir;
    const QString folder = dir.filePath(folderName);
    QVERIFY(QDir().mkpath(folder));
    auto instance = std::make_unique<SingleInstance>(folder, u"brevnote-k"_s);
    const QString socketPath = instance->socketPath();
    const int left = socketLeft ? rawSocket(socketPath, false, ownerLives) : -1;
    QCOMPARE(left >= 0, socketLeft);
    if (!ownerLives && left >= 0)
        ::close(left); // the file stays, nobody listens
    instance->setShowHandler([] { return true; });

    QCOMPARE(instance->claim(), !ownerLives);
    if (ownerLives) {
        // The live owner keeps its socket; this start leaves no lock behind.
        QVERIFY(!QFileInfo::exists(instance->lockPath()));
        QCOMPARE(::close(left), 0);
        return;
    }
    QVERIFY(instance->listening());
    QCOMPARE(fileMode(socketPath), mode_t(S_IFSOCK | 0600));
    QCOMPARE(whileServing([&] { return SingleInstance::askOwnerToShow(socketPath, 5000); }),
             SingleInstance::Answer::Shown);
    instance.reset();
    QVERIFY(!QFileInfo::exists(socketPath));
}

void TestSingleInstance::ownerAnswersWhateverAClientSends_data() {
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<bool>("leave");        // closes without reading the answer
    QTest::addColumn<QByteArray>("answer"); // empty: cut off unanswered
    QTest::newRow("request") << QByteArrayList{"show\n"} << false << "shown\n"_ba;
    QTest::newRow("request in two writes") << QByteArrayList{"sh", "ow\n"} << false << "shown\n"_ba;
    QTest::newRow("another line") << QByteArrayList{"open\n"} << false << "not-shown\n"_ba;
    // A request line is at most 64 bytes with its end.
    QTest::newRow("longest line") << QByteArrayList{QByteArray(63, 's') + '\n'} << false
                                  << "not-shown\n"_ba;
    QTest::newRow("line too long") << QByteArrayList{QByteArray(64, 's') + '\n'} << false << ""_ba;
    QTest::newRow("leaves before the answer") << QByteArrayList{"show\n"} << true << ""_ba;
}

// Whatever one client does, and while another has stalled in the middle of its request, the
// owner answers it and the next start.
void TestSingleInstance::ownerAnswersWhateverAClientSends() {
    QFETCH(QByteArrayList, pieces);
    QFETCH(bool, leave);
    QFETCH(QByteArray, answer);
    QTemporaryDir dir;
    SingleInstance owner(dir.path(), u"brevnote-k"_s);
    owner.setShowHandler([] { return true; });
    QVERIFY(owner.claim());
    const QString path = owner.socketPath();
    // Another client has sent half a line and stays.
    const int stalled = rawSocket(path, true);
    QVERIFY(stalled >= 0);
    QCOMPARE(::send(stalled, "sh", 2, MSG_NOSIGNAL), 2);

    // Leaving, the client has sent and gone before the owner's loop runs.
    QCOMPARE(leave ? talk(path, pieces, true)
                   : whileServing([&] { return talk(path, pieces, false); }),
             answer);
    QCOMPARE(whileServing([&] { return SingleInstance::askOwnerToShow(path, 5000); }),
             SingleInstance::Answer::Shown);
    ::close(stalled);
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
