#include "searchindexer.h"

#include "dumpfiles.h"
#include "dumpindex.h"
#include "dumpname.h"
#include "searchquery.h"

#include "util/core/apperror.h"
#include "util/core/platform.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace brevnote {

namespace {

// Long enough for SQLite to work in bulk, short enough for a search to wait little.
constexpr qint64 kStepMs = 200;
// A transaction spans the steps of this long: FTS5 writes the words it gathered out at each
// commit, and fewer, larger segments need much less merging. A crash redoes at most this.
constexpr qint64 kCommitMs = 5000;
// After indexing this much text in one run the index is merged into one segment, in steps
// between searches; below it, FTS5's own merging after each write keeps up.
constexpr qint64 kMergeAfterBytes = 64 * 1024 * 1024;
// Pages (4 KB) merged at a time: about a tenth of a second.
constexpr int kMergePages = 1000;
// Forgotten dumps' words are reclaimed by indexing anew once they outnumber the dumps.
constexpr qint64 kForgottenSlack = 100;
// A pause between searches longer than this is the user done searching.
constexpr int kIdleCloseMs = 10000;

void report(const QString &what) {
    std::fprintf(stderr, "Brevnote: search index: %s\n", what.toLocal8Bit().constData());
}

} // namespace

QList<SearchResult> findResults(DumpIndex &index, const SearchQuery &query, int limit) {
    QList<SearchResult> results;
    for (const SearchHit &hit : index.search(query, limit)) {
        SearchResult result;
        result.path = hit.path;
        if (const std::optional<DumpName> name = parseDumpFileName(QFileInfo(hit.path).fileName()))
            result.caption = dumpCaption(*name);
        result.excerpt = dumpExcerpt(hit.path, query.terms);
        results.append(result);
    }
    return results;
}

SearchIndexer::SearchIndexer(QString indexPath, QStringList folders, int idleCloseMs)
    : m_indexPath(std::move(indexPath))
    , m_folders(std::move(folders))
    // A child: it goes to the search thread with the indexer.
    , m_idle(new QTimer(this)) {
    m_idle->setSingleShot(true);
    m_idle->setInterval(idleCloseMs);
    m_idle->setTimerType(Qt::VeryCoarseTimer);
    connect(m_idle, &QTimer::timeout, this, &SearchIndexer::closeWhenIdle);
}

SearchIndexer::~SearchIndexer() = default;

bool SearchIndexer::openIndex() {
    m_index = std::make_unique<DumpIndex>();
    try {
        const QString reason = m_index->open(m_indexPath);
        if (!reason.isEmpty())
            emit notice(reason);
    } catch (const AppError &error) {
        giveUp(error.message());
        return false;
    }
    return true;
}

void SearchIndexer::start() {
    if (!openIndex())
        return;
    try {
        plan();
    } catch (const AppError &error) {
        // Damage that the first look at the file did not show.
        recover(error.message());
    }
}

bool SearchIndexer::reopen() {
    if (m_index)
        return true;
    if (m_gaveUp || !openIndex())
        return false;
    // A file damaged or gone unwritable since it was closed starts empty: read the dumps.
    if (m_index->inMemory() || !m_index->setAsidePath().isEmpty()) {
        try {
            plan();
        } catch (const AppError &error) {
            recover(error.message());
        }
    }
    return m_index != nullptr;
}

void SearchIndexer::restartIdleClock() {
    m_idle->start();
}

void SearchIndexer::closeWhenIdle() {
    // An index kept in memory would be lost; one at work is not idle.
    if (!m_index || m_working || m_index->inMemory())
        return;
    m_index.reset();
    emit closedWhileIdle();
}

void SearchIndexer::giveUp(const QString &reason) {
    m_index.reset();
    m_gaveUp = true;
    emit unavailable(reason);
}

void SearchIndexer::plan() {
    const QList<DumpFile> files = listDumpFiles(m_folders);
    QSet<QString> present;
    for (const DumpFile &file : files)
        present.insert(file.path);
    m_index->begin();
    const QHash<QString, DumpIndex::Known> known = m_index->knownDumps();
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (!present.contains(it.key()))
            m_index->removeDump(it.key());
    }
    const bool renew = m_index->forgottenCount() > qMax(kForgottenSlack, m_index->dumpCount());
    if (renew)
        m_index->clear();
    m_index->commit();

    m_pending.clear();
    for (const DumpFile &file : files) {
        const auto it = known.constFind(file.path);
        if (renew || it == known.cend() || it->size != file.size || it->modified != file.modified)
            m_pending.append(file);
    }
    m_done = 0;
    m_total = int(m_pending.size());
    emit progress(m_done, m_total);
    if (!m_working) {
        m_working = true;
        QMetaObject::invokeMethod(this, &SearchIndexer::step, Qt::QueuedConnection);
    }
}

void SearchIndexer::step() {
    if (!m_index) {
        m_working = false;
        return;
    }
    QElapsedTimer clock;
    clock.start();
    try {
        // Searches between the steps use the same connection: they see the open transaction.
        if (!m_index->inTransaction())
            m_transaction.start();
        m_index->begin();
        while (!m_pending.isEmpty() && !m_stop && clock.elapsed() < kStepMs) {
            m_index->addDump(m_pending.constFirst());
            m_bytesIndexed += m_pending.constFirst().size;
            m_pending.removeFirst();
            ++m_done;
        }
        if (m_stop || m_pending.isEmpty() || m_transaction.elapsed() >= kCommitMs)
            m_index->commit();
    } catch (const AppError &error) {
        m_working = false;
        recover(error.message());
        return;
    }
    emit progress(m_done, m_total);
    if (m_stop || m_pending.isEmpty()) {
        m_working = false;
        if (m_stop)
            return;
        emit indexed(m_index->dumpCount());
        if (m_bytesIndexed >= kMergeAfterBytes) {
            m_bytesIndexed = 0;
            m_working = true;
            QMetaObject::invokeMethod(this, &SearchIndexer::mergeStep, Qt::QueuedConnection);
            return;
        }
        restartIdleClock();
        return;
    }
    QMetaObject::invokeMethod(this, &SearchIndexer::step, Qt::QueuedConnection);
}

