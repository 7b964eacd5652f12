#pragma once

#include <QString>

class QWebEngineView;

namespace brevnote {

// Makes the view load a location: a file path becomes a file URL, anything else is read as
// the user would type it.
void BrowserNavigate(QWebEngineView *browser, const QString &location);

// Saves the HTML to a file (WriteBrowsePage) and makes the view show it; `usedFileName`
// receives the file's full name. Raises AppError before the view is told anything when the
// file cannot be written.
void BrowseHtmlText(const QString &html, QWebEngineView *browser, const QString &fileName,
                    QString *usedFileName, bool uniqueName);

} // namespace brevnote
