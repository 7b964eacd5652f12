#include "util/core/textroutines.h"

#include <algorithm>

namespace brevnote {

namespace {

// True when positions `index - 1` and `index` hold the two halves of one surrogate pair, so a
// cut at `index` would split it.
bool splitsPair(const QString &text, qsizetype index) {
    return index > 0 && index < text.size() && text.at(index - 1).isHighSurrogate() &&
           text.at(index).isLowSurrogate();
}

QString mapAsciiCase(const QString &text, char16_t from, char16_t to) {
    QString result = text;
    const qsizetype length = result.size();
    QChar *data = nullptr;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= from && c <= to) {
            if (!data)
                data = result.data(); // detach only when something changes
            data[i] = QChar(char16_t(c ^ 0x20));
        }
    }
    return result;
}

} // namespace

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QStringView TrimBlanksView(QStringView text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

QString TrimBlanks(const QString &text) {
    const QStringView trimmed = TrimBlanksView(text);
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

QString AsciiUpper(const QString &text) {
    return mapAsciiCase(text, u'a', u'z');
}

QString AsciiLower(const QString &text) {
    return mapAsciiCase(text, u'A', u'Z');
}

bool SameTextAscii(QStringView a, QStringView b) {
    // Compared character by character, without copies: it runs for every line of large files.
    const auto upper = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (upper(a.at(i).unicode()) != upper(b.at(i).unicode()))
            return false;
    }
    return true;
}

qsizetype IndexOfAscii(const QString &haystack, const QString &needle) {
    if (needle.isEmpty())
        return -1;
    return AsciiUpper(haystack).indexOf(AsciiUpper(needle));
}

QString RepeatText(const QString &text, int count) {
    return count > 0 ? text.repeated(count) : QString();
}

QString LineBreaks(int count) {
    return RepeatText(QStringLiteral("\r\n"), count);
}

QString Spaces(int count) {
    return count > 0 ? QString(count, u' ') : QString();
}

QString ZeroPad(int width, qint64 value) {
    const QString digits = QString::number(value);
    if (width <= digits.size())
        return digits;
    return QString(width - digits.size(), u'0') + digits;
}

QString LeftText(const QString &text, int n) {
    if (n <= 0)
        return QString();
    if (n >= text.size())
        return text;
    const qsizetype end = splitsPair(text, n) ? n + 1 : n;
    return text.left(end);
}

QString RightText(const QString &text, int n) {
    if (n <= 0)
        return QString();
    if (n >= text.size())
        return text;
    qsizetype start = text.size() - n;
    if (splitsPair(text, start))
        --start;
    return text.mid(start);
}

QString MidText(const QString &text, int start, int count) {
    qsizetype first = qsizetype(std::max(start, 1)) - 1;
    // No characters at all: not even a pair the start falls into.
    if (first >= text.size() || count == 0)
        return QString();
    qsizetype end = count < 0 ? text.size() : std::min(text.size(), first + count);
    // A pair cut at either end is kept whole.
    if (splitsPair(text, first))
        --first;
    if (splitsPair(text, end))
        ++end;
    return text.mid(first, end - first);
}

int TrimmedLength(const QString &text) {
    return int(TrimBlanks(text).size());
}

QString UpperTrim(const QString &text) {
    return TrimBlanks(AsciiUpper(text));
}

QString LowerTrim(const QString &text) {
    return TrimBlanks(AsciiLower(text));
}

QString TextBefore(const QString &text, const QString &separator) {
    const qsizetype at = IndexOfAscii(text, separator);
    return at < 0 ? text : text.left(at);
}

QString TextAfter(const QString &text, const QString &separator, const QString &defaultValue) {
    const qsizetype at = IndexOfAscii(text, separator);
    return at < 0 ? defaultValue : text.mid(at + separator.size());
}

QString JoinWithSeparator(const QString &left, const QString &right, const QString &separator) {
    QStringView head = TrimBlanksView(left);
    QStringView tail = TrimBlanksView(right);
    // Stripping an empty separator would never end; then the texts are simply joined.
    if (!separator.isEmpty()) {
        while (head.endsWith(separator))
            head.chop(separator.size());
        while (tail.startsWith(separator))
            tail = tail.mid(separator.size());
    }
    return head.toString() + separator + tail.toString();
}

QString FileBaseNameUpper(const QString &name, bool keepFolder) {
    QString base = name;
    if (!keepFolder)
        base = base.mid(base.lastIndexOf(u'/') + 1);
    const qsizetype dot = base.indexOf(u'.');
    if (dot >= 0)
        base.truncate(dot);
    return AsciiUpper(base);
}

bool IsLetterChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == 0x00D1 || u == 0x00F1;
}

bool IsDigitChar(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

bool IsAlphaNumChar(QChar c) {
    return IsLetterChar(c) || IsDigitChar(c);
}

} // namespace brevnote
