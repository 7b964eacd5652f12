#include "searchquery.h"

#include "textfold.h"

namespace brevnote {

namespace {

void addTerm(SearchQuery &query, const QString &text, bool prefix) {
    SearchTerm term;
    for (const FoldedToken &token : foldedTokens(text))
        term.tokens.append(token.text);
    // Punctuation alone has no word to look for.
    if (term.tokens.isEmpty())
        return;
    term.prefix = prefix;
    query.terms.append(term);
}

} // namespace

SearchQuery parseSearchQuery(const QString &input) {
    SearchQuery query;
    const qsizetype size = input.size();
    qsizetype i = 0;
    while (i < size) {
        if (input.at(i).isSpace()) {
            ++i;
            continue;
        }
        QString text;
        if (input.at(i) == u'"') {
            // A phrase runs to the closing quote, or to the end when there is none.
            const qsizetype close = input.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? size : close;
            text = input.mid(i + 1, end - i - 1);
            i = close < 0 ? size : close + 1;
        } else {
            const qsizetype start = i;
            while (i < size && !input.at(i).isSpace() && input.at(i) != u'"')
                ++i;
            text = input.mid(start, i - start);
        }
        bool prefix = false;
        while (text.endsWith(u'*')) {
            text.chop(1);
            prefix = true;
        }
        // "conta de l"* : the star right after the closing quote.
        while (i < size && input.at(i) == u'*') {
            ++i;
            prefix = true;
        }
        addTerm(query, text, prefix);
    }
    QStringList parts;
    // The tokens are letters and digits only, so quoting them needs no escapes.
    for (const SearchTerm &term : std::as_const(query.terms))
        parts.append(u'"' + term.tokens.join(u' ') + u'"' +
                     (term.prefix ? QStringLiteral("*") : QString()));
    query.match = parts.join(u' ');
    return query;
}

} // namespace brevnote
