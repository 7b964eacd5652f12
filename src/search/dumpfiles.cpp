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

namespace {

QByteArray readDumpBytes(const QString &path, qint64 limit) {
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
    return bytes;
}

// A binary file's NUL bytes end no word in SQLite's view of the text; a blank does.
void blankNuls(QString &text, qsizetype from) {
    // Looking is much faster than replacing, and most texts have none.
    for (qsizetype at = text.indexOf(QChar(u'\0'), from); at >= 0;
         at = text.indexOf(QChar(u'\0'), at + 1))
        text[at] = u' ';
}

} // namespace

QString readDumpText(const QString &path, qint64 limit) {
    QString text = decodeText(readDumpBytes(path, limit));
    blankNuls(text, 0);
    return text;
}

Excerpt dumpExcerpt(const QString &path, const QList<SearchTerm> &terms, qint64 limit) {
    // All the bytes are read (a dump is soon read; deciding its encoding needs them all), but
    // only the pieces looked through are decoded and folded.
    TextPieceDecoder decoder(readDumpBytes(path, limit));
    return makeExcerpt(
        [&decoder](QString &text) {
            const qsizetype from = text.size();
            if (!decoder.decodeMore(text, kDumpPieceBytes))
                return false;
            blankNuls(text, from);
            return true;
        },
        terms);
}

} // namespace brevnote
