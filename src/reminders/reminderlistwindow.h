#pragma once

#include "reminderpass.h"

#include <QWidget>

namespace brevnote {

// The reminder list window. For now only the hidden instance the main window's timer runs
// its reminder pass on; the list itself and the scheduler's pass arrive with the reminders.
class TfAutoTimer final : public QWidget, public ReminderPass {
    Q_OBJECT

public:
    // A separate window owned by `owner` and destroyed with it.
    explicit TfAutoTimer(QWidget *owner = nullptr);

    void CheckReminders() override;
};

} // namespace brevnote
