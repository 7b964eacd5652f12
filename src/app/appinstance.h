#pragma once

#include <optional>

// The program's start as the one instance of its user.
namespace brevnote {

// Call right after the application object exists, before any window, tray icon or timer.
// When this user's program already runs, asks it to show its window and returns the exit
// code this start must end with at once: 0 when the running program showed its window, 1
// when it did not answer. Otherwise this process is the instance (it keeps the lock until it
// ends) and the result is empty.
std::optional<int> claimOnlyInstance();

} // namespace brevnote
