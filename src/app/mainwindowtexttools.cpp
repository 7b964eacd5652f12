// The Format menu's text tools, working in place on the pad's text.
#include "mainwindow.h"

#include "texttools/formatrecortarcolunas.h"
#include "texttools/formatupperfirst.h"
#include "texttools/linecommands.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace brevnote {

namespace {
// Above this many lines a tool takes long enough that the journal is written first.
constexpr int kLongWorkLines = 100000;
} // namespace

void TfMaster::saveJournalBeforeLongWork() {
    if (RichEdit->document()->blockCount() > kLongWorkLines)
        saveJournalNow();
}

void TfMaster::RecortarColunasClick() {
    saveJournalBeforeLongWork();
    RunRecortarColunas(RichEdit, this);
}

void TfMaster::Ordenar1Click() {
    saveJournalBeforeLongWork();
    RunOrdenar(RichEdit, this);
}

void TfMaster::Agrupar1Click() {
    saveJournalBeforeLongWork();
    GroupLines(RichEdit, this);
}

void TfMaster::UpperFirst1Click() {
    saveJournalBeforeLongWork();
    RunUpperFirst(RichEdit, this);
}

void TfMaster::GerarArquivoCSV1Click() {
    // The save dialog belongs to the window, so it proposes the last name while the program
    // runs.
    auto *saveDialog =
        findChild<TSaveDialogCSV *>(QStringLiteral("SaveDialogCSV"), Qt::FindDirectChildrenOnly);
    if (!saveDialog)
        saveDialog = new TSaveDialogCSV(this);
    saveJournalBeforeLongWork();
    try {
        GerarArquivoCSV(RichEdit, this, *saveDialog);
    } catch (const std::exception &error) {
        showError(error);
    }
}

} // namespace brevnote
