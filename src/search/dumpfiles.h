#pragma once

#include "textfold.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The dump files on disk: which there are, and their text as far as it can be read.
namespace brevnote {

struct DumpFile {
    QString path; // absolute, without links resolved
    qint64 size = 0;
    qint64 modified = 0; // ms since the epoch
    qint64 stamp = 0;    // the time in the name, see dumpStamp()
};

// Every dump (closing and recovered) in the folders, each file once, newest first. Folders
// that do not exist are skipped.
QList<DumpFile> listDumpFiles(const QStringList &folders);

// A dump's size and times now; nothing when it is not a regular file with a dump's name.
std::optional<DumpFile> dumpFileAt(const QString &path);

// The text of a dump through the program's codec, read as far as it reads: a file that
// cannot be opened gives an empty text, a read error keeps what came before it, and only the
// first `limit` bytes are taken. Never raises.
constexpr qint64 kDumpReadLimit = 64 * 1024 * 1024;
QString readDumpText(const QString &path, qint64 limit = kDumpReadLimit);

// makeExcerpt(readDumpText(path), terms), with the text decoded and looked through a piece of
// this many bytes at a time, only as far as the excerpt needs.
constexpr qsizetype kDumpPieceBytes = 16 * 1024;
Excerpt dumpExcerpt(const QString &path, const QList<SearchTerm> &terms,
                    qint64 limit = kDumpReadLimit);

} // namespace brevnote
