#pragma once

#include <QtGlobal>

#include <functional>

namespace brevnote {

// Told how many of `total` lines a tool has done; answers false when the user asked to stop.
// Tools call it every few thousand lines, never per line.
using LineProgress = std::function<bool(qsizetype done, qsizetype total)>;

// How many lines a tool handles between two reports.
inline constexpr qsizetype kProgressStep = 16384;

// Runs `work`, which cannot report, on a thread of its own while the calling thread reports
// `total` at once and then every few tens of milliseconds (the report lets the windows
// repaint). False when
// the callback asked to stop meanwhile; the work still ends first. Without a callback the
// work runs on the calling thread.
bool runWhileReporting(const std::function<void()> &work, const LineProgress &progress,
                       qsizetype total);

// Reports at every step, and at the end; false as soon as the callback asks to stop.
inline bool reportProgress(const LineProgress &progress, qsizetype done, qsizetype total) {
    if (!progress || (done % kProgressStep != 0 && done != total))
        return true;
    return progress(done, total);
}

} // namespace brevnote
