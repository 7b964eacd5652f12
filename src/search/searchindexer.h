#pragma once

#include "textfold.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;
class QTimer;

// Indexing and searching the dumps on a thread of their own, so neither delays the windows.
namespace brevnote {

class DumpIndex;
struct DumpFile;
struct SearchQuery;

struct SearchResult {
    QString path;
    QString caption; // the dump's date and time, from its name
    Excerpt excerpt;
};

// The best `limit` dumps for the query with their captions and excerpts, as the window shows
// them. Raises AppError when the index fails.
QList<SearchResult> findResults(DumpIndex &index, const SearchQuery &query, int limit);

// Lives on the search thread and owns the index's connection there. At start it brings the
// index up to date with the folders: dumps gone are forgotten, new or changed ones are
// read, newest first, in steps short enough for searches to be answered in between. Once
// nothing has been asked for a while it closes an index file (SQLite's cache is memory the
// idle program would hold all day) and opens it again for the next request.
class SearchIndexer final : public QObject {
    Q_OBJECT

public:
    // The index file closes once nothing was asked for `idleCloseMs`.
    SearchIndexer(QString indexPath, QStringList folders, int idleCloseMs);
    ~SearchIndexer() override;

    // Any thread: the step under way is the last.
    void requestStop() { m_stop = true; }

public slots:
    void start();
    void addDump(const QString &path);
    void search(quint64 id, const QString &text, int limit);

signals:
    void progress(int done, int total);
    void indexed(qint64 dumps);
    // Shown once in the window: why the index lives in memory this run.
    void notice(const QString &text);
    // Searching cannot work at all (no SQLite driver, no FTS5).
    void unavailable(const QString &reason);
    void found(quint64 id, const QList<brevnote::SearchResult> &results);
    // The index file was closed for want of requests: the thread has nothing left to hold.
    void closedWhileIdle();

private:
    // Opens the index file; false when searching cannot work (the reason is emitted).
    bool openIndex();
    // Before a request: the index closed while idle is opened again.
    bool reopen();
    void restartIdleClock();
    void closeWhenIdle();
    void giveUp(const QString &reason);
    void plan();
    void step();
    // After a large run: merges the index a little, then lets searches in.
    void mergeStep();
    // After an error of the index: a damaged file is set aside and made again, a file that
    // cannot be written gives way to memory; either way the dumps are read again.
    void recover(const QString &error);

    QString m_indexPath;
    QStringList m_folders;
    std::unique_ptr<DumpIndex> m_index;
    QList<DumpFile> m_pending;
    int m_done = 0;
    int m_total = 0;
    int m_recoveries = 0;
    QElapsedTimer m_transaction; // since the open transaction began
    qint64 m_bytesIndexed = 0;   // since the last merge
    QTimer *m_idle = nullptr;
    bool m_working = false;
    bool m_gaveUp = false;
    std::atomic<bool> m_stop = false;
};

// The search thread and its indexer, seen from the user-interface thread: forwards requests
// and keeps the latest state for windows opened later.
class SearchService final : public QObject {
    Q_OBJECT

public:
    SearchService(const QString &indexPath, const QStringList &folders, QObject *parent = nullptr);
    // Lets a write of a dump just made finish, then ends the thread.
    ~SearchService() override;

    // Before start(): how long the index file stays open after the last request.
    void setIdleCloseMs(int ms) { m_idleCloseMs = ms; }
    void start();
    bool started() const { return m_started; }
    // Whether the thread runs now: it ends once the index has closed while idle (its stack
    // and memory arena are given back) and comes again with the next request.
    bool threadRunning() const { return m_thread != nullptr; }
    // Ends the indexer's thread once its step under way is done, dropping what waits; a
    // later start() begins afresh. For the program's ending: a closing dump is found at the
    // next start, and indexing a large one now would hold the ending up for seconds.
    void stop();

    // A dump has just been written: it is indexed at once.
    void dumpWritten(const QString &path);
    // Asks for the best `limit` dumps; the answer comes as found() with the id returned.
    quint64 search(const QString &text, int limit);

    bool indexing() const { return m_indexing; }
    int done() const { return m_done; }
    int total() const { return m_total; }
    qint64 dumps() const { return m_dumps; }
    const QString &notice() const { return m_notice; }
    const QString &unavailableReason() const { return m_unavailable; }

signals:
    void stateChanged();
    void found(quint64 id, const QList<brevnote::SearchResult> &results);

private:
    void startThread();
    void endThread();
    // After an idle end: a thread for a request, without the first pass over the folders.
    void resume();

    QString m_indexPath;
    QStringList m_folders;
    QThread *m_thread = nullptr;
    SearchIndexer *m_indexer = nullptr;
    quint64 m_nextId = 0;
    int m_idleCloseMs;
    int m_generation = 0; // of the thread, so a late idle report of an old one is ignored
    bool m_started = false;
    bool m_indexing = false;
    int m_done = 0;
    int m_total = 0;
    qint64 m_dumps = 0;
    QString m_notice;
    QString m_unavailable;
};

} // namespace brevnote
