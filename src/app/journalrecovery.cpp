#include "journalrecovery.h"

#include "crashjournal.h"
#include "mastertexts.h"

#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace brevnote {

namespace {

const QString kRecoveredSuffix = QStringLiteral(".recuperado.txt");

bool taken(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The recovered dump's path in `folder`: the plain name, else the same with "-2", "-3"...
QString freeRecoveredPath(const QString &folder, const QDateTime &when) {
    const QString name = recoveredDumpFileName(when);
    const QString stem = folder + u'/' + name.chopped(kRecoveredSuffix.size());
    QString path = stem + kRecoveredSuffix;
    for (int n = 2; taken(path); ++n)
        path = stem + u'-' + QString::number(n) + kRecoveredSuffix;
    return path;
}

// The journal under a name no one else uses, for a journal that cannot be read.
QString freeAsidePath(const QString &journal, const QDateTime &when) {
    const QString stem = journal + u'.' + CompactDateTimeText(when);
    QString path = stem + QStringLiteral(".ilegivel");
    for (int n = 2; taken(path); ++n)
        path = stem + u'-' + QString::number(n) + QStringLiteral(".ilegivel");
    return path;
}

void report(const char *what, const QString &path) {
    std::fprintf(stderr, "Brevnote: %s %s\n", what, path.toLocal8Bit().constData());
}

} // namespace

QString recoveredDumpFileName(const QDateTime &when) {
    return closingDumpFileName(when).chopped(4) + kRecoveredSuffix;
}

JournalRecovery recoverJournal(const QString &dataFolder, const QStringList &fallbackFolders) {
    const QString journal = dataFolder + u'/' + journalFileName();
    const QFileInfo info(journal);
    if (!taken(journal))
        return {};
    // Named after the journal's last write: the moment the text it holds was typed.
    const QDateTime modified = info.lastModified();
    const QDateTime when = modified.isValid() ? modified : currentDateTime();

    QFile file(journal);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        const QString aside = freeAsidePath(journal, when);
        if (QFile::rename(journal, aside)) {
            report("could not read the journal; kept it as", aside);
            return {JournalRecovery::Outcome::KeptAside, aside};
        }
        report("could neither read nor move the journal", journal);
        return {JournalRecovery::Outcome::Stuck, journal};
    }
    file.close();

    // A rename in the same folder moves the bytes as they are, whatever their size.
    const QString recovered = freeRecoveredPath(dataFolder, when);
    if (QFile::rename(journal, recovered))
        return {JournalRecovery::Outcome::Recovered, recovered};

    // The data folder takes no new name: copy the text to a folder that does.
    if (!file.open(QIODevice::ReadOnly))
        return {JournalRecovery::Outcome::Stuck, journal};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {JournalRecovery::Outcome::Stuck, journal};
    file.close();
    for (const QString &folder : fallbackFolders) {
        if (folder.isEmpty())
            continue;
        const QString path = freeRecoveredPath(QDir::cleanPath(folder), when);
        try {
            writeFileSafely(path, bytes);
        } catch (const AppError &) {
            continue;
        }
        // When the journal cannot go either, the next start recovers it once more: a
        // second copy rather than a lost text.
        QFile::remove(journal);
        return {JournalRecovery::Outcome::Recovered, path};
    }
    report("could not recover the journal", journal);
    return {JournalRecovery::Outcome::Stuck, journal};
}

} // namespace brevnote
