#pragma once

#include <QElapsedTimer>
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <functional>

class QTimer;

// The crash journal: while the program runs, the pad's whole text is kept in one file of the
// data folder, so a crash, a kill or a power cut loses at most the last moments of typing.
// The closing dump replaces it at an orderly end; at the next start a journal still there is
// turned into a recovered dump.
namespace brevnote {

// "Brevnote.journal": not a ".txt" name, so it is never taken for a dump.
QString journalFileName();

// The bytes the journal holds for the editor's raw text (paragraphs separated by U+2029):
// the same bytes the closing dump writes for those lines, each followed by CR LF.
QByteArray encodeJournalText(const QString &rawText);

// Keeps the journal up to date. A change starts a one-second wait, restarted by further
// changes but never past 1.5 s after the oldest unsaved change, so steady typing is saved
// too. The text is taken on the caller's thread (the snapshot function) and encoded and
// written by a worker thread through the safe writer, so a large text never stalls typing.
class CrashJournal final : public QObject {
    Q_OBJECT

public:
    // Returns the text to keep, in the form encodeJournalText() takes.
    using SnapshotFunction = std::function<QString()>;

    static constexpr int kQuietMs = 1000;
    static constexpr int kLongestWaitMs = 1500;

    CrashJournal(const QString &folder, SnapshotFunction snapshot, QObject *parent = nullptr);
    // Waits for a write under way, so no thread outlives the journal.
    ~CrashJournal() override;

    QString folder() const { return m_folder; }
    QString path() const;
    QTimer *timer() const { return m_timer; }
    bool hasUnsavedChange() const { return m_changeCount != m_savedCount; }

    // The text changed: the journal is written when the typing pauses.
    void textChanged();
    // How writeNow() waits for the worker: blocked (at the end of the program), or processing
    // every event but user input, so the windows keep repainting while a large text is
    // written (before a print or a tool on a large text).
    enum class Waiting { Blocked, Repainting };

    // Writes the current text at once and returns when it is on disk (or the write failed).
    // For commands that may take long or never come back: a print, a tool on a large text.
    void writeNow(Waiting waiting = Waiting::Blocked);
    // The closing dump holds the text: removes the journal and writes no more in this run.
    void discard();
    // Writes no more in this run and leaves any journal on disk as it is.
    void stop();

signals:
    // A write finished; `ok` tells whether the journal now holds the text it was given.
    void writeFinished(bool ok);
    // The first failed write of the run, naming the folder that refused it.
    void cannotWrite(const QString &folder);

private:
    void startWrite();
    void takeResult();
    void waitForWrite(Waiting waiting = Waiting::Blocked);

    const QString m_folder;
    const SnapshotFunction m_snapshot;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_oldestUnsaved;
    QFuture<bool> m_future;
    QFutureWatcher<bool> m_watcher;
    // Changes are counted; a write covers the count of its snapshot.
    quint64 m_changeCount = 0;
    quint64 m_snapshotCount = 0;
    quint64 m_savedCount = 0;
    bool m_inFlight = false;
    bool m_writeAgain = false;
    bool m_stopped = false;
    bool m_failureReported = false;
};

} // namespace brevnote
