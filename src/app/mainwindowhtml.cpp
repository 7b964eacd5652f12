// The commands that open the HTML tools.
#include "mainwindow.h"

namespace brevnote {

void TfMaster::HTMLText1Click() {
    // Opens the text-to-HTML panel once it exists.
}

void TfMaster::Browser1Click() {
    // Opens the HTML viewer with its address bar once it exists.
}

} // namespace brevnote
