#include "util/core/localsocket.h"

#include "util/core/platform.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace brevnote::platform {

namespace {

constexpr int kBacklog = 16;
// Clients served at once; later ones are closed at once, so a crowd of silent clients cannot
// use up this process's descriptors.
constexpr qsizetype kMostConnections = 8;
// Out of descriptors, accepting waits this long instead of spinning on a queued client.
constexpr int kAcceptAgainMs = 200;
// A server's answer is one short line; a client stops reading after this much without one.
constexpr qsizetype kLongestAnswer = 4096;

// A socket file's address. sun_path holds 107 bytes and a NUL; a longer path is reached
// through an O_PATH descriptor of its folder as /proc/self/fd/N/name, which the kernel
// resolves to the same file with the same permissions.
class SocketAddress {
public:
    explicit SocketAddress(const QByteArray &path) {
        m_address.sun_family = AF_UNIX;
        if (path.isEmpty() || path.contains('\0'))
            return;
        QByteArray usable = path;
        if (path.size() >= qsizetype(sizeof m_address.sun_path)) {
            const qsizetype slash = path.lastIndexOf('/');
            const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray(slash ? "." : "/");
            m_folder = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (m_folder < 0)
                return;
            usable = "/proc/self/fd/" + QByteArray::number(m_folder) + '/' + path.mid(slash + 1);
            if (usable.size() >= qsizetype(sizeof m_address.sun_path))
                return;
        }
        std::memcpy(m_address.sun_path, usable.constData(), size_t(usable.size()));
        m_length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(usable.size()) + 1);
    }
    ~SocketAddress() {
        if (m_folder >= 0)
            ::close(m_folder);
    }
    SocketAddress(const SocketAddress &) = delete;
    SocketAddress &operator=(const SocketAddress &) = delete;

    bool valid() const { return m_length > 0; }
    const sockaddr *get() const { return reinterpret_cast<const sockaddr *>(&m_address); }
    socklen_t length() const { return m_length; }

private:
    sockaddr_un m_address{};
    socklen_t m_length = 0;
    int m_folder = -1;
};

int newSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

// A Unix socket connects at once or not at all (EAGAIN: the listener's backlog is full), so
// this never waits. -1 with errno set when there is no connection.
int connectTo(const QByteArray &path) {
    const SocketAddress address(path);
    if (!address.valid()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = newSocket();
    if (fd < 0)
        return -1;
    if (::connect(fd, address.get(), address.length()) != 0) {
        const int failure = errno;
        ::close(fd);
        errno = failure;
        return -1;
    }
    return fd;
}

// True when `fd` is ready for `events` (or has an error or hang-up for the next call to
// report) before `deadline`.
bool waitFor(int fd, short events, const QDeadlineTimer &deadline) {
    while (true) {
        pollfd entry{fd, events, 0};
        const qint64 left = deadline.remainingTime();
        const int result = ::poll(&entry, 1, left < 0 ? -1 : int(std::min<qint64>(left, INT_MAX)));
        if (result >= 0)
            return result > 0;
        if (errno != EINTR)
            return false;
    }
}

bool sendAll(int fd, const QByteArray &data, const QDeadlineTimer &deadline) {
    qsizetype sent = 0;
    while (sent < data.size()) {
        // MSG_NOSIGNAL: a peer that has gone gives EPIPE, not a SIGPIPE that ends the process.
        const ssize_t n =
            ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n >= 0)
            sent += n;
        else if (errno == EINTR)
            continue;
        else if (errno != EAGAIN || !waitFor(fd, POLLOUT, deadline))
            return false;
    }
    return true;
}

} // namespace

