#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace brevnote {

// What the release panel starts outside itself: other programs, the desktop's program for a
// document, and the windows of other subsystems that run modally (the text viewer, the HTML
// source editor). Tests install a scripted implementation so nothing is started and nothing
// waits for a person.
class PanelServices {
public:
    virtual ~PanelServices() = default;

    // Starts the program with its arguments without waiting for it; false when it could not
    // be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // Opens the file with the program the desktop associates with its type; false on failure.
    virtual bool openDocument(const QString &path) = 0;
    // Shows the lines in the text viewer, modally.
    virtual void showTextWindow(const QStringList &lines, const QString &title) = 0;
    // Edits the file in the HTML source editor, modally; true when the user saved. Raises
    // AppError when the file cannot be read (the editor is then not shown).
    virtual bool editHtmlFile(QWidget *owner, const QString &path) = 0;
};

// The implementation in force: the real one unless a test installed another.
PanelServices &panelServices();
// Installs `services` (not owned), or the real ones again with nullptr.
void setPanelServices(PanelServices *services);

} // namespace brevnote
