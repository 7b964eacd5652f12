#include "textfold.h"

#include <array>
#include <memory>

namespace brevnote {

namespace {

constexpr char16_t kSeparator = 0; // ends a word
constexpr char16_t kMark = 1;      // belongs to the word but folds to nothing (an accent)

// The folded form of each character of the basic plane, made once.
const std::array<char16_t, 0x10000> &foldTable() {
    static const std::unique_ptr<std::array<char16_t, 0x10000>> table = [] {
        auto made = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar ch(static_cast<char16_t>(c));
            char16_t folded = kSeparator;
            if (ch.isSurrogate()) {
                folded = kSeparator; // pairs are handled apart
            } else if (ch.isMark()) {
                folded = kMark;
            } else if (ch.isLetterOrNumber() || ch.category() == QChar::Other_PrivateUse) {
                char32_t base = c;
                // "ǖ" decomposes to "ü", which decomposes to "u".
                while (QChar::decompositionTag(base) == QChar::Canonical) {
                    const QString parts = QChar::decomposition(base);
                    if (parts.isEmpty())
                        break;
                    base = parts.at(0).unicode();
                }
                base = QChar::toLower(base);
                folded = base < 0x10000 ? static_cast<char16_t>(base) : static_cast<char16_t>(c);
            }
            (*made)[c] = folded;
        }
        return made;
    }();
    return *table;
}

} // namespace

QList<FoldedToken> foldedTokens(const QString &text) {
    const auto &table = foldTable();
    QList<FoldedToken> tokens;
    const qsizetype size = text.size();
    const char16_t *data = reinterpret_cast<const char16_t *>(text.constData());
    FoldedToken current;
    bool inWord = false;
    const auto finish = [&](qsizetype end) {
        if (inWord && !current.text.isEmpty()) {
            current.end = end;
            tokens.append(current);
        }
        current = FoldedToken();
        inWord = false;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
            const char32_t code = QChar::surrogateToUcs4(c, data[i + 1]);
            if (QChar::isLetterOrNumber(code)) {
                if (!inWord) {
                    current.start = i;
                    inWord = true;
                }
                const char32_t lower = QChar::toLower(code);
                current.text += QString::fromUcs4(&lower, 1);
            } else {
                finish(i);
            }
            ++i;
            continue;
        }
        const char16_t folded = table[c];
        if (folded == kSeparator) {
            finish(i);
            continue;
        }
        if (!inWord) {
            current.start = i;
            inWord = true;
        }
        if (folded != kMark)
            current.text += QChar(folded);
    }
    finish(size);
    return tokens;
}

QList<TextRange> findTerms(const QString &text, const QList<SearchTerm> &terms, qsizetype limit) {
    QList<TextRange> found;
    if (terms.isEmpty() || limit == 0)
        return found;
    const QList<FoldedToken> tokens = foldedTokens(text);
    const qsizetype count = tokens.size();
    for (qsizetype i = 0; i < count; ++i) {
        for (const SearchTerm &term : terms) {
            const qsizetype n = term.tokens.size();
            if (i + n > count)
                continue;
            bool matches = true;
            for (qsizetype k = 0; k < n && matches; ++k) {
                const QString &word = tokens.at(i + k).text;
                const bool last = k == n - 1;
                matches = (last && term.prefix) ? word.startsWith(term.tokens.at(k))
                                                : word == term.tokens.at(k);
            }
            if (matches) {
                found.append({tokens.at(i).start, tokens.at(i + n - 1).end});
                if (limit > 0 && found.size() >= limit)
                    return found;
                break;
            }
        }
    }
    return found;
}

Excerpt makeExcerpt(const QString &text, const QList<SearchTerm> &terms) {
    constexpr qsizetype kBefore = 40;
    constexpr qsizetype kLength = 160;
    // Only the start of a long text needs folding when a term comes early.
    const QList<TextRange> first = findTerms(text, terms, 1);
    const qsizetype at = first.isEmpty() ? 0 : first.first().start;
    qsizetype start = qMax<qsizetype>(0, at - kBefore);
    // Start at a word, not inside one.
    while (start > 0 && start < at && !text.at(start - 1).isSpace())
        ++start;
    const qsizetype end = qMin(text.size(), start + kLength);

    Excerpt excerpt;
    const QString window = text.mid(start, end - start);
    excerpt.text.reserve(window.size() + 2);
    const QString lead = start > 0 ? QStringLiteral("…") : QString();
    excerpt.text += lead;
    for (const QChar ch : window)
        excerpt.text +=
            (ch == u'\r' || ch == u'\n' || ch == u'\t' || ch == QChar::ParagraphSeparator)
                ? QChar(u' ')
                : ch;
    if (end < text.size())
        excerpt.text += QStringLiteral("…");
    for (const TextRange &range : findTerms(window, terms))
        excerpt.marks.append({range.start + lead.size(), range.end + lead.size()});
    return excerpt;
}

QString markedHtml(const QString &text, const QList<TextRange> &marks, const QString &open,
                   const QString &close) {
    QString html;
    qsizetype done = 0;
    for (const TextRange &mark : marks) {
        if (mark.start < done || mark.end > text.size())
            continue;
        html += text.mid(done, mark.start - done).toHtmlEscaped();
        html += open + text.mid(mark.start, mark.end - mark.start).toHtmlEscaped() + close;
        done = mark.end;
    }
    html += text.mid(done).toHtmlEscaped();
    return html;
}

} // namespace brevnote
