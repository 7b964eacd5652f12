#include "util/core/keyvalue.h"

#include "util/core/apperror.h"
#include "util/core/textroutines.h"

#include <cmath>
#include <limits>
#include <optional>

namespace brevnote {

namespace {

const QString kEquals = QStringLiteral("=");

// Walks the items of `text` split at `separator`, as repeated SplitFirst calls would, and
// returns the first item whose key matches `wantedKey` (already upper-cased and trimmed).
std::optional<QString> findItem(const QString &text, const QString &wantedKey, QChar separator) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(separator, start);
        if (end < 0)
            end = text.size();
        const QString item = text.mid(start, end - start);
        if (UpperTrim(TextBefore(item, kEquals)) == wantedKey)
            return item;
        start = end + 1;
    }
    return std::nullopt;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// An integer written as StrToInt reads it: surrounding blanks, an optional sign, then decimal
// digits or hexadecimal digits after "$" or "0x". Hexadecimal covers the full 32 bits, so
// $FF00000F reads as the negative system colour it stands for.
std::optional<qint32> parseInteger(const QString &value) {
    const QString text = TrimBlanks(value);
    qsizetype at = 0;
    bool negative = false;
    if (at < text.size() && (text.at(at) == u'+' || text.at(at) == u'-')) {
        negative = text.at(at) == u'-';
        ++at;
    }
    int base = 10;
    if (at < text.size() && text.at(at) == u'$') {
        base = 16;
        ++at;
    } else if (at + 1 < text.size() && text.at(at) == u'0' &&
               (text.at(at + 1) == u'x' || text.at(at + 1) == u'X')) {
        base = 16;
        at += 2;
    }
    if (at >= text.size())
        return std::nullopt;
    const qint64 limit = base == 16 ? qint64(std::numeric_limits<quint32>::max())
                                    : qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    for (; at < text.size(); ++at) {
        const int digit = hexDigit(text.at(at));
        if (digit < 0 || digit >= base)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    if (base == 16) {
        const auto bits = qint32(quint32(magnitude));
        return negative ? qint32(0u - quint32(bits)) : bits;
    }
    if (!negative && magnitude > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(negative ? -magnitude : magnitude);
}

} // namespace

QString SplitFirst(QString &list, QChar separator) {
    const qsizetype at = list.indexOf(separator);
    if (at < 0) {
        QString first = list;
        list.clear();
        return first;
    }
    QString first = list.left(at);
    list.remove(0, at + 1);
    return first;
}

QString ReadKeyValue(const QString &text, const QString &key, const QString &defaultValue) {
    const QChar separator = text.contains(QChar(7)) ? QChar(7) : QChar(u';');
    const std::optional<QString> item = findItem(text, UpperTrim(key), separator);
    if (!item)
        return defaultValue;
    const QString value = TextAfter(*item, kEquals, QString());
    return UpperTrim(value).isEmpty() ? defaultValue : value;
}

bool HasKeyValue(const QString &text, const QString &key) {
    return findItem(text, UpperTrim(key), QChar(u';')).has_value();
}

int ReadKeyValueInt(const QString &text, const QString &key, int defaultValue) {
    const QString value = ReadKeyValue(text, key, QString::number(defaultValue));
    const std::optional<qint32> number = parseInteger(value);
    if (!number)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return *number;
}

bool ReadKeyValueBool(const QString &text, const QString &key, bool defaultValue) {
    const QString value =
        ReadKeyValue(text, key, defaultValue ? QStringLiteral("-1") : QStringLiteral("0"));
    const QString word = UpperTrim(value);
    if (word == u"TRUE")
        return true;
    if (word == u"FALSE")
        return false;
    bool isNumber = false;
    const double number = TrimBlanks(value).toDouble(&isNumber);
    if (!isNumber || std::isnan(number))
        throw AppError(QStringLiteral("'%1' is not a valid boolean value").arg(value));
    return number != 0.0;
}

} // namespace brevnote
