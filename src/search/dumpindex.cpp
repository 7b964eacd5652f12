#include "dumpindex.h"

#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

namespace brevnote {

namespace {

// "Brn1" in the database header: a file without it is not this program's index.
constexpr int kApplicationId = 0x42726e31;
constexpr int kSchemaVersion = 1;
const QString kMemory = QStringLiteral(":memory:");
// How many bytes of words FTS5 gathers in memory before writing them out as one segment
// (its default is 1 MB): fewer, larger segments leave far less merging to do while
// thousands of dumps are indexed. 32 MB was no faster and took 48 MB more memory.
constexpr int kPendingBytes = 8 * 1024 * 1024;
// The files SQLite keeps beside a database while writing it.
const QStringList kCompanions = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                                 QStringLiteral("-shm")};

// SQLite's primary result codes for a damaged file and for a file that is no database.
bool isDamageCode(const QSqlError &error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

bool taken(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString dumpIndexFileName() {
    return QStringLiteral("Brevnote.indice.sqlite");
}

DumpIndex::DumpIndex() {
    static QAtomicInt next;
    m_connection = QStringLiteral("brevnote-search-%1").arg(next.fetchAndAddRelaxed(1));
}

DumpIndex::~DumpIndex() {
    closeConnection();
}

void DumpIndex::openConnection(const QString &target) {
    closeConnection();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        m_unusable = true;
        throw AppError(QStringLiteral("A busca precisa do driver SQLite do Qt (pacote "
                                      "libqt6sql6-sqlite), que não foi encontrado."));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(target);
    if (!db.open())
        throw AppError(db.lastError().text());
}

void DumpIndex::closeConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (!db.isValid())
            return;
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_inTransaction = false;
    m_pendingLimitSet = false;
}

void DumpIndex::fail(const QSqlError &error) {
    m_damaged = isDamageCode(error);
    throw AppError(error.text());
}

QSqlQuery DumpIndex::exec(const QString &sql) {
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    if (!query.exec(sql))
        fail(query.lastError());
    return query;
}

void DumpIndex::prepareSchema() {
    // The index can always be made again from the dumps: a lost write costs a rebuild only.
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
    exec(QStringLiteral("PRAGMA cache_size = -16000"));
    // FTS5 is part of Debian's SQLite; say so plainly when a system lacks it.
    QSqlQuery probe(QSqlDatabase::database(m_connection, false));
    if (!probe.exec(QStringLiteral("CREATE VIRTUAL TABLE temp.fts5_probe USING fts5(x)"))) {
        m_unusable = true;
        throw AppError(QStringLiteral("O SQLite deste sistema não tem FTS5; a busca não "
                                      "funciona sem ele (%1).")
                           .arg(probe.lastError().databaseText()));
    }
    exec(QStringLiteral("DROP TABLE temp.fts5_probe"));

    QSqlQuery header = exec(QStringLiteral("PRAGMA application_id"));
    const int applicationId = header.next() ? header.value(0).toInt() : 0;
    QSqlQuery version = exec(QStringLiteral("PRAGMA user_version"));
    const int schema = version.next() ? version.value(0).toInt() : 0;
    QSqlQuery tables = exec(QStringLiteral("SELECT count(*) FROM sqlite_schema"));
    const int tableCount = tables.next() ? tables.value(0).toInt() : 0;

    if (applicationId == kApplicationId && schema == kSchemaVersion)
        return;
    if (tableCount > 0 || applicationId != 0)
        throw AppError(QStringLiteral("not this program's index"));

    exec(QStringLiteral("BEGIN"));
    exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId));
    exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    // AUTOINCREMENT: a forgotten dump's number is never given again, since its words stay
    // in the FTS5 table under that number.
    exec(QStringLiteral("CREATE TABLE dumps(id INTEGER PRIMARY KEY AUTOINCREMENT, path TEXT NOT "
                        "NULL UNIQUE, size INTEGER NOT NULL, modified INTEGER NOT NULL, stamp "
                        "INTEGER NOT NULL)"));
    exec(QStringLiteral("CREATE TABLE forgotten(id INTEGER PRIMARY KEY)"));
    // Contentless: the texts stay in their files. Positions are kept (detail=full) for
    // phrases.
    exec(QStringLiteral("CREATE VIRTUAL TABLE texts USING fts5(body, content='', "
                        "tokenize='unicode61 remove_diacritics 2', detail=full)"));
    exec(QStringLiteral("COMMIT"));
}