void SearchIndexer::mergeStep() {
    // Dumps to read again after a recovery come first.
    if (m_index && !m_pending.isEmpty()) {
        step();
        return;
    }
    if (!m_index || m_stop) {
        m_working = false;
        return;
    }
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    try {
        while (more && !m_stop && clock.elapsed() < kStepMs)
            more = m_index->mergeSome(kMergePages);
    } catch (const AppError &error) {
        m_working = false;
        recover(error.message());
        return;
    }
    if (!more || m_stop) {
        m_working = false;
        if (!m_stop)
            restartIdleClock();
        return;
    }
    QMetaObject::invokeMethod(this, &SearchIndexer::mergeStep, Qt::QueuedConnection);
}

void SearchIndexer::recover(const QString &error) {
    report(error);
    // A fault that comes back after a fresh start is not the file's: stop trying.
    if (++m_recoveries > 2) {
        giveUp(error);
        return;
    }
    try {
        if (m_index->lastErrorWasDamage()) {
            m_index->setAsideAndRecreate();
        } else if (!m_index->inMemory()) {
            emit notice(m_index->openInMemory(error));
        } else {
            throw AppError(error);
        }
        plan();
    } catch (const AppError &again) {
        giveUp(again.message());
    }
}

void SearchIndexer::addDump(const QString &path) {
    const std::optional<DumpFile> dump = dumpFileAt(path);
    if (!dump || !reopen())
        return;
    try {
        if (m_index->addDump(*dump))
            emit indexed(m_index->dumpCount());
    } catch (const AppError &error) {
        recover(error.message());
    }
    restartIdleClock();
}

void SearchIndexer::search(quint64 id, const QString &text, int limit) {
    QList<SearchResult> results;
    if (reopen()) {
        try {
            results = findResults(*m_index, parseSearchQuery(text), limit);
        } catch (const AppError &error) {
            recover(error.message());
        }
        restartIdleClock();
    }
    emit found(id, results);
}

SearchService::SearchService(const QString &indexPath, const QStringList &folders, QObject *parent)
    : QObject(parent)
    , m_indexPath(indexPath)
    , m_folders(folders)
    , m_idleCloseMs(kIdleCloseMs) {}

SearchService::~SearchService() {
    stop();
}

void SearchService::stop() {
    m_started = false;
    m_indexing = false;
    if (!m_thread)
        return;
    m_indexer->requestStop();
    endThread();
}

void SearchService::endThread() {
    // Queued behind what was asked before (a dump just written is still indexed); the
    // indexer is deleted on its own thread, where its connection lives.
    QThread *thread = m_thread;
    SearchIndexer *indexer = m_indexer;
    QMetaObject::invokeMethod(
        m_indexer,
        [indexer, thread] {
            delete indexer;
            thread->quit();
        },
        Qt::QueuedConnection);
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_indexer = nullptr;
}

void SearchService::start() {
    if (m_started)
        return;
    m_started = true;
    startThread();
    m_indexing = true;
    QMetaObject::invokeMethod(m_indexer, &SearchIndexer::start, Qt::QueuedConnection);
}

void SearchService::resume() {
    if (m_started && !m_thread)
        startThread();
}

void SearchService::startThread() {
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("SearchIndexer"));
    m_indexer = new SearchIndexer(m_indexPath, m_folders, m_idleCloseMs);
    m_indexer->moveToThread(m_thread);
    connect(m_indexer, &SearchIndexer::progress, this, [this](int done, int total) {
        m_indexing = done < total;
        m_done = done;
        m_total = total;
        emit stateChanged();
    });
    connect(m_indexer, &SearchIndexer::indexed, this, [this](qint64 dumps) {
        m_dumps = dumps;
        emit stateChanged();
    });
    connect(m_indexer, &SearchIndexer::notice, this, [this](const QString &text) {
        m_notice = text;
        emit stateChanged();
    });
    connect(m_indexer, &SearchIndexer::unavailable, this, [this](const QString &reason) {
        m_indexing = false;
        m_unavailable = reason;
        emit stateChanged();
    });
    connect(m_indexer, &SearchIndexer::found, this, &SearchService::found);
    const int generation = ++m_generation;
    connect(m_indexer, &SearchIndexer::closedWhileIdle, this, [this, generation] {
        if (generation != m_generation || !m_thread)
            return;
        endThread();
        // The thread's own arena is free now; what it held while indexing goes back.
        platform::releaseFreedMemory();
    });
    m_thread->start(QThread::LowPriority);
}

void SearchService::dumpWritten(const QString &path) {
    resume();
    if (!m_indexer)
        return;
    QMetaObject::invokeMethod(m_indexer, "addDump", Qt::QueuedConnection, Q_ARG(QString, path));
}

quint64 SearchService::search(const QString &text, int limit) {
    const quint64 id = ++m_nextId;
    resume();
    if (m_indexer)
        QMetaObject::invokeMethod(m_indexer, "search", Qt::QueuedConnection, Q_ARG(quint64, id),
                                  Q_ARG(QString, text), Q_ARG(int, limit));
    else
        // Never before the caller has the id.
        QMetaObject::invokeMethod(
            this, [this, id] { emit found(id, {}); }, Qt::QueuedConnection);
    return id;
}

} // namespace brevnote
