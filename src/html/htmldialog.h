#pragma once

#include <QString>

class QWidget;

namespace brevnote {

// Shows `html` modally in a fresh HTML viewer dialog that is destroyed before returning.
// True when the dialog was closed with OK. Every caller of the program passes no title,
// false, false and no save name.
bool ShowHTMLDialog(QWidget *owner, const QString &html, const QString &title = QString(),
                    bool hideButtons = false, bool maximized = false,
                    const QString &defaultSaveName = QString());

} // namespace brevnote
