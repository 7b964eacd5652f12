#pragma once

class QWidget;

namespace brevnote {

// One pass of the reminder check that the main window's timer runs on every tick. It may
// open windows (the alarm) and so run nested event loops; errors are raised to the caller.
class ReminderPass {
public:
    virtual ~ReminderPass() = default;
    virtual void CheckReminders() = 0;
};

} // namespace brevnote
