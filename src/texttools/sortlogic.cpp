#include "sortlogic.h"

#include <QLocale>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace brevnote {

namespace {

// Below this many lines the whole sort stays on the calling thread: threads would cost more
// than they save, and it ends long before a window would look frozen.
constexpr qsizetype kParallelLines = 50000;

// How often the calling thread reports while a worker sorts or merges, so windows repaint.
constexpr std::chrono::milliseconds kPumpInterval(40);

struct Entry {
    QCollatorSortKey key;
    qsizetype index;
};

// Equal keys keep the lines' order, so the result is the same however the work is split.
bool before(const Entry &a, const Entry &b) {
    const int order = a.key.compare(b.key);
    return order < 0 || (order == 0 && a.index < b.index);
}

// Runs `work` on its own thread while the calling thread keeps reporting (the report
// processes the windows' events). False when the user asked to stop meanwhile; the work still
// ends first, since a sort cannot stop halfway.
bool runReporting(const std::function<void()> &work, const LineProgress &progress,
                  qsizetype total) {
    if (!progress) {
        work();
        return true;
    }
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        work();
        finished = true;
    });
    bool goOn = true;
    while (!finished) {
        goOn = progress(total, total) && goOn;
        std::this_thread::sleep_for(kPumpInterval);
    }
    worker.join();
    return goOn;
}

} // namespace

QCollator CaseBlindCollator() {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Portuguese, QLocale::Brazil);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

bool SortLinesCaseBlind(QStringList &lines, const LineProgress &progress) {
    const qsizetype total = lines.size();
    const QStringList &input = lines;
    // A large text is split in two halves: a worker computes the upper half's keys (with a
    // collator of its own: a collator is not shared between threads) and sorts them, while
    // this thread does the lower half's keys and reports.
    const qsizetype half = total >= kParallelLines ? total / 2 : total;
    std::vector<Entry> upper;
    std::atomic<qsizetype> upperDone = 0;
    std::atomic<bool> stop = false;
    std::thread upperWorker;
    if (half < total) {
        upperWorker = std::thread([&] {
            const QCollator collator = CaseBlindCollator();
            upper.reserve(size_t(total - half));
            for (qsizetype i = half; i < total && !stop; ++i) {
                upper.push_back({collator.sortKey(input.at(i)), i});
                if ((i - half + 1) % kProgressStep == 0)
                    upperDone = i - half + 1;
            }
            if (!stop)
                std::sort(upper.begin(), upper.end(), before);
        });
    }
    const auto stopUpper = [&] {
        stop = true;
        if (upperWorker.joinable())
            upperWorker.join();
    };

    const QCollator collator = CaseBlindCollator();
    std::vector<Entry> lower;
    lower.reserve(size_t(half));
    for (qsizetype i = 0; i < half; ++i) {
        lower.push_back({collator.sortKey(input.at(i)), i});
        if (progress && (i + 1) % kProgressStep == 0 && !progress(i + 1 + upperDone, total)) {
            stopUpper();
            return false;
        }
    }

    bool goOn = true;
    if (half < total) {
        goOn = runReporting(
            [&] {
                std::sort(lower.begin(), lower.end(), before);
                upperWorker.join();
            },
            progress, total);
    } else {
        std::sort(lower.begin(), lower.end(), before);
    }
    std::vector<qsizetype> order;
    order.reserve(size_t(total));
    const auto merge = [&] {
        const auto take = [&order](const Entry &entry) { order.push_back(entry.index); };
        auto a = lower.cbegin();
        auto b = upper.cbegin();
        while (a != lower.cend() && b != upper.cend())
            take(before(*b, *a) ? *b++ : *a++);
        std::for_each(a, lower.cend(), take);
        std::for_each(b, upper.cend(), take);
    };
    if (half < total)
        goOn = runReporting(merge, progress, total) && goOn;
    else
        merge();
    if (!goOn || !reportProgress(progress, total, total))
        return false;

    QStringList sorted;
    sorted.reserve(total);
    for (const qsizetype index : order)
        sorted.append(std::move(lines[index]));
    lines = std::move(sorted);
    return true;
}

} // namespace brevnote
