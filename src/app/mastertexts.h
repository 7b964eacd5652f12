#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

// The texts the main window writes: its caption, the banners it puts at the top of the
// text, the closing dump's file name and the reminder-check line of the status bar.
namespace brevnote {

// "Brevnote [2026.12.8]": the title, a blank and the version in brackets.
QString masterCaption(const QString &title, const QString &version);

// The boot banner as it reads from the top once inserted: three lines of one blank, 20
// hyphens, "Boot:", the date-time, 20 hyphens.
QStringList bootBannerLines(const QDateTime &when);

// The closing banner as it reads from the top once inserted: two lines of one blank, 20
// hyphens, "Finalizado:", the date-time, 20 hyphens.
QStringList closingBannerLines(const QDateTime &when);

// "Brevnote" + yyyymmddhhmmss + ".txt".
QString closingDumpFileName(const QDateTime &when);

// "CheckTimer em " + the locale's short date, a blank and its long time.
QString checkTimerText(const QDateTime &when, const QLocale &locale);

} // namespace brevnote
