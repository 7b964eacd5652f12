#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The program's own date-time text. A null QDateTime stands for the date-time value 0 (no date).
namespace brevnote {

// dd/Mmm/yyyy hh:nn, for example 08/Dez/2026 03:30; with `weekday`, "Ter " in front.
QString FormatDateTimeBR(bool weekday, bool emptyForZero, const QDateTime &value);
QString WeekdayAbbrev(const QDate &date);
QString MonthAbbrev(int month);

// The fixed formats of dates and times inside INI files: dd/MM/yyyy and HH:mm:ss.
QString IniDateText(const QDate &date);
QString IniTimeText(const QTime &time);
QString IniDateTimeText(const QDateTime &value);
QDate ParseIniDate(const QString &text);         // invalid QDate when it does not parse
QTime ParseIniTime(const QString &text);         // invalid QTime when it does not parse
QDateTime ParseIniDateTime(const QString &text); // invalid QDateTime when it does not parse
// The same text as its two parts, without building a QDateTime (which looks up the time zone);
// false when it does not parse.
bool ParseIniDateTimeParts(const QString &text, QDate *date, QTime *time);

// "yyyymmddhhmmss" of the closing dumps.
QString CompactDateTimeText(const QDateTime &value);

} // namespace brevnote
