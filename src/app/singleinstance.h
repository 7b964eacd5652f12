#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>

namespace brevnote::platform {
class LocalLineServer;
}

// One running program per user: a lock file, and a Unix socket file on which the owner of the
// lock listens for later starts. QtCore only.
namespace brevnote {

// "brevnote-" and 16 hex digits of the data folder's path: the folder whose dumps and journal
// one instance owns.
QString instanceKey(const QString &dataFolder);

class SingleInstance final : public QObject {
    Q_OBJECT

public:
    // Shows the owner's window; true when it is shown.
    using ShowHandler = std::function<bool()>;

    enum class Answer {
        Shown,    // the owner showed its window
        NotShown, // the owner answered but has no window to show
        NoAnswer, // nobody listens, or the owner did not answer in time
    };

    // The lock file and the socket are `folder` + "/" + `key` + ".lock" / ".socket"; the
    // folder must belong to the user alone.
    SingleInstance(const QString &folder, const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    QString lockPath() const;
    QString socketPath() const;

    // Takes the lock and starts listening: true when this process is now the one instance.
    // A lock left by a process that no longer runs is taken over. When no lock file can be
    // made at all, the program runs unguarded rather than not at all (true). False while
    // another live process holds the lock, or still listens on the socket after its lock file
    // was deleted under it.
    bool claim();
    bool listening() const;

    void setShowHandler(ShowHandler handler) { m_showHandler = std::move(handler); }

    // From a later start: asks the owner listening on `socketPath` to show its window and
    // waits at most `timeoutMs` for its answer, trying again while the owner has the lock
    // but is not listening yet.
    static Answer askOwnerToShow(const QString &socketPath, int timeoutMs);

private:
    bool ownerUnknown() const;
    QByteArray answer(const QByteArray &request) const;

    const QString m_folder;
    const QString m_key;
    QLockFile m_lock;
    platform::LocalLineServer *m_server = nullptr;
    ShowHandler m_showHandler;
};

} // namespace brevnote
