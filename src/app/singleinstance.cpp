#include "singleinstance.h"

#include "util/core/localsocket.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

namespace brevnote {

namespace {

// The whole protocol: a later start sends kShow; the owner answers kShown or kNotShown.
const QByteArray kShow("show\n");
const QByteArray kShown("shown\n");
const QByteArray kNotShown("not-shown\n");
constexpr qint64 kLongestRequest = 64;
constexpr int kRetryMs = 20;
constexpr qint64 kUnknownOwnerMs = 2000;

void warn(const char *what, const QString &path) {
    std::fprintf(stderr, "Brevnote: %s %s\n", what, path.toLocal8Bit().constData());
}

} // namespace

QString instanceKey(const QString &dataFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("brevnote-") + QString::fromLatin1(hash.left(16));
}

SingleInstance::SingleInstance(const QString &folder, const QString &key, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_key(key)
    , m_lock(m_folder + u'/' + m_key + QStringLiteral(".lock")) {
    // Only a lock whose process is gone is stale, however old it is: the owner runs for days.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    // The socket goes before the lock (a member, released after this body): a start that takes
    // the lock next never finds this process still listening.
    delete m_server;
}

QString SingleInstance::lockPath() const {
    return m_folder + u'/' + m_key + QStringLiteral(".lock");
}

QString SingleInstance::socketPath() const {
    return m_folder + u'/' + m_key + QStringLiteral(".socket");
}

bool SingleInstance::ownerUnknown() const {
    qint64 pid = 0;
    QString host;
    QString application;
    if (m_lock.getLockInfo(&pid, &host, &application))
        return false;
    // A lock file without its owner's details: a process killed between creating the file
    // and writing it. A fresh one may still be being written by a starting owner.
    const QDateTime modified = QFileInfo(lockPath()).lastModified();
    return modified.isValid() &&
           qAbs(modified.msecsTo(QDateTime::currentDateTime())) > kUnknownOwnerMs;
}

bool SingleInstance::listening() const {
    return m_server && m_server->isListening();
}

bool SingleInstance::claim() {
    if (!m_lock.tryLock(0) && m_lock.error() == QLockFile::LockFailedError && ownerUnknown()) {
        m_lock.removeStaleLockFile();
        m_lock.tryLock(0);
    }
    if (!m_lock.isLocked()) {
        if (m_lock.error() == QLockFile::LockFailedError)
            return false;
        warn("cannot create the instance lock, running without it:", lockPath());
        return true;
    }
    // Holding the lock, a socket file left there is a dead owner's and is replaced.
    m_server = new platform::LocalLineServer(
        [this](const QByteArray &request) { return answer(request); }, this, kLongestRequest);
    switch (m_server->listen(socketPath())) {
    case platform::LocalLineServer::Listen::Listening:
        return true;
    case platform::LocalLineServer::Listen::InUse:
        // The owner still runs but its lock file was deleted (a cleaner of the temporary
        // folder): it stays the one instance.
        delete m_server;
        m_server = nullptr;
        m_lock.unlock();
        return false;
    case platform::LocalLineServer::Listen::Failed:
        break;
    }
    warn("later starts cannot reach this one; cannot listen on", socketPath());
    return true;
}

QByteArray SingleInstance::answer(const QByteArray &request) const {
    const bool shown = request == kShow && m_showHandler && m_showHandler();
    return shown ? kShown : kNotShown;
}

SingleInstance::Answer SingleInstance::askOwnerToShow(const QString &socketPath, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        if (const auto answer = platform::askLocalLineServer(socketPath, kShow, deadline)) {
            if (*answer == kShown)
                return Answer::Shown;
            return *answer == kNotShown ? Answer::NotShown : Answer::NoAnswer;
        }
        // The owner takes its lock a moment before it listens.
        if (deadline.hasExpired())
            return Answer::NoAnswer;
        QThread::msleep(kRetryMs);
    }
}

} // namespace brevnote
