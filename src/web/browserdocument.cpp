#include "web/browserdocument.h"

#include "html/htmlfile.h"
#include "util/core/safefile.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace brevnote {

namespace {

// Shared with the engine's callback, which may come after the wait has given up.
struct PendingHtml {
    QString html;
    bool answered = false;
    QPointer<QEventLoop> loop;
};

bool hasPage(const QWebEngineView *browser) {
    return browser && browser->page() && !browser->url().isEmpty();
}

} // namespace

bool BrowserDocumentText(QWebEngineView *browser, QString *html, int waitMs) {
    if (!hasPage(browser))
        return false;
    auto pending = std::make_shared<PendingHtml>();
    QEventLoop loop;
    pending->loop = &loop;
    browser->page()->toHtml([pending](const QString &result) {
        pending->html = result;
        pending->answered = true;
        if (pending->loop)
            pending->loop->quit();
    });
    if (!pending->answered) {
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        // No user input meanwhile: a second command or a close must not start inside this one.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    pending->loop = nullptr;
    if (!pending->answered)
        return false;
    *html = pending->html;
    return true;
}

bool BrowserDocumentHTML(QWebEngineView *browser, QStringList *lines, int waitMs) {
    QString html;
    if (!BrowserDocumentText(browser, &html, waitMs))
        return false;
    lines->append(html);
    return true;
}

bool SaveBrowserDocument(QWebEngineView *browser, const QString &fileName, int waitMs) {
    QString html;
    if (hasPage(browser) && !BrowserDocumentText(browser, &html, waitMs))
        return false;
    writeFileSafely(fileName, EncodeHtmlDocument(html));
    return true;
}

} // namespace brevnote
