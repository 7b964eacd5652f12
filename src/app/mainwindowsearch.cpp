// "Procurar nos textos salvos": the menu items, the search index of the dumps and its window.
#include "mainwindow.h"

#include "appicons.h"
#include "util/ui/editorlines.h"

#include "search/dumpindex.h"
#include "search/searchindexer.h"
#include "search/searchwindow.h"
#include "texttools/toolprogressdialog.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace brevnote {

namespace {

// Found again by name, so the main window's header needs no members for them.
const QString kSearchService = QStringLiteral("SearchService");
const QString kSearchWindow = QStringLiteral("TfProcurar");
// The index is brought up to date this long after start, when the program is up and idle:
// the thread, SQLite and its driver plugin cost the start nothing. Opening the search window
// starts it at once.
constexpr int kSearchIndexDelayMs = 5000;
const QString kWaitForTheTool =
    QStringLiteral("Uma ferramenta de texto está trabalhando no texto do Brevnote. "
                   "Aguarde que ela termine e tente de novo.");

// Puts `action` right after `after` in the menu.
void insertAfter(QMenu *menu, QAction *after, QAction *action) {
    const QList<QAction *> actions = menu->actions();
    const qsizetype at = actions.indexOf(after);
    menu->insertAction(at >= 0 && at + 1 < actions.size() ? actions.at(at + 1) : nullptr, action);
}

} // namespace

void TfMaster::createSearchItems() {
    auto *Procurar1 = new QAction(themedIcon(QStringLiteral("system-search")),
                                  QStringLiteral("Procurar nos textos salvos"), this);
    Procurar1->setObjectName(QStringLiteral("Procurar1"));
    connect(Procurar1, &QAction::triggered, this, &TfMaster::Procurar1Click);
    insertAfter(PopupMenu_Tools, Browser1, Procurar1);
    insertAfter(PopupMenu_TrayIcon, Lembretes1, Procurar1);
    QTimer::singleShot(kSearchIndexDelayMs, Qt::VeryCoarseTimer, this, &TfMaster::startSearchIndex);
}

void TfMaster::startSearchIndex() {
    if (auto *service = findChild<SearchService *>(kSearchService, Qt::FindDirectChildrenOnly)) {
        service->start(); // again, after an ending that failed stopped it
        return;
    }
    // Every folder a dump may have gone to (see closingDumpFolders and the recovery).
    auto *service = new SearchService(DataFolder + u'/' + dumpIndexFileName(),
                                      {DataFolder, platform::programFolder(), TempFolder()}, this);
    service->setObjectName(kSearchService);
    service->start();
}

void TfMaster::stopSearchIndex() {
    if (auto *service = findChild<SearchService *>(kSearchService, Qt::FindDirectChildrenOnly))
        service->stop();
}

void TfMaster::searchDumpWritten(const QString &path) {
    if (path.isEmpty())
        return;
    // Before the index has started the dump waits for it: its first pass reads every new
    // dump, this one's included (at the next start when the program ends now).
    if (auto *service = findChild<SearchService *>(kSearchService, Qt::FindDirectChildrenOnly))
        service->dumpWritten(path);
}

void TfMaster::Procurar1Click() {
    startSearchIndex();
    auto *window = findChild<TfProcurar *>(kSearchWindow, Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TfProcurar(
            findChild<SearchService *>(kSearchService, Qt::FindDirectChildrenOnly), this);
        connect(window, &TfProcurar::openInPad, this, [this, window](const QString &text) {
            // A text tool reads the pad's text on a worker and puts its result back in
            // slices: a text put in meanwhile would be cut into by the tool's result.
            if (ToolProgressDialog::anyAtWork()) {
                OwnerMessageBox(window, kWaitForTheTool, QString(), MB_OK | MB_ICONINFORMATION);
                return;
            }
            // One step of the editor's undo: Ctrl+Z brings the pad's text back.
            replaceEditorText(RichEdit, text);
            Restaurar1Click();
        });
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->searchBox()->setFocus();
    window->searchBox()->selectAll();
}

} // namespace brevnote
