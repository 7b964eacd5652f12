#pragma once

#include "util/core/platform.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QSocketNotifier;

// One-line requests between processes of one user over a Unix-domain socket file, QtCore only.
// The socket file is made with mode 0600; a path longer than sun_path holds is reached through
// its folder's descriptor (/proc/self/fd/N/name), so any folder works. Every descriptor is
// non-blocking and closed on exec.
namespace brevnote::platform {

// Listens on a socket file and answers each client's first line with one line of its own, then
// closes the connection. Runs on the event loop of the thread that made it: a client that
// sends nothing, half a line or garbage never holds up the loop or other clients.
class LocalLineServer final : public QObject {
public:
    // The answer to a request line (with its "\n"); sent as it is.
    using Responder = std::function<QByteArray(const QByteArray &line)>;

    enum class Listen {
        Listening,
        InUse,  // a live process listens on the path; it was left alone
        Failed, // no socket could be made there (folder missing or read-only, /proc missing)
    };

    // A request line is at most `longestLine` bytes with its "\n"; a client that sends more
    // is cut off unanswered, as is one whose exchange has not ended after `idleMs`.
    explicit LocalLineServer(Responder responder, QObject *parent = nullptr,
                             qsizetype longestLine = 64, int idleMs = 5000);
    ~LocalLineServer() override;

    // Replaces whatever file is at `path` (a socket left by a process that died, or anything
    // else) unless a process listens there. The caller makes sure no other process of its own
    // replaces the same path meanwhile (a lock).
    Listen listen(const QString &path);
    bool isListening() const { return m_fd >= 0; }

private:
    class Connection;
    void acceptPending();
    void close();

    Responder m_responder;
    const qsizetype m_longestLine;
    const int m_idleMs;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_path;
    FileStamp m_file; // the socket file this server made
    QList<Connection *> m_open;
};

// Connects to the server on `path`, sends `line` and reads its answer up to and including its
// "\n" (or what came before the server closed), waiting at most until `deadline`. Empty when
// no connection could be made: nobody listens (yet), or its backlog is full.
std::optional<QByteArray> askLocalLineServer(const QString &path, const QByteArray &line,
                                             QDeadlineTimer deadline);

} // namespace brevnote::platform
