#include "sortlogic.h"

#include <QLocale>

#include <algorithm>
#include <numeric>
#include <vector>

namespace brevnote {

QCollator CaseBlindCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Portuguese, QLocale::Brazil);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool SortLinesCaseBlind(QStringList &lines, const LineProgress &progress) {
    const QCollator collator = CaseBlindCollator();
    const qsizetype total = lines.size();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(total));
    for (qsizetype i = 0; i < total; ++i) {
        keys.push_back(collator.sortKey(lines.at(i)));
        if (!reportProgress(progress, i + 1, total))
            return false;
    }
    std::vector<qsizetype> order(static_cast<size_t>(total));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(),
              [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QStringList sorted;
    sorted.reserve(total);
    for (const qsizetype index : order)
        sorted.append(std::move(lines[index]));
    lines = std::move(sorted);
    return true;
}

} // namespace brevnote
