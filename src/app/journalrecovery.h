#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The text of a run that did not end in order: at start-up, the journal it left behind is
// turned into a dump before this run writes a journal of its own.
namespace brevnote {

// The closing dump's name with ".recuperado" before ".txt":
// "Brevnote" + yyyymmddhhmmss + ".recuperado.txt".
QString recoveredDumpFileName(const QDateTime &when);

struct JournalRecovery {
    enum class Outcome {
        NoJournal, // nothing was left behind
        Recovered, // `path` is the recovered dump
        KeptAside, // the journal could not be read; `path` is its new name
        Stuck,     // neither recovered nor moved; `path` is the journal, left untouched
    };
    Outcome outcome = Outcome::NoJournal;
    QString path;
};

// Turns a journal left in `dataFolder` into a dump named by recoveredDumpFileName() after the
// journal's last write (with "-2", "-3"... before ".recuperado" when that name is taken: no
// file is ever replaced). The journal is renamed when it can be; otherwise its bytes go to
// the first of `fallbackFolders` that takes them. A journal that cannot be read is renamed
// aside, never deleted.
JournalRecovery recoverJournal(const QString &dataFolder, const QStringList &fallbackFolders);

} // namespace brevnote
