#pragma once

#include <system_error>
#include <thread>

// Work split in two parts that share nothing, such as the two halves of a large text.
namespace brevnote {

// Runs `second` on a worker thread while the calling thread runs `first`, and returns when
// both have ended. When no thread can be started (a process or user limit), both run here,
// one after the other: slower, the same result.
template<typename First, typename Second>
void runOnTwoThreads(const First &first, const Second &second) {
    std::thread worker;
    try {
        worker = std::thread(second);
    } catch (const std::system_error &) {
        first();
        second();
        return;
    }
    // Waits for the worker also when `first` raises.
    struct Joiner {
        std::thread &thread;
        ~Joiner() { thread.join(); }
    } joiner{worker};
    first();
}

} // namespace brevnote