QString DumpIndex::open(const QString &path) {
    m_path = path;
    m_inMemory = false;
    m_setAside.clear();
    QString reason;
    try {
        openConnection(path);
        prepareSchema();
        return {};
    } catch (const AppError &error) {
        reason = error.message();
        // Without a driver or FTS5 no file would help.
        if (m_unusable)
            throw;
    }
    closeConnection();
    if (taken(path)) {
        // Damaged, foreign or from another version: kept for a look, and a new one made.
        try {
            setAsideAndRecreate();
            return {};
        } catch (const AppError &error) {
            reason = error.message();
        }
    }
    // The folder takes no file at all.
    return openInMemory(reason);
}

QString DumpIndex::openInMemory(const QString &reason) {
    closeConnection();
    m_inMemory = true;
    m_damaged = false;
    openConnection(kMemory);
    prepareSchema();
    return QStringLiteral("O índice não pôde ser gravado em %1 (%2); nesta execução ele fica "
                          "só na memória.")
        .arg(QFileInfo(m_path).absolutePath(), reason);
}

QString DumpIndex::setAsideAndRecreate() {
    closeConnection();
    m_damaged = false;
    if (m_inMemory) {
        openInMemory({});
        return {};
    }
    const QString stem = m_path + u'.' + CompactDateTimeText(currentDateTime());
    QString aside = stem + QStringLiteral(".ilegivel");
    for (int n = 2; taken(aside); ++n)
        aside = stem + u'-' + QString::number(n) + QStringLiteral(".ilegivel");
    if (!QFile::rename(m_path, aside))
        throw AppError(QStringLiteral("Cannot rename %1").arg(m_path));
    // A journal left beside the old file belongs to it, not to the new one.
    for (const QString &suffix : kCompanions) {
        if (taken(m_path + suffix))
            QFile::rename(m_path + suffix, aside + suffix);
    }
    std::fprintf(stderr, "Brevnote: search index set aside as %s\n",
                 aside.toLocal8Bit().constData());
    m_setAside = aside;
    openConnection(m_path);
    prepareSchema();
    return aside;
}

QHash<QString, DumpIndex::Known> DumpIndex::knownDumps() {
    QHash<QString, Known> known;
    QSqlQuery query = exec(QStringLiteral("SELECT path, id, size, modified FROM dumps"));
    while (query.next())
        known.insert(query.value(0).toString(),
                     {query.value(1).toLongLong(), query.value(2).toLongLong(),
                      query.value(3).toLongLong()});
    return known;
}

