#include "mastertexts.h"

#include "util/core/datetimetext.h"
#include "util/core/textroutines.h"

namespace brevnote {

namespace {

QString hyphenRule() {
    return RepeatText(QStringLiteral("-"), 20);
}

// The banner lines are inserted one by one as the new first line, so they end up in the
// reverse of the order they are listed in; this gives that final order directly.
QStringList bannerLines(const QString &heading, const QDateTime &when, int blankLines) {
    QStringList lines;
    for (int i = 0; i < blankLines; ++i)
        lines.append(QStringLiteral(" "));
    lines << hyphenRule() << heading << FormatDateTimeBR(false, true, when) << hyphenRule();
    return lines;
}

} // namespace

QString masterCaption(const QString &title, const QString &version) {
    return title + QStringLiteral(" [") + version + u']';
}

QStringList bootBannerLines(const QDateTime &when) {
    return bannerLines(QStringLiteral("Boot:"), when, 3);
}

QStringList closingBannerLines(const QDateTime &when) {
    return bannerLines(QStringLiteral("Finalizado:"), when, 2);
}

QString closingDumpFileName(const QDateTime &when) {
    return QStringLiteral("Brevnote") + CompactDateTimeText(when) + QStringLiteral(".txt");
}

namespace {

QString longTimeFormat(const QLocale &locale) {
    // The desktop's long time shows hours, minutes and seconds; Qt's long format adds the time
    // zone ("t"), which a clock in the status bar does not need.
    QStringList parts = locale.timeFormat(QLocale::LongFormat).split(u' ', Qt::SkipEmptyParts);
    parts.removeIf(
        [](const QString &part) { return !part.isEmpty() && part.count(u't') == part.size(); });
    return parts.join(u' ');
}

} // namespace

QString checkTimerText(const QDateTime &when, const QLocale &locale) {
    return QStringLiteral("CheckTimer em ") + locale.toString(when.date(), QLocale::ShortFormat) +
           u' ' + locale.toString(when.time(), longTimeFormat(locale));
}

} // namespace brevnote
