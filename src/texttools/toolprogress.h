#pragma once

#include <QtGlobal>

#include <functional>

namespace brevnote {

// Told how many of `total` lines a tool has done; answers false when the user asked to stop.
// Tools call it every few thousand lines, never per line.
using LineProgress = std::function<bool(qsizetype done, qsizetype total)>;

// How many lines a tool handles between two reports.
inline constexpr qsizetype kProgressStep = 16384;

// Reports at every step, and at the end; false as soon as the callback asks to stop.
inline bool reportProgress(const LineProgress &progress, qsizetype done, qsizetype total) {
    if (!progress || (done % kProgressStep != 0 && done != total))
        return true;
    return progress(done, total);
}

} // namespace brevnote
