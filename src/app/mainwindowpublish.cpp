// The command that opens the release publishing panel.
#include "mainwindow.h"

namespace brevnote {

void TfMaster::ToolButton_SDKClick() {
    // Opens the release publishing panel once it exists.
}

} // namespace brevnote
