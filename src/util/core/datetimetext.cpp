#include "util/core/datetimetext.h"

#include "util/core/clock.h"
#include "util/core/textroutines.h"

#include <array>

namespace brevnote {

namespace {

// The number written by `digits` ASCII digits at `from`; -1 when any of them is not a digit.
int digitsAt(QStringView text, qsizetype from, int digits) {
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const QChar c = text.at(from + i);
        if (!IsDigitChar(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

constexpr qsizetype kDateLength = 10; // dd/MM/yyyy
constexpr qsizetype kTimeLength = 8;  // HH:mm:ss

QDate parseDate(QStringView text) {
    if (text.size() != kDateLength || text.at(2) != u'/' || text.at(5) != u'/')
        return {};
    const int day = digitsAt(text, 0, 2);
    const int month = digitsAt(text, 3, 2);
    const int year = digitsAt(text, 6, 4);
    if (day < 0 || month < 0 || year < 0)
        return {};
    return QDate(year, month, day); // invalid for 31/02 and the like
}

QTime parseTime(QStringView text) {
    if (text.size() != kTimeLength || text.at(2) != u':' || text.at(5) != u':')
        return {};
    const int hour = digitsAt(text, 0, 2);
    const int minute = digitsAt(text, 3, 2);
    const int second = digitsAt(text, 6, 2);
    if (hour < 0 || minute < 0 || second < 0)
        return {};
    return QTime(hour, minute, second); // invalid for 24:00:00 and the like
}

} // namespace

QString MonthAbbrev(int month) {
    static const std::array<QString, 12> names = {
        QStringLiteral("Jan"), QStringLiteral("Fev"), QStringLiteral("Mar"), QStringLiteral("Abr"),
        QStringLiteral("Mai"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Ago"),
        QStringLiteral("Set"), QStringLiteral("Out"), QStringLiteral("Nov"), QStringLiteral("Dez")};
    // A month outside 1..12 has no name rather than reading past the table.
    if (month < 1 || month > 12)
        return QString();
    return names[std::size_t(month - 1)];
}

QString WeekdayAbbrev(const QDate &date) {
    // Indexed by QDate::dayOfWeek(): 1 is Monday, 7 is Sunday.
    static const std::array<QString, 7> names = {QStringLiteral("Seg"), QStringLiteral("Ter"),
                                                 QStringLiteral("Qua"), QStringLiteral("Qui"),
                                                 QStringLiteral("Sex"), QStringLiteral("S\u00E1b"),
                                                 QStringLiteral("Dom")};
    if (!date.isValid())
        return QString();
    return names[std::size_t(date.dayOfWeek() - 1)];
}

QString FormatDateTimeBR(bool weekday, bool emptyForZero, const QDateTime &value) {
    QDateTime moment = value;
    if (!moment.isValid()) {
        if (emptyForZero)
            return QString();
        moment = currentDateTime();
    }
    const QDate date = moment.date();
    const QTime time = moment.time();
    // Seconds are dropped, never rounded into the minute.
    QString text = ZeroPad(2, date.day()) + u'/' + MonthAbbrev(date.month()) + u'/' +
                   ZeroPad(4, date.year()) + u' ' + ZeroPad(2, time.hour()) + u':' +
                   ZeroPad(2, time.minute());
    if (weekday)
        text.prepend(WeekdayAbbrev(date) + u' ');
    return text;
}

QString IniDateText(const QDate &date) {
    if (!date.isValid())
        return QString();
    return ZeroPad(2, date.day()) + u'/' + ZeroPad(2, date.month()) + u'/' +
           ZeroPad(4, date.year());
}

QString IniTimeText(const QTime &time) {
    if (!time.isValid())
        return QString();
    return ZeroPad(2, time.hour()) + u':' + ZeroPad(2, time.minute()) + u':' +
           ZeroPad(2, time.second());
}

QString IniDateTimeText(const QDateTime &value) {
    if (!value.isValid())
        return QString();
    return IniDateText(value.date()) + u' ' + IniTimeText(value.time());
}

QDate ParseIniDate(const QString &text) {
    return parseDate(QStringView(TrimBlanks(text)));
}

QTime ParseIniTime(const QString &text) {
    return parseTime(QStringView(TrimBlanks(text)));
}

bool ParseIniDateTimeParts(const QString &text, QDate *date, QTime *time) {
    const QString trimmed = TrimBlanks(text);
    const QStringView view(trimmed);
    if (view.size() != kDateLength + 1 + kTimeLength || view.at(kDateLength) != u' ')
        return false;
    *date = parseDate(view.first(kDateLength));
    *time = parseTime(view.sliced(kDateLength + 1));
    return date->isValid() && time->isValid();
}

QDateTime ParseIniDateTime(const QString &text) {
    QDate date;
    QTime time;
    if (!ParseIniDateTimeParts(text, &date, &time))
        return {};
    return QDateTime(date, time);
}

QString CompactDateTimeText(const QDateTime &value) {
    if (!value.isValid())
        return QString();
    const QDate date = value.date();
    const QTime time = value.time();
    return ZeroPad(4, date.year()) + ZeroPad(2, date.month()) + ZeroPad(2, date.day()) +
           ZeroPad(2, time.hour()) + ZeroPad(2, time.minute()) + ZeroPad(2, time.second());
}

} // namespace brevnote
