#pragma once

#include "app/mainwindow.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <memory>

namespace brevnote::test {

// A main window of its own for one test: a fresh data folder (not yet created, as on a first
// run), and an ending that is only counted, so the test program goes on.
class MasterFixture final {
    // Declared first so it outlives the window.
    QTemporaryDir m_dir;
    QString m_dataFolder;

public:
    // An unwritable data folder lies below a regular file: root can write anywhere else.
    explicit MasterFixture(bool useTray = true, bool unwritableDataFolder = false) {
        m_dataFolder = unwritableDataFolder
                           ? unwritablePath(m_dir, QStringLiteral("velmora/brevnote"))
                           : m_dir.filePath(QStringLiteral("velmora/brevnote"));
        qputenv("BREVNOTE_DATA_DIR", m_dataFolder.toLocal8Bit());
        master = std::make_unique<TfMaster>(useTray);
        master->setTerminateFunction([this] { ++terminateCalls; });
    }

    QPlainTextEdit *edit() const { return master->richEdit(); }
    const QString &dataFolder() const { return m_dataFolder; }
    QString scratchPath(const QString &name) const { return m_dir.filePath(name); }
    QStringList dumpFiles(const QString &folder) const {
        return QDir(folder).entryList({QStringLiteral("Brevnote*.txt")}, QDir::Files, QDir::Name);
    }

    int terminateCalls = 0;
    std::unique_ptr<TfMaster> master;
};

// The window's action of that object name; a missing one ends the test program.
inline QAction *action(const TfMaster &master, const char *name) {
    auto *found = master.findChild<QAction *>(QLatin1String(name));
    if (!found)
        qFatal("no action %s", name);
    return found;
}

} // namespace brevnote::test
