#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// The update-history page: an HTML file telling users what each release changed, made from a
// fixed template and marked with the program's version before each edit.
namespace brevnote {

// The template's 26 lines, with the placeholders "[SISTEMA]", "[DATA]" and "[VERSÃO]".
QStringList HistoryTemplate();

// The template as one text (lines ended by CR LF) with every "[SISTEMA]" replaced by `title`,
// then every "[DATA]" by `date` as dd.mm.yyyy, then every "[VERSÃO]" by `version`, letter case
// exact. The "VERSÃO" of the comment line has no brackets and stays.
QString HistoryPageText(const QString &title, const QDate &date, const QString &version);

// Installs/<program file base name in lower case>.htm in the program folder; creates the
// folder Installs when missing.
QString DefaultHistoryPath();

// Writes the page made from the template at `path` unless a file is already there; true when
// it wrote one. Raises AppError when the page cannot be written.
bool CreateHistoryPage(const QString &path, const QString &title, const QDate &date,
                       const QString &version);

// The lines with the version marker "[AppVer=<version>]" set: the first line whose text before
// its first "=" is "[AppVer" (letter case aside) is replaced; without one the marker is
// appended as the last line.
QStringList StampVersionMarker(QStringList lines, const QString &version);

// Stamps the marker into the page file; a missing file is left alone (false). Raises AppError
// when the page cannot be read or written.
bool StampVersionMarkerInFile(const QString &path, const QString &version);

// True when `entries` holds `path`, letter case aside.
bool ListHoldsPath(const QStringList &entries, const QString &path);

} // namespace brevnote
