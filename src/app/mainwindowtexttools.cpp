// The Format menu's text tools, working in place on the pad's text.
#include "mainwindow.h"

#include "texttools/formatrecortarcolunas.h"
#include "texttools/formatupperfirst.h"
#include "texttools/linecommands.h"

namespace brevnote {

void TfMaster::RecortarColunasClick() {
    RunRecortarColunas(RichEdit, this);
}

void TfMaster::Ordenar1Click() {
    RunOrdenar(RichEdit, this);
}

void TfMaster::Agrupar1Click() {
    GroupLines(RichEdit, this);
}

void TfMaster::UpperFirst1Click() {
    RunUpperFirst(RichEdit, this);
}

void TfMaster::GerarArquivoCSV1Click() {
    // The save dialog belongs to the window, so it proposes the last name while the program
    // runs.
    auto *saveDialog =
        findChild<TSaveDialogCSV *>(QStringLiteral("SaveDialogCSV"), Qt::FindDirectChildrenOnly);
    if (!saveDialog)
        saveDialog = new TSaveDialogCSV(this);
    try {
        GerarArquivoCSV(RichEdit, this, *saveDialog);
    } catch (const std::exception &error) {
        showError(error);
    }
}

} // namespace brevnote
