#pragma once

#include "toolprogress.h"
#include "util/core/lineranges.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace brevnote {

// One entry of the value aggregator.
struct TRegistro {
    QVariant Key;
    QVariant Value;
};

// Keeps key/value pairs in insertion order, sums the values of keys that are equal when
// upper-cased, and renders the pairs as an HTML table. Keys are compared through their text
// form; an empty key never matches another.
class TValueFrom final : public QObject {
    Q_OBJECT

public:
    explicit TValueFrom(QObject *owner = nullptr);

    // Appends the pair when the key is new; otherwise adds the value to the entry's value
    // (`accumulate`) or replaces it. The entry keeps the key it was first added with.
    void AddValue(const QVariant &key, const QVariant &value, bool accumulate);
    // Index from 0 of the first entry whose key is the same upper-cased, or -1.
    qsizetype IndexOfKey(const QVariant &key) const;
    // Appends an entry unconditionally and returns its index.
    qsizetype AppendEntry(const QVariant &key, const QVariant &value);
    qsizetype EntryCount() const { return m_entries.size(); }
    TRegistro GetEntry(qsizetype index) const { return m_entries.at(index); }
    // One row per entry: key, "<br>", value, inserted as they are (markup stays markup).
    // Lines end with CR LF; `wrapInPage` puts the table into "<html><body>".
    QString ToHTMLTable(bool wrapInPage) const;

private:
    QList<TRegistro> m_entries;
    // Upper-cased key text to the index of its first entry; the aggregator answers a
    // million distinct keys without scanning.
    QHash<QString, qsizetype> m_firstIndex;
};

// The variant addition of values: numbers add as numbers (integers stay integers), anything
// else is joined as text.
QVariant AddVariants(const QVariant &left, const QVariant &right);

// Counts equal lines (upper-cased) in order of first appearance and renders the page of the
// grouping table. An empty text gives a page with an empty table. The empty text also when
// `progress` asked to stop.
QString GroupLinesHTML(const QStringList &lines, const LineProgress &progress = {});
// The same page for the lines at `ranges` of `text`, read where they stand.
QString GroupLinesHTML(QStringView text, const std::vector<LineRange> &ranges,
                       const LineProgress &progress = {});

} // namespace brevnote
