#include "web/browserroutines.h"

#include "util/core/browsepagefile.h"

#include <QUrl>
#include <QWebEngineView>

namespace brevnote {

void BrowserNavigate(QWebEngineView *browser, const QString &location) {
    // fromUserInput turns an absolute path into a file URL (keeping "#" and "?" in the name)
    // and reads anything else as an address typed by the user.
    browser->load(QUrl::fromUserInput(location));
}

void BrowseHtmlText(const QString &html, QWebEngineView *browser, const QString &fileName,
                    QString *usedFileName, bool uniqueName) {
    // Writing first: when it fails the error reaches the caller before the view is told anything.
    const QString written = WriteBrowsePage(html, fileName, uniqueName);
    BrowserNavigate(browser, written);
    if (usedFileName)
        *usedFileName = written;
}

} // namespace brevnote
