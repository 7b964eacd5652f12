// The command that opens the reminder list.
#include "mainwindow.h"

namespace brevnote {

void TfMaster::ToolButton_TimerClick() {
    // Opens the reminder list once it exists.
}

} // namespace brevnote
