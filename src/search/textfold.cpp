#include "textfold.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace brevnote {

namespace {

constexpr char16_t kSeparator = 0; // ends a word
constexpr char16_t kMark = 1;      // belongs to the word but folds to nothing (an accent)
constexpr char16_t kPair = 2;      // a surrogate: read with its neighbour

// The folded form of each character of the basic plane, made once.
const std::array<char16_t, 0x10000> &foldTable() {
    // Never destroyed: the search thread may still be folding while the program exits.
    static const std::array<char16_t, 0x10000> *table = [] {
        auto *made = new std::array<char16_t, 0x10000>;
        for (char32_t c = 0; c < 0x10000; ++c) {
            const QChar ch(static_cast<char16_t>(c));
            char16_t folded = kSeparator;
            if (ch.isSurrogate()) {
                folded = kPair;
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

// A word of a text: where it stands and its folded characters.
struct Word {
    qsizetype start = 0;
    qsizetype end = 0;
    std::u32string folded;
};

// Reads the words of a text one at a time, so a search can stop at the first it needs. The
// text may still grow while it is read: `more` appends its next piece, and a word that reaches
// the end of what is there goes on into that piece.
class WordReader {
public:
    WordReader(QString &text, const TextPieces *more)
        : m_text(text)
        , m_more(more) {}

    // The next word into `word` (its buffer reused); false at the end of the text. With
    // `firsts`, words whose first folded character is not among them are passed over without
    // folding the rest of them.
    bool next(Word &word, const std::u32string *firsts = nullptr) {
        const auto &table = foldTable();
        word.folded.clear();
        bool inWord = false;
        bool passing = false;
        for (;;) {
            const char16_t *data = reinterpret_cast<const char16_t *>(m_text.constData());
            const qsizetype size = m_text.size();
            for (; m_pos < size; ++m_pos) {
                // Most characters are read in these two tight loops: the blanks and
                // punctuation before a word, and the rest of a word passed over.
                if (!inWord) {
                    while (m_pos < size && table[data[m_pos]] == kSeparator)
                        ++m_pos;
                } else if (passing) {
                    while (m_pos < size && table[data[m_pos]] != kSeparator &&
                           table[data[m_pos]] != kPair)
                        ++m_pos;
                }
                if (m_pos == size)
                    break;
                const char16_t c = data[m_pos];
                char32_t folded = table[c];
                qsizetype width = 1;
                if (folded == kPair) {
                    // A pair split between two pieces is read once both are there.
                    if (QChar::isHighSurrogate(c) && m_pos + 1 == size && takeMore())
                        break;
                    folded = kSeparator; // a surrogate alone
                    if (QChar::isHighSurrogate(c) && m_pos + 1 < size &&
                        QChar::isLowSurrogate(data[m_pos + 1])) {
                        const char32_t code = QChar::surrogateToUcs4(c, data[m_pos + 1]);
                        folded = QChar::isLetterOrNumber(code) ? QChar::toLower(code) : kSeparator;
                        width = 2;
                    }
                }
                if (folded == kSeparator) {
                    if (inWord && !word.folded.empty()) {
                        word.end = m_pos;
                        return true;
                    }
                    inWord = false;
                    passing = false;
                    continue;
                }
                if (!inWord) {
                    word.start = m_pos;
                    word.folded.clear();
                    inWord = true;
                }
                if (folded != kMark && !passing) {
                    if (firsts && word.folded.empty() &&
                        firsts->find(folded) == std::u32string::npos)
                        passing = true;
                    else
                        word.folded.push_back(folded);
                }
                m_pos += width - 1;
            }
            // A word that reaches the end of what is there may go on in the next piece.
            if (m_pos >= m_text.size() && !takeMore())
                break;
        }
        if (inWord && !word.folded.empty()) {
            word.end = m_pos;
            return true;
        }
        return false;
    }

private:
    // Appends the next piece; false when there is none.
    bool takeMore() { return m_more && (*m_more)(m_text); }

    QString &m_text;
    const TextPieces *m_more;
    qsizetype m_pos = 0;
};

// A term with its words as code points, to compare with the words read.
struct TermWords {
    std::vector<std::u32string> words;
    bool prefix = false;
};

std::u32string codePoints(const QString &text) {
    std::u32string points;
    for (const char32_t c : text.toUcs4())
        points.push_back(c);
    return points;
}

// findTerms() over a text that may still grow (see WordReader).
QList<TextRange> findTermsIn(QString &text, const TextPieces *more, const QList<SearchTerm> &terms,
                             qsizetype limit) {
    QList<TextRange> found;
    if (terms.isEmpty() || limit == 0)
        return found;
    std::vector<TermWords> wanted;
    std::size_t longest = 1;
    std::u32string firsts; // the first character of each term
    bool anyFirst = false; // a term begins with an empty prefix, which any word starts
    for (const SearchTerm &term : terms) {
        if (term.tokens.isEmpty())
            continue;
        TermWords words;
        for (const QString &token : term.tokens)
            words.words.push_back(codePoints(token));
        words.prefix = term.prefix;
        longest = std::max(longest, words.words.size());
        if (words.words.front().empty())
            anyFirst = true;
        else
            firsts.push_back(words.words.front().front());
        wanted.push_back(std::move(words));
    }
    if (wanted.empty())
        return found;
    const auto startsNoTerm = [&](const Word &word) {
        return !anyFirst && firsts.find(word.folded.front()) == std::u32string::npos;
    };
    // The words from the current one on, as many as the longest phrase has, in a ring whose
    // buffers are reused.
    std::vector<Word> ring(longest);
    std::size_t first = 0;
    std::size_t count = 0;
    const auto at = [&](std::size_t k) -> const Word & { return ring[(first + k) % longest]; };
    const auto dropFirst = [&] {
        first = (first + 1) % longest;
        --count;
    };
    WordReader reader(text, more);
    for (;;) {
        // Most words start no term: they are dropped at once, and read past while none is held.
        while (count > 0 && startsNoTerm(at(0)))
            dropFirst();
        while (count < longest && reader.next(ring[(first + count) % longest],
                                              count == 0 && !anyFirst ? &firsts : nullptr))
            ++count;
        if (count == 0)
            return found;
        for (const TermWords &term : wanted) {
            const std::size_t n = term.words.size();
            if (n > count)
                continue;
            bool matches = true;
            for (std::size_t k = 0; k < n && matches; ++k) {
                const std::u32string &word = at(k).folded;
                const bool last = k == n - 1;
                matches =
                    (last && term.prefix) ? word.starts_with(term.words[k]) : word == term.words[k];
            }
            if (matches) {
                found.append({at(0).start, at(n - 1).end});
                if (limit > 0 && found.size() >= limit)
                    return found;
                break;
            }
        }
        dropFirst();
    }
}

Excerpt excerptOf(QString &text, const TextPieces *more, const QList<SearchTerm> &terms) {
    constexpr qsizetype kBefore = 40;
    constexpr qsizetype kLength = 160;
    // Only the start of a long text needs folding when a term comes early.
    const QList<TextRange> first = findTermsIn(text, more, terms, 1);
    const qsizetype at = first.isEmpty() ? 0 : first.first().start;
    qsizetype start = qMax<qsizetype>(0, at - kBefore);
    // Start at a word, not inside one.
    while (start > 0 && start < at && !text.at(start - 1).isSpace())
        ++start;
    // The line and one character beyond it, to know whether the text goes on.
    while (more && text.size() <= start + kLength && (*more)(text)) {
    }
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

} // namespace

QList<FoldedToken> foldedTokens(const QString &text) {
    QList<FoldedToken> tokens;
    QString shared = text; // not copied: nothing is added to a text without pieces
    WordReader reader(shared, nullptr);
    Word word;
    while (reader.next(word))
        tokens.append({word.start, word.end,
                       QString::fromUcs4(word.folded.data(), qsizetype(word.folded.size()))});
    return tokens;
}

QList<TextRange> findTerms(const QString &text, const QList<SearchTerm> &terms, qsizetype limit) {
    QString shared = text;
    return findTermsIn(shared, nullptr, terms, limit);
}

Excerpt makeExcerpt(const QString &text, const QList<SearchTerm> &terms) {
    QString shared = text;
    return excerptOf(shared, nullptr, terms);
}

Excerpt makeExcerpt(const TextPieces &pieces, const QList<SearchTerm> &terms) {
    QString text;
    return excerptOf(text, &pieces, terms);
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
