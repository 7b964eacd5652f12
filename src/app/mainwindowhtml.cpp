// The commands that open the HTML tools.
#include "mainwindow.h"

#include "html/htmltextpanel.h"
#include "util/ui/webwindows.h"

#include <QDialog>

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
    auto *BrowserDialog = findChild<QDialog *>(kBrowserDialogName, Qt::FindDirectChildrenOnly);
    if (!BrowserDialog) {
        WebWindows *windows = webWindows(this);
        if (!windows)
            return;
        // A TfHTMDialog with its address bar, kept with its page until the program ends.
        BrowserDialog = windows->createBrowserDialog(this);
        BrowserDialog->setObjectName(kBrowserDialogName);
    }
    BrowserDialog->exec();
}

} // namespace brevnote
