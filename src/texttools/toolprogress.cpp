#include "toolprogress.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace brevnote {

namespace {
// Often enough that the windows look alive, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kReportInterval(40);
} // namespace

bool runWhileReporting(const std::function<void()> &work, const LineProgress &progress,
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
    // Reports at least once, so a stop asked for at the end is always heard.
    bool goOn = true;
    for (;;) {
        goOn = progress(total, total) && goOn;
        if (finished)
            break;
        std::this_thread::sleep_for(kReportInterval);
    }
    worker.join();
    return goOn;
}

bool forEachLine(qsizetype total, const std::function<void(qsizetype)> &work,
                 const LineProgress &progress) {
    if (total < kTwoThreadLines) {
        for (qsizetype i = 0; i < total; ++i) {
            work(i);
            if (!reportProgress(progress, i + 1, total))
                return false;
        }
        return true;
    }
    const qsizetype half = total / 2;
    std::atomic<bool> stop = false;
    std::atomic<bool> finished = false;
    std::thread upper([&] {
        for (qsizetype i = half; i < total && !stop.load(std::memory_order_relaxed); ++i)
            work(i);
        finished = true;
    });
    bool goOn = true;
    for (qsizetype i = 0; i < half && goOn; ++i) {
        work(i);
        // The halves advance together: twice the lower half's count is the whole's.
        if (progress && (i + 1) % kProgressStep == 0)
            goOn = progress(2 * (i + 1), total);
    }
    // Waiting for the upper half, still reporting.
    while (goOn && progress && !finished) {
        goOn = progress(total, total);
        std::this_thread::sleep_for(kReportInterval);
    }
    stop = !goOn;
    upper.join();
    return goOn && reportProgress(progress, total, total);
}

} // namespace brevnote
