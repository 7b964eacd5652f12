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

} // namespace brevnote
