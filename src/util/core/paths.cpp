#include "util/core/paths.h"

#include "util/core/clock.h"
#include "util/core/platform.h"
#include "util/core/textroutines.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace brevnote {

namespace {

constexpr qint64 kHundredthsPerDay = 24 * 60 * 60 * 100;

// Hundredths of a second counted from a fixed day, so readings on both sides of midnight stay
// in order; the name uses the part since midnight.
qint64 clockHundredths() {
    const QDateTime now = currentDateTime();
    return now.date().toJulianDay() * kHundredthsPerDay + now.time().msecsSinceStartOfDay() / 10;
}

// A dangling link counts as taken too: writing through it would create its target.
bool nameIsTaken(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString clockName(const QString &folder, qint64 hundredths, const QString &extension) {
    return JoinWithSeparator(folder, ZeroPad(7, hundredths % kHundredthsPerDay) + extension,
                             QStringLiteral("/"));
}

// A free name of seven digits (the hundredths of a second since midnight) and the extension.
// Each attempt reads the clock afresh; when the clock has not moved on since the last name
// tried (a fast loop, or a clock fixed by a test) the next hundredth is tried instead of
// waiting for it, so the loop never spins and ends after at most one day's worth of names.
QString freeClockName(const QString &extension) {
    const QString folder = TempFolder();
    qint64 tried = clockHundredths();
    QString candidate = clockName(folder, tried, extension);
    for (qint64 attempt = 1; attempt < kHundredthsPerDay && nameIsTaken(candidate); ++attempt) {
        tried = std::max(clockHundredths(), tried + 1);
        candidate = clockName(folder, tried, extension);
    }
    // Every one of the day's names taken: add a counter rather than hand back a taken name.
    const QString taken = candidate;
    for (int counter = 1; nameIsTaken(candidate); ++counter) {
        const qsizetype dot = taken.size() - extension.size();
        candidate = taken.left(dot) + u'-' + QString::number(counter) + extension;
    }
    return candidate;
}

} // namespace

QString ForceDirectoriesPath(const QString &path) {
    QDir dir;
    for (qsizetype at = path.indexOf(u'/'); at >= 0; at = path.indexOf(u'/', at + 1)) {
        if (at > 0)
            dir.mkdir(path.left(at));
    }
    if (!path.isEmpty())
        dir.mkdir(path);
    return path;
}

QString AppSubPath(const QString &subFolder, const QString &fileName) {
    const QString separator = QStringLiteral("/");
    const QString folder = JoinWithSeparator(platform::programFolder(), subFolder, separator);
    ForceDirectoriesPath(folder);
    if (fileName.isEmpty())
        return folder;
    return JoinWithSeparator(folder, fileName, separator);
}

QString TempFolder() {
    return platform::tempFolder();
}

QString TempFileName(const QString &nameOrExtension) {
    const QString part = nameOrExtension.mid(nameOrExtension.lastIndexOf(u'/') + 1);
    // ".." would name the folder above the temporary folder, not a file in it.
    if (TrimBlanks(part) == u"..")
        return freeClockName(QStringLiteral(".tmp"));
    const qsizetype dot = part.lastIndexOf(u'.');
    const QString extension = dot >= 0 ? part.mid(dot) : QString();
    const QString base = TrimBlanks(dot >= 0 ? part.left(dot) : part);
    if (!base.isEmpty())
        return JoinWithSeparator(TempFolder(), part, QStringLiteral("/"));

    const QString trimmedExtension = TrimBlanks(extension);
    return freeClockName(trimmedExtension.isEmpty() ? QStringLiteral(".tmp") : trimmedExtension);
}

QString WindowsDirectory() {
    return platform::configFolder();
}

bool IsDesignerRunning() {
    return platform::isDesignerRunning();
}

} // namespace brevnote