// One client: its request is read as it comes, in any number of pieces, without ever waiting
// on the event loop's thread.
class LocalLineServer::Connection final : public QObject {
public:
    Connection(int fd, LocalLineServer *server)
        : QObject(server)
        , m_fd(fd)
        , m_server(server)
        , m_reader(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(m_reader, &QSocketNotifier::activated, this, [this] { read(); });
        QTimer::singleShot(server->m_idleMs, this, [this] { finish(); });
    }
    ~Connection() override { release(); }

private:
    void read() {
        char buffer[256];
        while (m_fd >= 0) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && errno == EAGAIN)
                return;
            if (n <= 0)
                return finish(); // gone before a whole line
            m_request.append(buffer, n);
            const qsizetype end = m_request.indexOf('\n');
            if (end >= 0 && end < m_server->m_longestLine)
                return answer(m_request.left(end + 1));
            if (end >= 0 || m_request.size() >= m_server->m_longestLine)
                return finish();
        }
    }

    void answer(const QByteArray &line) {
        m_reader->setEnabled(false);
        m_output = m_server->m_responder ? m_server->m_responder(line) : QByteArray();
        write();
    }

    void write() {
        while (m_fd >= 0 && !m_output.isEmpty()) {
            const ssize_t n =
                ::send(m_fd, m_output.constData(), size_t(m_output.size()), MSG_NOSIGNAL);
            if (n >= 0) {
                m_output.remove(0, n);
            } else if (errno == EAGAIN) {
                if (!m_writer) {
                    m_writer = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
                    connect(m_writer, &QSocketNotifier::activated, this, [this] { write(); });
                }
                return;
            } else if (errno != EINTR) {
                break; // the client has gone
            }
        }
        finish();
    }

    // Closes the connection now; the object goes once the event loop is back.
    void finish() {
        release();
        deleteLater();
    }

    void release() {
        if (m_fd < 0)
            return;
        // A notifier must stop watching a descriptor before it is closed.
        m_reader->setEnabled(false);
        if (m_writer)
            m_writer->setEnabled(false);
        ::close(m_fd);
        m_fd = -1;
        m_server->m_open.removeOne(this);
    }

    int m_fd;
    LocalLineServer *m_server;
    QSocketNotifier *m_reader;
    QSocketNotifier *m_writer = nullptr;
    QByteArray m_request;
    QByteArray m_output;
};

LocalLineServer::LocalLineServer(Responder responder, QObject *parent, qsizetype longestLine,
                                 int idleMs)
    : QObject(parent)
    , m_responder(std::move(responder))
    , m_longestLine(longestLine)
    , m_idleMs(idleMs) {}

LocalLineServer::~LocalLineServer() {
    close();
}

void LocalLineServer::close() {
    qDeleteAll(std::exchange(m_open, {}));
    delete m_notifier;
    m_notifier = nullptr;
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    // Only the file this server made: a later owner may have put its own there since.
    const FileStamp now = fileStamp(m_path);
    if (now.exists && now.inode == m_file.inode && now.device == m_file.device)
        ::unlink(QFile::encodeName(m_path).constData());
}

LocalLineServer::Listen LocalLineServer::listen(const QString &path) {
    close();
    const QByteArray native = QFile::encodeName(path);
    const int probe = connectTo(native);
    if (probe >= 0 || errno == EAGAIN) {
        if (probe >= 0)
            ::close(probe);
        return Listen::InUse;
    }
    // Made under another name and renamed over the path in one step: a client finds either the
    // old file or the new socket, ready and with its final permissions.
    const QByteArray fresh = native + ".new";
    ::unlink(fresh.constData());
    const SocketAddress address(fresh);
    const int fd = address.valid() ? newSocket() : -1;
    if (fd < 0)
        return Listen::Failed;
    if (::bind(fd, address.get(), address.length()) != 0 || ::chmod(fresh.constData(), 0600) != 0 ||
        ::listen(fd, kBacklog) != 0 || ::rename(fresh.constData(), native.constData()) != 0) {
        ::close(fd);
        ::unlink(fresh.constData());
        return Listen::Failed;
    }
    m_fd = fd;
    m_path = path;
    m_file = fileStamp(path);
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { acceptPending(); });
    return Listen::Listening;
}

void LocalLineServer::acceptPending() {
    while (true) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client >= 0) {
            if (m_open.size() < kMostConnections)
                m_open.append(new Connection(client, this));
            else
                ::close(client);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN) {
            // Out of descriptors or memory: the client stays queued, and the notifier would
            // report it again at once.
            m_notifier->setEnabled(false);
            QTimer::singleShot(kAcceptAgainMs, m_notifier,
                               [notifier = m_notifier] { notifier->setEnabled(true); });
        }
        return;
    }
}

std::optional<QByteArray> askLocalLineServer(const QString &path, const QByteArray &line,
                                             QDeadlineTimer deadline) {
    const int fd = connectTo(QFile::encodeName(path));
    if (fd < 0)
        return std::nullopt;
    QByteArray answer;
    if (sendAll(fd, line, deadline)) {
        char buffer[256];
        while (!answer.contains('\n') && answer.size() < kLongestAnswer) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n > 0)
                answer.append(buffer, n);
            else if (n == 0)
                break;
            else if (errno != EINTR && (errno != EAGAIN || !waitFor(fd, POLLIN, deadline)))
                break;
        }
    }
    ::close(fd);
    const qsizetype end = answer.indexOf('\n');
    if (end >= 0)
        answer.truncate(end + 1);
    return answer;
}

} // namespace brevnote::platform
