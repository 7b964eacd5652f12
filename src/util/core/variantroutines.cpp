#include "util/core/variantroutines.h"

#include <QDate>
#include <QDateTime>

#include <optional>

namespace brevnote {

namespace {

bool isDateTime(const QVariant &value) {
    const int type = value.metaType().id();
    return type == QMetaType::QDateTime || type == QMetaType::QDate;
}

bool isNumber(const QVariant &value) {
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A date-time as the days since 30 December 1899 with the time of day as the fraction, so a
// date-time can be compared with a plain number the way the record fields were designed for.
double dayNumber(const QVariant &value) {
    static const QDate origin(1899, 12, 30);
    if (value.metaType().id() == QMetaType::QDate)
        return double(origin.daysTo(value.toDate()));
    const QDateTime dateTime = value.toDateTime();
    return double(origin.daysTo(dateTime.date())) +
           double(dateTime.time().msecsSinceStartOfDay()) / 86400000.0;
}

bool isComparable(const QVariant &value) {
    if (isDateTime(value))
        return value.toDateTime().isValid() || value.toDate().isValid();
    return isNumber(value);
}

// Negative, zero or positive as `a` is below, equal to or above `b`; nothing when they do
// not compare.
std::optional<int> compareValues(const QVariant &a, const QVariant &b) {
    if (isDateTime(a) && isDateTime(b)) {
        const QDateTime left =
            a.metaType().id() == QMetaType::QDate ? a.toDate().startOfDay() : a.toDateTime();
        const QDateTime right =
            b.metaType().id() == QMetaType::QDate ? b.toDate().startOfDay() : b.toDateTime();
        return left < right ? -1 : (right < left ? 1 : 0);
    }
    if (isNumber(a) && isNumber(b)) {
        const QPartialOrdering order = QVariant::compare(a, b);
        if (order == QPartialOrdering::Less)
            return -1;
        if (order == QPartialOrdering::Greater)
            return 1;
        if (order == QPartialOrdering::Equivalent)
            return 0;
        return std::nullopt; // NaN
    }
    const double left = isDateTime(a) ? dayNumber(a) : a.toDouble();
    const double right = isDateTime(b) ? dayNumber(b) : b.toDouble();
    return left < right ? -1 : (right < left ? 1 : 0);
}

} // namespace

QVariant IfThenVariant(bool flag, const QVariant &ifTrue, const QVariant &ifFalse) {
    return flag ? ifTrue : ifFalse;
}

QVariant MaxVariant(const QVariant &first, const QVariant &second) {
    // An empty value, or one that is neither a number nor a date-time, never wins over a
    // comparable one; between two such values the first is kept.
    const bool firstComparable = isComparable(first);
    const bool secondComparable = isComparable(second);
    if (!firstComparable || !secondComparable)
        return (!firstComparable && secondComparable) ? second : first;
    const std::optional<int> order = compareValues(first, second);
    return (order && *order < 0) ? second : first;
}

} // namespace brevnote
