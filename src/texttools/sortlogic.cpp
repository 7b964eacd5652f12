#include "sortlogic.h"

#include "collationkeys.h"

#include <QLocale>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iterator>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

namespace brevnote {

namespace {

// Below this many lines the whole sort stays on the calling thread: threads would cost more
// than they save, and it ends long before a window would look frozen.
constexpr qsizetype kParallelLines = 50000;

// Keeps only the line numbers of the merged keys.
struct LineIndexInserter {
    using iterator_category = std::output_iterator_tag;
    using value_type = void;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = void;
    std::vector<qsizetype> &order;
    LineIndexInserter &operator=(const LineKey &key) {
        order.push_back(key.index);
        return *this;
    }
    LineIndexInserter &operator*() { return *this; }
    LineIndexInserter &operator++() { return *this; }
    LineIndexInserter operator++(int) { return *this; }
};

// Stops the worker and waits for it on every way out of the sort, an exception included.
struct WorkerGuard {
    std::thread &worker;
    std::atomic<bool> &stop;
    ~WorkerGuard() {
        stop = true;
        if (worker.joinable())
            worker.join();
    }
};

} // namespace

QCollator CaseBlindCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Portuguese, QLocale::Brazil);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

namespace {

// The order of `total` lines by their case-blind collation keys, equal lines in their first
// order; nothing when `progress` asked to stop. `lineAt(i)` gives line i and is called from
// two threads at once.
template<typename LineAt>
std::optional<std::vector<qsizetype>> caseBlindOrder(qsizetype total, const LineAt &lineAt,
                                                     const LineProgress &progress) {
    const QCollator collator = CaseBlindCollator();
    CollationKeys lowerKeys(collator);
    if (!lowerKeys.isValid()) {
        // No ICU collator for the locale (QCollator then compares code points): the plain
        // sort, slower but the same order.
        std::vector<qsizetype> order(static_cast<size_t>(total));
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return collator.compare(lineAt(a), lineAt(b)) < 0;
        });
        if (!reportProgress(progress, total, total))
            return std::nullopt;
        return order;
    }

    // A large text is split in two halves: a worker keys and sorts the upper half while this
    // thread keys the lower half and reports.
    const qsizetype half = total >= kParallelLines ? total / 2 : total;
    const auto reserveKeys = [&lineAt](CollationKeys &keys, qsizetype first, qsizetype last) {
        qsizetype characters = 0;
        for (qsizetype i = first; i < last; ++i)
            characters += lineAt(i).size();
        keys.reserve(last - first, characters);
    };
    CollationKeys upperKeys(collator);
    std::vector<LineKey> upper;
    std::atomic<qsizetype> upperDone = 0;
    std::atomic<bool> stop = false;
    std::thread upperWorker;
    const WorkerGuard guard{upperWorker, stop};
    if (half < total) {
        upperWorker = std::thread([&] {
            reserveKeys(upperKeys, half, total);
            for (qsizetype i = half; i < total && !stop; ++i) {
                upperKeys.add(lineAt(i), i);
                if ((i - half + 1) % kProgressStep == 0)
                    upperDone = i - half + 1;
            }
            upper = upperKeys.take();
            if (!stop)
                std::sort(upper.begin(), upper.end(), keyBefore);
        });
    }

    reserveKeys(lowerKeys, 0, half);
    for (qsizetype i = 0; i < half; ++i) {
        lowerKeys.add(lineAt(i), i);
        if (progress && (i + 1) % kProgressStep == 0 && !progress(i + 1 + upperDone, total))
            return std::nullopt;
    }
    std::vector<LineKey> lower = lowerKeys.take();

    bool goOn = true;
    if (half < total) {
        goOn = runWhileReporting(
            [&] {
                std::sort(lower.begin(), lower.end(), keyBefore);
                upperWorker.join();
            },
            progress, total);
    } else {
        std::sort(lower.begin(), lower.end(), keyBefore);
    }
    std::vector<qsizetype> order;
    order.reserve(size_t(total));
    const auto merge = [&] {
        std::merge(lower.cbegin(), lower.cend(), upper.cbegin(), upper.cend(),
                   LineIndexInserter{order}, keyBefore);
    };
    if (half < total)
        goOn = runWhileReporting(merge, progress, total) && goOn;
    else
        merge();
    if (!goOn || !reportProgress(progress, total, total))
        return std::nullopt;
    return order;
}

} // namespace

bool SortLinesCaseBlind(QStringList &lines, const LineProgress &progress) {
    const QStringList &input = lines;
    const std::optional<std::vector<qsizetype>> order = caseBlindOrder(
        lines.size(), [&input](qsizetype i) { return QStringView(input.at(i)); }, progress);
    if (!order)
        return false;
    QStringList sorted;
    sorted.reserve(lines.size());
    for (const qsizetype index : *order)
        sorted.append(std::move(lines[index]));
    lines = std::move(sorted);
    return true;
}

std::optional<std::vector<qsizetype>> CaseBlindLineOrder(QStringView text,
                                                         const std::vector<LineRange> &ranges,
                                                         const LineProgress &progress) {
    return caseBlindOrder(
        qsizetype(ranges.size()),
        [&](qsizetype i) { return text.sliced(ranges[size_t(i)].start, ranges[size_t(i)].length); },
        progress);
}

std::optional<QString> SortTextCaseBlind(QStringView text, LineEnds breaks,
                                         const LineProgress &progress) {
    const std::vector<LineRange> ranges = lineRanges(text, breaks);
    const std::optional<std::vector<qsizetype>> order = CaseBlindLineOrder(text, ranges, progress);
    if (!order)
        return std::nullopt;
    // The sorted lines straight from the text into one string, without a string per line.
    qsizetype size = ranges.empty() ? 0 : qsizetype(ranges.size()) - 1;
    for (const LineRange &range : ranges)
        size += range.length;
    QString sorted(size, Qt::Uninitialized);
    QChar *out = sorted.data();
    for (size_t i = 0; i < order->size(); ++i) {
        if (i > 0)
            *out++ = u'\n';
        const LineRange &range = ranges[size_t((*order)[i])];
        out = std::copy_n(text.data() + range.start, range.length, out);
    }
    return sorted;
}

} // namespace brevnote
