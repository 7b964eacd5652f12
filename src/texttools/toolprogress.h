#pragma once

#include <QtGlobal>

#include <functional>

namespace brevnote {

// Told how many of `total` lines a tool has done; answers false when the user asked to stop.
// Tools call it every few thousand lines, never per line.
using LineProgress = std::function<bool(qsizetype done, qsizetype total)>;

// Whether a tool's work on a large text may take a second thread, or the calling thread
// alone, because the interface thread has work of its own meanwhile and the machine may have
// only two cores.
enum class Threads { Two, One };

// How many lines a tool handles between two reports.
inline constexpr qsizetype kProgressStep = 16384;

// Runs `work`, which cannot report, on a thread of its own while the calling thread reports
// `total` at once and then every few tens of milliseconds (the report lets the windows
// repaint). False when
// the callback asked to stop meanwhile; the work still ends first. Without a callback the
// work runs on the calling thread.
bool runWhileReporting(const std::function<void()> &work, const LineProgress &progress,
                       qsizetype total);

// From this many lines up, work on each line is shared between two threads.
inline constexpr qsizetype kTwoThreadLines = 50000;

// Runs `work(i)` for every i in [0, total); the calls must not depend on each other. From
// kTwoThreadLines up, a thread of its own does the upper half while the calling thread does the
// lower half and reports. False (some lines not done) when the callback asked to stop.
bool forEachLine(qsizetype total, const std::function<void(qsizetype)> &work,
                 const LineProgress &progress);

// Reports at every step, and at the end; false as soon as the callback asks to stop.
inline bool reportProgress(const LineProgress &progress, qsizetype done, qsizetype total) {
    if (!progress || (done % kProgressStep != 0 && done != total))
        return true;
    return progress(done, total);
}

} // namespace brevnote
