// The command that opens the reminder list.
#include "mainwindow.h"

#include "reminders/reminderlistwindow.h"

namespace brevnote {

void TfMaster::ToolButton_TimerClick() {
    // Modal and made afresh for each showing; it also opens while the pad is hidden in the tray.
    try {
        TfAutoTimer list(this);
        list.showModalMaximized();
    } catch (const std::exception &error) {
        showError(error);
    }
}

} // namespace brevnote
