#pragma once

#include "dumpfiles.h"
#include "searchquery.h"

#include <QHash>
#include <QList>
#include <QString>

class QSqlError;
class QSqlQuery;

// The full-text index of the dumps: an SQLite database with an FTS5 table that keeps no copy
// of the texts (contentless), only which words occur where, and a table of the files indexed.
// One object per thread: it owns its own connection.
namespace brevnote {

struct SearchHit {
    QString path;
    qint64 stamp = 0;
    double score = 0; // FTS5's bm25: lower is better
};

class DumpIndex final {
public:
    DumpIndex();
    ~DumpIndex();
    DumpIndex(const DumpIndex &) = delete;
    DumpIndex &operator=(const DumpIndex &) = delete;

    // Opens the index file at `path`, creating it when missing. A file that is not this
    // program's index (damaged, foreign, of another version) is renamed aside, never deleted,
    // and a new one made in its place. When no file can be written there, the index is kept
    // in memory for this run and the reason returned; otherwise returns an empty text.
    // Raises AppError when SQLite cannot be used at all (no driver, no FTS5).
    QString open(const QString &path);
    // Starts an empty index in memory, for a folder that takes no index (`reason`); returns
    // the message that says so.
    QString openInMemory(const QString &reason);
    bool inMemory() const { return m_inMemory; }
    // Where a file set aside by open() went; empty when none was.
    const QString &setAsidePath() const { return m_setAside; }

    // Renames the index aside and starts an empty one (for damage found after opening).
    QString setAsideAndRecreate();

    struct Known {
        qint64 id = 0;
        qint64 size = 0;
        qint64 modified = 0;
    };
    QHash<QString, Known> knownDumps();
    qint64 dumpCount();

    // Indexes the dump's text as it is now, replacing what was indexed for that path.
    // Returns false when it was already indexed unchanged.
    bool addDump(const DumpFile &dump);
    // Forgets a dump: it is found no more.
    void removeDump(const QString &path);

    // The best `limit` dumps for the query: by bm25, the newest first among equals.
    QList<SearchHit> search(const SearchQuery &query, int limit);

    // Groups writes into one transaction (much faster for many dumps: FTS5 writes the words
    // it gathered in memory out at each commit).
    void begin();
    void commit();
    bool inTransaction() const { return m_inTransaction; }
    // Merges about `pages` pages of the index towards one segment, as FTS5's 'optimize' does
    // in one go; returns false once there was nothing left to merge. After many dumps at
    // once, so that each dump added later does not inherit the merging they left.
    bool mergeSome(int pages);

    // Rows of dumps forgotten: their words stay in the FTS5 table (it keeps no text to
    // remove them by) but are never found again; clear() and indexing anew reclaims them.
    qint64 forgottenCount();
    void clear();

    // Whether the last AppError raised came from a damaged index file.
    bool lastErrorWasDamage() const { return m_damaged; }

private:
    QSqlQuery exec(const QString &sql);
    // Raises the statement's error, noting whether it tells of a damaged file.
    [[noreturn]] void fail(const QSqlError &error);
    void prepareSchema();
    void openConnection(const QString &target);
    void closeConnection();

    QString m_connection;
    QString m_path;
    QString m_setAside;
    bool m_inMemory = false;
    bool m_inTransaction = false;
    bool m_pendingLimitSet = false;
    bool m_damaged = false;
    bool m_unusable = false; // no SQLite driver, or no FTS5
};

// The index's file name in the data folder.
QString dumpIndexFileName();

} // namespace brevnote
