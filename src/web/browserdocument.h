#pragma once

#include <QString>
#include <QStringList>

class QWebEngineView;

// Reading the shown document's HTML out of a web view. The engine answers asynchronously;
// these wait for it in a local event loop that takes no user input, for at most the time
// limit, so a page that never answers leaves no frozen window.
namespace brevnote {

// How long the document's HTML is waited for.
inline constexpr int kDocumentWaitMs = 5000;

// The document's HTML as the view holds it; false when no view or no page exists yet, or the
// engine did not answer within `waitMs`.
bool BrowserDocumentText(QWebEngineView *browser, QString *html, int waitMs = kDocumentWaitMs);

// On success adds the document's HTML to `lines` as one item; true on success.
bool BrowserDocumentHTML(QWebEngineView *browser, QStringList *lines, int waitMs = kDocumentWaitMs);

// Writes the document's HTML into `fileName`, created or replaced; false when the document
// could not be read. With no page loaded yet an empty document is written. Raises
// AppError("Cannot create file <name>") when the file cannot be written.
bool SaveBrowserDocument(QWebEngineView *browser, const QString &fileName,
                         int waitMs = kDocumentWaitMs);

} // namespace brevnote