qint64 DumpIndex::dumpCount() {
    QSqlQuery query = exec(QStringLiteral("SELECT count(*) FROM dumps"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

qint64 DumpIndex::forgottenCount() {
    QSqlQuery query = exec(QStringLiteral("SELECT count(*) FROM forgotten"));
    return query.next() ? query.value(0).toLongLong() : 0;
}

void DumpIndex::clear() {
    exec(QStringLiteral("DELETE FROM dumps"));
    exec(QStringLiteral("DELETE FROM forgotten"));
    // A contentless table is emptied by its own command.
    exec(QStringLiteral("INSERT INTO texts(texts) VALUES('delete-all')"));
    exec(QStringLiteral("DELETE FROM sqlite_sequence"));
}

void DumpIndex::begin() {
    if (m_inTransaction)
        return;
    exec(QStringLiteral("BEGIN"));
    m_inTransaction = true;
    if (!m_pendingLimitSet) {
        m_pendingLimitSet = true;
        // Kept in the index's own settings. Best effort: an SQLite without this setting
        // indexes the same words, only more slowly.
        QSqlQuery limit(QSqlDatabase::database(m_connection, false));
        limit.exec(QStringLiteral("INSERT INTO texts(texts, rank) VALUES('hashsize', %1)")
                       .arg(kPendingBytes));
    }
}

void DumpIndex::commit() {
    if (m_inTransaction) {
        m_inTransaction = false;
        exec(QStringLiteral("COMMIT"));
    }
}

bool DumpIndex::mergeSome(int pages) {
    commit();
    const auto changes = [this] {
        QSqlQuery query = exec(QStringLiteral("SELECT total_changes()"));
        return query.next() ? query.value(0).toLongLong() : 0;
    };
    const qint64 before = changes();
    // A negative count merges every level, not only those with enough segments.
    exec(QStringLiteral("INSERT INTO texts(texts, rank) VALUES('merge', %1)").arg(-pages));
    // FTS5 counts at least two changes when it merged anything.
    return changes() - before >= 2;
}

bool DumpIndex::addDump(const DumpFile &dump) {
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery find(db);
    find.prepare(QStringLiteral("SELECT size, modified FROM dumps WHERE path = ?"));
    find.addBindValue(dump.path);
    if (!find.exec())
        fail(find.lastError());
    if (find.next()) {
        if (find.value(0).toLongLong() == dump.size && find.value(1).toLongLong() == dump.modified)
            return false;
        find.finish();
        removeDump(dump.path);
    }
    const QString text = readDumpText(dump.path);

    const bool own = !m_inTransaction;
    begin();
    QSqlQuery row(db);
    // Not RETURNING: such a statement opens a savepoint, and FTS5 writes the words it holds
    // in memory out at every savepoint, one small segment per dump, merged again and again.
    row.prepare(
        QStringLiteral("INSERT INTO dumps(path, size, modified, stamp) VALUES(?, ?, ?, ?)"));
    row.addBindValue(dump.path);
    row.addBindValue(dump.size);
    row.addBindValue(dump.modified);
    row.addBindValue(dump.stamp);
    if (!row.exec())
        fail(row.lastError());
    const qint64 id = row.lastInsertId().toLongLong();
    QSqlQuery words(db);
    words.prepare(QStringLiteral("INSERT INTO texts(rowid, body) VALUES(?, ?)"));
    words.addBindValue(id);
    words.addBindValue(text);
    if (!words.exec())
        fail(words.lastError());
    if (own)
        commit();
    return true;
}

void DumpIndex::removeDump(const QString &path) {
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery forget(db);
    forget.prepare(QStringLiteral("INSERT INTO forgotten(id) SELECT id FROM dumps WHERE path = ?"));
    forget.addBindValue(path);
    QSqlQuery drop(db);
    drop.prepare(QStringLiteral("DELETE FROM dumps WHERE path = ?"));
    drop.addBindValue(path);
    if (!forget.exec())
        fail(forget.lastError());
    if (!drop.exec())
        fail(drop.lastError());
}

QList<SearchHit> DumpIndex::search(const SearchQuery &query, int limit) {
    QList<SearchHit> hits;
    if (query.isEmpty() || limit <= 0)
        return hits;
    QSqlQuery select(QSqlDatabase::database(m_connection, false));
    select.setForwardOnly(true);
    // Forgotten dumps' words are still in `texts`: the join leaves them out.
    select.prepare(QStringLiteral(
        "SELECT d.path, d.stamp, m.score FROM (SELECT rowid AS id, bm25(texts) AS score FROM "
        "texts WHERE texts MATCH ?) AS m JOIN dumps AS d ON d.id = m.id ORDER BY m.score, "
        "d.stamp DESC, d.path DESC LIMIT ?"));
    select.addBindValue(query.match);
    select.addBindValue(limit);
    if (!select.exec())
        fail(select.lastError());
    while (select.next())
        hits.append(
            {select.value(0).toString(), select.value(1).toLongLong(), select.value(2).toDouble()});
    return hits;
}

} // namespace brevnote
