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

// Lines a thread keys at a time: about a millisecond and a half.
constexpr qsizetype kKeyChunk = 4096;

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
                                                     const LineProgress &progress,
                                                     Threads threads) {
    const QCollator collator = CaseBlindCollator();
    CollationKeys ownKeys(collator);
    if (!ownKeys.isValid()) {
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

    // A large text is keyed by a worker and this thread together, each taking the next chunk
    // of lines in turn, so neither waits for the other while this thread also reports (and
    // the windows repaint). Each sorts the keys it made, and the two runs are merged: keys
    // are equal only for the same line, so the order does not depend on who keyed which line.
    const bool twoThreads = threads == Threads::Two && total >= kParallelLines;
    qsizetype characters = 0;
    for (qsizetype i = 0; i < total; ++i)
        characters += lineAt(i).size();
    std::atomic<qsizetype> nextChunk = 0;
    const auto keyChunks = [&](CollationKeys &keys, const auto &chunkDone) {
        // Room for all the lines: the pages a thread does not fill are never touched.
        keys.reserve(total, characters);
        for (;;) {
            const qsizetype first = nextChunk.fetch_add(kKeyChunk);
            if (first >= total)
                return true;
            const qsizetype last = std::min(first + kKeyChunk, total);
            for (qsizetype i = first; i < last; ++i)
                keys.add(lineAt(i), i);
            if (!chunkDone(last - first))
                return false;
        }
    };
    CollationKeys workerKeys(collator);
    std::vector<LineKey> workerRun;
    std::atomic<qsizetype> workerDone = 0;
    std::atomic<bool> stop = false;
    std::thread worker;
    const WorkerGuard guard{worker, stop};
    if (twoThreads) {
        worker = std::thread([&] {
            keyChunks(workerKeys, [&](qsizetype lines) {
                workerDone += lines;
                return !stop;
            });
            workerRun = workerKeys.take();
            if (!stop)
                sortKeys(workerRun);
        });
    }

    qsizetype ownDone = 0;
    qsizetype reported = 0;
    const bool keyed = keyChunks(ownKeys, [&](qsizetype lines) {
        ownDone += lines;
        const qsizetype done = ownDone + workerDone;
        if (!progress || done - reported < kProgressStep)
            return true;
        reported = done;
        return progress(done, total);
    });
    if (!keyed)
        return std::nullopt;
    std::vector<LineKey> ownRun = ownKeys.take();

    bool goOn = true;
    if (twoThreads) {
        goOn = runWhileReporting(
            [&] {
                sortKeys(ownRun);
                worker.join();
            },
            progress, total);
    } else {
        sortKeys(ownRun);
    }
    std::vector<qsizetype> order;
    order.reserve(size_t(total));
    const auto merge = [&] {
        std::merge(ownRun.cbegin(), ownRun.cend(), workerRun.cbegin(), workerRun.cend(),
                   LineIndexInserter{order}, keyBefore);
    };
    if (twoThreads)
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
        lines.size(), [&input](qsizetype i) { return QStringView(input.at(i)); }, progress,
        Threads::Two);
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
                                                         const LineProgress &progress,
                                                         Threads threads) {
    return caseBlindOrder(
        qsizetype(ranges.size()),
        [&](qsizetype i) { return text.sliced(ranges[size_t(i)].start, ranges[size_t(i)].length); },
        progress, threads);
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
