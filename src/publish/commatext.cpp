#include "publish/commatext.h"

#include "util/core/textroutines.h"

namespace brevnote {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';

bool needsQuotes(const QString &entry) {
    if (entry.isEmpty())
        return true; // an unquoted empty entry could not be told from no entry at all
    for (const QChar c : entry) {
        if (IsBlank(c) || c == kComma || c == kQuote)
            return true;
    }
    return false;
}

qsizetype skipBlanks(const QString &text, qsizetype at) {
    while (at < text.size() && IsBlank(text.at(at)))
        ++at;
    return at;
}

// Reads the quoted entry starting at `at` (on its opening quote); returns the position after
// its closing quote.
qsizetype readQuoted(const QString &text, qsizetype at, QString *entry) {
    ++at;
    while (at < text.size()) {
        const QChar c = text.at(at);
        if (c != kQuote) {
            entry->append(c);
            ++at;
        } else if (at + 1 < text.size() && text.at(at + 1) == kQuote) {
            entry->append(kQuote);
            at += 2;
        } else {
            return at + 1;
        }
    }
    return at;
}

qsizetype readPlain(const QString &text, qsizetype at, QString *entry) {
    const qsizetype start = at;
    while (at < text.size() && !IsBlank(text.at(at)) && text.at(at) != kComma)
        ++at;
    *entry = text.mid(start, at - start);
    return at;
}

} // namespace

QString CommaText(const QStringList &entries) {
    QStringList parts;
    parts.reserve(entries.size());
    for (const QString &entry : entries) {
        if (!needsQuotes(entry)) {
            parts.append(entry);
            continue;
        }
        QString doubled = entry;
        doubled.replace(kQuote, QStringLiteral("\"\""));
        parts.append(kQuote + doubled + kQuote);
    }
    return parts.join(kComma);
}

QStringList ParseCommaText(const QString &text) {
    QStringList entries;
    qsizetype at = skipBlanks(text, 0);
    while (at < text.size()) {
        QString entry;
        at = text.at(at) == kQuote ? readQuoted(text, at, &entry) : readPlain(text, at, &entry);
        entries.append(entry);
        at = skipBlanks(text, at);
        if (at < text.size() && text.at(at) == kComma) {
            at = skipBlanks(text, at + 1);
            if (at == text.size())
                entries.append(QString());
        }
    }
    return entries;
}

} // namespace brevnote
