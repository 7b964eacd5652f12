#include "util/core/clock.h"

namespace brevnote {

namespace {
std::optional<QDateTime> &fixedNow() {
    static std::optional<QDateTime> value;
    return value;
}
} // namespace

QDateTime currentDateTime() {
    if (fixedNow())
        return *fixedNow();
    return QDateTime::currentDateTime();
}

ScopedFixedClock::ScopedFixedClock(const QDateTime &fixed)
    : m_previous(fixedNow()) {
    fixedNow() = fixed;
}

ScopedFixedClock::~ScopedFixedClock() {
    fixedNow() = m_previous;
}

void ScopedFixedClock::advance(qint64 milliseconds) {
    fixedNow() = fixedNow()->addMSecs(milliseconds);
}

} // namespace brevnote
