#pragma once

#include <QDateTime>

#include <optional>

namespace brevnote {

// The program's one source of "now": every routine that stamps a text or a file name
// reads it here, so tests can fix the time.
QDateTime currentDateTime();

// Fixes the clock for the lifetime of the object (tests only); nesting restores the outer value.
class ScopedFixedClock final {
public:
    explicit ScopedFixedClock(const QDateTime &fixed);
    ~ScopedFixedClock();
    ScopedFixedClock(const ScopedFixedClock &) = delete;
    ScopedFixedClock &operator=(const ScopedFixedClock &) = delete;

    // Moves the fixed time on, for code that waits for the clock to change.
    void advance(qint64 milliseconds);

private:
    std::optional<QDateTime> m_previous;
};

} // namespace brevnote
