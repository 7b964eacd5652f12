// The Format menu's text tools, working in place on the pad's text.
#include "mainwindow.h"

namespace brevnote {

void TfMaster::RecortarColunasClick() {
    // The column cutter arrives with the text tools.
}

void TfMaster::Ordenar1Click() {
    // Sorting arrives with the text tools.
}

void TfMaster::Agrupar1Click() {
    // Grouping arrives with the text tools.
}

void TfMaster::UpperFirst1Click() {
    // The word capitaliser arrives with the text tools.
}

void TfMaster::GerarArquivoCSV1Click() {
    // CSV generation arrives with the text tools.
}

} // namespace brevnote
