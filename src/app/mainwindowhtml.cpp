// The commands that open the HTML tools.
#include "mainwindow.h"

#include "html/htmldialog.h"
#include "html/htmltextpanel.h"

#include <memory>

namespace brevnote {

namespace {
// The one "Browser" viewer, a Qt child of the main window found again by this name.
const QString kBrowserDialogName = QStringLiteral("BrowserDialog");
} // namespace

void TfMaster::HTMLText1Click() {
    const auto panel = std::make_unique<TfHTMLText>(this);
    panel->exec();
}

void TfMaster::Browser1Click() {
    auto *BrowserDialog = findChild<TfHTMDialog *>(kBrowserDialogName, Qt::FindDirectChildrenOnly);
    if (!BrowserDialog) {
        BrowserDialog = new TfHTMDialog(this); // kept, with its page, until the program ends
        BrowserDialog->setObjectName(kBrowserDialogName);
    }
    BrowserDialog->ShowAddressBar();
    BrowserDialog->exec();
}

} // namespace brevnote
