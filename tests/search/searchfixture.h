#pragma once

#include "search/dumpindex.h"
#include "search/searchindexer.h"
#include "support/testfiles.h"
#include "util/core/textcodec.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace brevnote::test {

// Writes a dump the way the pad does (codec, CR LF) and returns its path.
inline QString writeDump(const QString &folder, const QString &name, const QString &text) {
    QDir().mkpath(folder);
    const QString path = folder + u'/' + name;
    writeLinesFile(path, splitLines(text));
    return path;
}

// A search thread over `folders` with its index at `indexPath`, started and indexed.
class IndexedService final {
public:
    IndexedService(const QString &indexPath, const QStringList &folders, int idleCloseMs = -1)
        : service(std::make_unique<SearchService>(indexPath, folders)) {
        if (idleCloseMs >= 0)
            service->setIdleCloseMs(idleCloseMs);
        service->start();
        QTRY_VERIFY_WITH_TIMEOUT(!service->indexing(), 20000);
    }

    // The file names found for the query, best first.
    QStringList find(const QString &text, int limit = 100) const {
        QSignalSpy spy(service.get(), &SearchService::found);
        const quint64 id = service->search(text, limit);
        for (int waited = 0; waited < 200; ++waited) {
            for (const QList<QVariant> &answer : std::as_const(spy)) {
                if (answer.at(0).toULongLong() == id) {
                    lastResults = answer.at(1).value<QList<SearchResult>>();
                    QStringList names;
                    for (const SearchResult &result : std::as_const(lastResults))
                        names.append(QFileInfo(result.path).fileName());
                    return names;
                }
            }
            spy.wait(100);
        }
        return {QStringLiteral("<no answer>")};
    }

    std::unique_ptr<SearchService> service;
    mutable QList<SearchResult> lastResults;
};

} // namespace brevnote::test
