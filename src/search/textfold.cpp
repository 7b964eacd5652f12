#include "textfold.h"

#include <array>

namespace brevnote {

namespace {

constexpr char16_t kSeparator = 0; // ends a word
constexpr char16_t kMark = 1;      // belongs to the word but folds to nothing (an accent)

// The folded form of each character of the basic plane, made once.
const std::array<char16_t, 0x10000> &foldTable() {
    // Never destroyed: the search thread may still be folding while the program exits.
    static const std::array<char16_t, 0x10000> *table = [] {
        auto *made = new std::array<char16_t, 0x10000>;
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

namespace {

// Reads the words of a text one at a time, so a search can stop at the first it needs.
class TokenReader {
public:
    explicit TokenReader(const QString &text)
        : m_data(reinterpret_cast<const char16_t *>(text.constData()))
        , m_size(text.size()) {}

    bool next(FoldedToken &token) {
        const auto &table = foldTable();
        token.text.clear();
        bool inWord = false;
        for (; m_pos < m_size; ++m_pos) {
            const char16_t c = m_data[m_pos];
            char32_t folded = table[c];
            qsizetype width = 1;
            if (QChar::isHighSurrogate(c) && m_pos + 1 < m_size &&
                QChar::isLowSurrogate(m_data[m_pos + 1])) {
                const char32_t code = QChar::surrogateToUcs4(c, m_data[m_pos + 1]);
                folded = QChar::isLetterOrNumber(code) ? QChar::toLower(code) : kSeparator;
                width = 2;
            }
            if (folded == kSeparator) {
                if (inWord && !token.text.isEmpty()) {
                    token.end = m_pos;
                    return true;
                }
                inWord = false;
                continue;
            }
            if (!inWord) {
                token.start = m_pos;
                token.text.clear();
                inWord = true;
            }
            if (folded != kMark) {
                if (width == 2)
                    token.text += QString::fromUcs4(&folded, 1);
                else
                    token.text += QChar(char16_t(folded));
            }
            m_pos += width - 1;
        }
        if (inWord && !token.text.isEmpty()) {
            token.end = m_size;
            return true;
        }
        return false;
    }

private:
    const char16_t *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

} // namespace

QList<FoldedToken> foldedTokens(const QString &text) {
    QList<FoldedToken> tokens;
    TokenReader reader(text);
    FoldedToken token;
    while (reader.next(token))
        tokens.append(token);
    return tokens;
}

QList<TextRange> findTerms(const QString &text, const QList<SearchTerm> &terms, qsizetype limit) {
    QList<TextRange> found;
    if (terms.isEmpty() || limit == 0)
        return found;
    qsizetype longest = 1;
    for (const SearchTerm &term : terms)
        longest = qMax(longest, term.tokens.size());
    // The words from the current one on, as many as the longest phrase has.
    TokenReader reader(text);
    QList<FoldedToken> window;
    FoldedToken token;
    for (;;) {
        while (window.size() < longest && reader.next(token))
            window.append(token);
        if (window.isEmpty())
            return found;
        for (const SearchTerm &term : terms) {
            const qsizetype n = term.tokens.size();
            if (n > window.size())
                continue;
            bool matches = true;
            for (qsizetype k = 0; k < n && matches; ++k) {
                const QString &word = window.at(k).text;
                const bool last = k == n - 1;
                matches = (last && term.prefix) ? word.startsWith(term.tokens.at(k))
                                                : word == term.tokens.at(k);
            }
            if (matches) {
                found.append({window.at(0).start, window.at(n - 1).end});
                if (limit > 0 && found.size() >= limit)
                    return found;
                break;
            }
        }
        window.removeFirst();
    }
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
