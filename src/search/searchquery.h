#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the user types into the search box, made safe for SQLite's FTS5: every word and every
// "phrase in quotes" becomes one quoted FTS5 phrase, a "*" right after one keeps it a prefix,
// and all must be found. No input can make an FTS5 syntax error.
namespace brevnote {

struct SearchTerm {
    QStringList tokens;  // folded (see textfold.h); consecutive in the text
    bool prefix = false; // the last token may be the start of a longer word
};

struct SearchQuery {
    QList<SearchTerm> terms;
    QString match; // the FTS5 MATCH expression; empty when there is nothing to look for
    bool isEmpty() const { return terms.isEmpty(); }
};

SearchQuery parseSearchQuery(const QString &input);

} // namespace brevnote
