// The command that opens the release publishing panel.
#include "mainwindow.h"

#include "publish/sdkpanel.h"

namespace brevnote {

void TfMaster::ToolButton_SDKClick() {
    try {
        TfSDK::Execute(this);
    } catch (const std::exception &error) {
        showError(error);
    }
}

} // namespace brevnote
