#include "closingdump.h"

#include "util/core/apperror.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <cstdio>

namespace brevnote {

QString writeClosingDump(const QString &folder, const QString &fileName, const QString &text) {
    const QString path = JoinWithSeparator(folder, fileName, QStringLiteral("/"));
    writeFileSafely(path, encodeParagraphs(text));
    return path;
}

ClosingDumpOutcome writeClosingDumpSomewhere(const QStringList &folders, const QString &fileName,
                                             const QString &text) {
    QList<DumpFolderSource> sources;
    for (const QString &folder : folders)
        sources.append([folder] { return folder; });
    return writeClosingDumpSomewhere(sources, fileName, text);
}

ClosingDumpOutcome writeClosingDumpSomewhere(const QList<DumpFolderSource> &folders,
                                             const QString &fileName, const QString &text) {
    ClosingDumpOutcome outcome;
    for (const DumpFolderSource &source : folders) {
        const QString folder = source();
        if (folder.isEmpty())
            continue;
        try {
            outcome.path = writeClosingDump(folder, fileName, text);
            return outcome;
        } catch (const AppError &error) {
            outcome.errors.append(error.message());
        }
    }
    if (outcome.errors.isEmpty())
        outcome.errors.append(QStringLiteral("No folder to write %1 to").arg(fileName));
    for (const QString &message : std::as_const(outcome.errors))
        std::fprintf(stderr, "Brevnote: %s\n", message.toLocal8Bit().constData());
    std::fprintf(stderr, "Brevnote: the text of this run could not be saved.\n");
    return outcome;
}

} // namespace brevnote
