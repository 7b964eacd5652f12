#include "toolprogress.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace brevnote {

namespace {
// Often enough that the windows look alive, seldom enough to cost nothing.
constexpr std::chrono::milliseconds kReportInterval(40);

// Set by a worker when its work is done; the reporting thread waits for it between two
// reports and wakes at once when it comes, not at the next report.
class Finished final {
public:
    void set() {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
    }
    // True once set; else waits until it is, at most one report interval.
    bool waitAReportInterval() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, kReportInterval, [this] { return m_finished; });
    }
    bool isSet() {
        const std::lock_guard lock(m_mutex);
        return m_finished;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_finished = false;
};
} // namespace

bool runWhileReporting(const std::function<void()> &work, const LineProgress &progress,
                       qsizetype total) {
    if (!progress) {
        work();
        return true;
    }
    Finished finished;
    std::thread worker([&] {
        work();
        finished.set();
    });
    // Reports at least once, so a stop asked for at the end is always heard.
    bool goOn = progress(total, total);
    while (!finished.waitAReportInterval())
        goOn = progress(total, total) && goOn;
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
    Finished finished;
    std::thread upper([&] {
        for (qsizetype i = half; i < total && !stop.load(std::memory_order_relaxed); ++i)
            work(i);
        finished.set();
    });
    bool goOn = true;
    for (qsizetype i = 0; i < half && goOn; ++i) {
        work(i);
        // The halves advance together: twice the lower half's count is the whole's.
        if (progress && (i + 1) % kProgressStep == 0)
            goOn = progress(2 * (i + 1), total);
    }
    // Waiting for the upper half, still reporting.
    if (progress) {
        while (goOn && !finished.isSet()) {
            goOn = progress(total, total);
            if (goOn)
                finished.waitAReportInterval();
        }
    }
    stop = !goOn;
    upper.join();
    return goOn && reportProgress(progress, total, total);
}

} // namespace brevnote
