#include "util/core/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <link.h>
#include <malloc.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace brevnote::platform {

namespace {

QString withTrailingSlash(const QString &folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString executablePath() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

QString environmentValue(const char *name) {
    return qEnvironmentVariable(name);
}

// A folder we may use privately: a real directory (not a link), owned by us, mode 0700.
bool makePrivateFolder(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString programName() {
    return QFileInfo(executablePath()).fileName();
}

QString programFolder() {
    const QString home = environmentValue("BREVNOTE_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withTrailingSlash(QDir::cleanPath(QDir(home).absolutePath()));
    }
    const QFileInfo exe(executablePath());
    if (QFileInfo(exe.absolutePath()).isWritable())
        return withTrailingSlash(exe.absolutePath());
    const QString local = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(local);
    return withTrailingSlash(local);
}

QString programFilePath() {
    return programFolder() + programName();
}

QString dataFolder() {
    const QString data = environmentValue("BREVNOTE_DATA_DIR");
    if (!data.isEmpty())
        return QDir::cleanPath(QDir(data).absolutePath());
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/velmora/brevnote");
}

QString tempFolder() {
    const QString system = QDir::tempPath();
    const QString base = system + QStringLiteral("/brevnote-") + QString::number(::getuid());
    // Another user may have planted something under our name; then take the next free one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = attempt == 0 ? base : base + u'-' + QString::number(attempt);
        if (makePrivateFolder(candidate))
            return withTrailingSlash(candidate);
    }
    return withTrailingSlash(system);
}

QString configFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/velmora");
    QDir().mkpath(folder);
    return folder;
}

bool isDesignerRunning() {
    const QString forced = environmentValue("BREVNOTE_DEVELOPER");
    if (forced == u"1")
        return true;
    if (forced == u"0")
        return false;

    static const QStringList designers = {QStringLiteral("qtcreator"), QStringLiteral("code"),
                                          QStringLiteral("clion"), QStringLiteral("kdevelop")};
    const uid_t me = ::getuid();
    const QDir proc(QStringLiteral("/proc"));
    const QStringList entries = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        struct stat st {};
        if (::stat(QFile::encodeName(proc.filePath(entry)).constData(), &st) != 0 ||
            st.st_uid != me)
            continue;
        QFile comm(proc.filePath(entry) + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly))
            continue;
        const QString name = QString::fromLocal8Bit(comm.readAll()).trimmed();
        if (designers.contains(name))
            return true;
    }
    return false;
}

QString versionText() {
    return QStringLiteral(BREVNOTE_VERSION);
}

QString webModulePath() {
    if (qEnvironmentVariableIsSet("BREVNOTE_WEB_MODULE"))
        return environmentValue("BREVNOTE_WEB_MODULE");
    const QString name = QStringLiteral("libbrevnote_web.so");
    const QDir folder = QFileInfo(executablePath()).absoluteDir();
    const QString beside = folder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(folder.filePath(QStringLiteral(BREVNOTE_LIBDIR_FROM_BINDIR "/") + name));
}

QStringList webEngineFiles() {
    QStringList files;
    const QString helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                           QStringLiteral("/QtWebEngineProcess");
    if (QFileInfo::exists(helper))
        files.append(helper);
    const QDir resources(QLibraryInfo::path(QLibraryInfo::DataPath) + QStringLiteral("/resources"));
    for (const QFileInfo &pack :
         resources.entryInfoList({QStringLiteral("qtwebengine*.pak")}, QDir::Files))
        files.append(pack.filePath());
    return files;
}

QStringList loadedLibraryFiles() {
    QStringList files;
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            // The program itself and the kernel's vDSO come without a file name.
            if (info->dlpi_name && info->dlpi_name[0] == '/')
                static_cast<QStringList *>(data)->append(QFile::decodeName(info->dlpi_name));
            return 0;
        },
        &files);
    return files;
}

void readSoon(const QString &path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_WILLNEED);
    ::close(descriptor);
}

bool hasDisplay() {
    const bool x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const QString chosen = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (chosen.isEmpty())
        return x11 || wayland;
    // Qt tries the chosen plugins in turn; a plugin that needs no desktop (offscreen, vnc,
    // eglfs...) always starts.
    const QStringList plugins = chosen.split(u';', Qt::SkipEmptyParts);
    return std::any_of(plugins.begin(), plugins.end(), [&](const QString &plugin) {
        if (plugin.startsWith(u"xcb"))
            return x11;
        if (plugin.startsWith(u"wayland"))
            return wayland;
        return true;
    });
}

FileStamp fileStamp(const QString &path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    FileStamp stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.inode = st.st_ino;
    stamp.device = st.st_dev;
    return stamp;
}

namespace {
int signalPipe[2] = {-1, -1};

void writeSignalToPipe(int signalNumber) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

void onTerminationSignal(std::function<void(int)> handler) {
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [handler = std::move(handler)] {
                         unsigned char byte = 0;
                         while (::read(signalPipe[0], &byte, 1) == 1)
                             handler(byte);
                     });
    struct sigaction action {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
}

void releaseFreedMemory() {
    ::malloc_trim(0);
}

} // namespace brevnote::platform
