#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Writing the closing dump: the whole text of the pad, as lines, into a dated file.
namespace brevnote {

// `text` is the pad's text with its lines separated by '\n' or, as the editor's raw text
// has them (QTextDocument::toRawText), by U+2029; no copy is made to turn one into the other.

// Writes the lines (each followed by CR LF, through the codec and the safe writer) to
// folder + "/" + fileName, replacing a file of that name, and returns the path. Raises
// AppError naming the file when it cannot be written.
QString writeClosingDump(const QString &folder, const QString &fileName, const QString &text);

struct ClosingDumpOutcome {
    QString path;       // where the dump went; empty when it went nowhere
    QStringList errors; // one message per folder that failed, in the order tried
};

// For the endings that cannot stop to ask (session end, termination signals): tries each
// folder in turn and stops at the first that takes the file. Never raises; when every
// folder fails, the errors are also written to standard error, the last place left to
// report them.
ClosingDumpOutcome writeClosingDumpSomewhere(const QStringList &folders, const QString &fileName,
                                             const QString &text);

// The same with folders that are looked up (and created) only when their turn comes, so a
// fallback folder that is not needed is never made.
using DumpFolderSource = std::function<QString()>;
ClosingDumpOutcome writeClosingDumpSomewhere(const QList<DumpFolderSource> &folders,
                                             const QString &fileName, const QString &text);

} // namespace brevnote
