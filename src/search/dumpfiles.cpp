#include "dumpfiles.h"

#include "dumpname.h"

#include "util/core/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace brevnote {

namespace {

std::optional<DumpFile> dumpFromInfo(const QFileInfo &info) {
    const std::optional<DumpName> name = parseDumpFileName(info.fileName());
    if (!name || !info.isFile())
        return std::nullopt;
    return DumpFile{info.absoluteFilePath(), info.size(), info.lastModified().toMSecsSinceEpoch(),
                    dumpStamp(*name)};
}

} // namespace

QList<DumpFile> listDumpFiles(const QStringList &folders) {
    QList<DumpFile> dumps;
    QSet<QString> seen;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        // The same folder named twice (the program folder may be the data folder) counts once.
        const QString canonical = dir.canonicalPath();
        if (canonical.isEmpty() || seen.contains(canonical))
            continue;
        seen.insert(canonical);
        const QFileInfoList entries =
            dir.entryInfoList({QStringLiteral("Brevnote*.txt")}, QDir::Files | QDir::Hidden);
        for (const QFileInfo &info : entries) {
            if (std::optional<DumpFile> dump = dumpFromInfo(info))
                dumps.append(*dump);
        }
    }
    std::stable_sort(dumps.begin(), dumps.end(),
                     [](const DumpFile &a, const DumpFile &b) { return a.stamp > b.stamp; });
    return dumps;
}

std::optional<DumpFile> dumpFileAt(const QString &path) {
    return dumpFromInfo(QFileInfo(path));
}

QString readDumpText(const QString &path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes;
    constexpr qint64 kChunk = 1024 * 1024;
    while (bytes.size() < limit) {
        const QByteArray chunk = file.read(qMin(kChunk, limit - bytes.size()));
        // Empty at the end and on a read error: what came so far is the text.
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    QString text = decodeText(bytes);
    // A binary file's NUL bytes end no word in SQLite's view of the text; a blank does.
    text.replace(QChar(u'\0'), QChar(u' '));
    return text;
}

} // namespace brevnote
