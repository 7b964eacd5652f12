#pragma once

#include <QList>
#include <QString>

#include <functional>

#include "searchquery.h"

// Words as the index sees them (SQLite FTS5's "unicode61 remove_diacritics 2"): runs of
// letters and digits, lower case, without accents, so "Ação" and "acao" are the same word.
// Used to quote the user's words and to find them again in a dump for its excerpt and marks.
namespace brevnote {

struct FoldedToken {
    qsizetype start = 0; // in the original text
    qsizetype end = 0;
    QString text; // folded
};

QList<FoldedToken> foldedTokens(const QString &text);

struct TextRange {
    qsizetype start = 0;
    qsizetype end = 0;
    bool operator==(const TextRange &) const = default;
};

// Where the terms occur in the text, in order; at most `limit` places (all when negative).
QList<TextRange> findTerms(const QString &text, const QList<SearchTerm> &terms,
                           qsizetype limit = -1);

// One line around the first place a term occurs, with the places marked inside it.
struct Excerpt {
    QString text;
    QList<TextRange> marks;
};
Excerpt makeExcerpt(const QString &text, const QList<SearchTerm> &terms);

// Gives a text a piece at a time: appends the next piece to `text` and returns true, or returns
// false once there is none.
using TextPieces = std::function<bool(QString &text)>;
// The same excerpt as for the whole text, reading only as many pieces as it needs: up to the
// first place a term occurs and the line around it (all of them when no term occurs).
Excerpt makeExcerpt(const TextPieces &pieces, const QList<SearchTerm> &terms);

// The text as HTML with each range inside `open` ... `close`.
QString markedHtml(const QString &text, const QList<TextRange> &marks, const QString &open,
                   const QString &close);

} // namespace brevnote
