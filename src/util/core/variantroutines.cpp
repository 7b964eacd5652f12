#include "util/core/variantroutines.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace brevnote {

namespace {

bool isDateTime(const QVariant &value) {
    const int type = value.metaType().id();
    return type == QMetaType::QDateTime || type == QMetaType::QDate;
}

// A number as the widest type of its kind, so that signed, unsigned and floating values of
// any width compare by their value.
using Number = std::variant<qint64, quint64, double>;

std::optional<Number> numberOf(const QVariant &value) {
    switch (value.metaType().id()) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Number(value.toLongLong());
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return Number(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return Number(value.toDouble());
    default:
        return std::nullopt;
    }
}

bool isNumber(const QVariant &value) {
    return numberOf(value).has_value();
}

int sign(bool less, bool greater) {
    return less ? -1 : (greater ? 1 : 0);
}

// An integer against a double (not NaN), exactly: converting the integer alone could round
// it onto the double.
template<typename Int> int compareWithDouble(Int whole, double real) {
    const double rounded = double(whole);
    if (rounded != real)
        return sign(rounded < real, real < rounded); // rounding keeps the order
    // `real` is a whole number within one rounding of `whole`: compare it as an integer. The
    // type's maximum rounds up to a power of two above every value of the type.
    if (real >= double(std::numeric_limits<Int>::max()))
        return -1;
    const Int other = Int(real);
    return sign(whole < other, other < whole);
}

template<typename A, typename B> int compareNumbers(A a, B b) {
    if constexpr (std::is_integral_v<A> && std::is_integral_v<B>)
        return sign(std::cmp_less(a, b), std::cmp_less(b, a));
    else if constexpr (std::is_integral_v<A>)
        return compareWithDouble(a, b);
    else if constexpr (std::is_integral_v<B>)
        return -compareWithDouble(b, a);
    else
        return sign(a < b, b < a);
}

bool isNaN(const Number &number) {
    return std::holds_alternative<double>(number) && std::isnan(std::get<double>(number));
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
    const std::optional<Number> left = numberOf(a);
    const std::optional<Number> right = numberOf(b);
    if (left && right) {
        if (isNaN(*left) || isNaN(*right))
            return std::nullopt;
        return std::visit([](auto x, auto y) { return compareNumbers(x, y); }, *left, *right);
    }
    const double leftDays = isDateTime(a) ? dayNumber(a) : a.toDouble();
    const double rightDays = isDateTime(b) ? dayNumber(b) : b.toDouble();
    return sign(leftDays < rightDays, rightDays < leftDays);
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
