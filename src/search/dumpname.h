#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The names the pad gives its dumps: "Brevnote" + yyyymmddhhmmss + ".txt" for a closing dump,
// "Brevnote" + yyyymmddhhmmss + ["-N"] + ".recuperado.txt" for a text recovered from a journal.
namespace brevnote {

struct DumpName {
    QDateTime when;         // from the name, local time
    bool recovered = false; // ".recuperado.txt"
};

// The date and kind of a dump file name (no folder); nothing for any other name.
std::optional<DumpName> parseDumpFileName(const QString &fileName);

// The name's time as a number that sorts like the time: yyyymmddhhmmss.
qint64 dumpStamp(const DumpName &name);

// "09/12/2026 11:45:26", with " (recuperado)" for a recovered text.
QString dumpCaption(const DumpName &name);

} // namespace brevnote
