#pragma once

#include <QByteArray>

class QApplication;

// What the program settles with the desktop before and right after the application object
// exists: the windowing platform, Qt's own Brazilian Portuguese texts and the desktop name.
namespace brevnote {

// The Qt platform to ask for, from the session's variables: empty leaves Qt's own choice.
// In a Wayland session that also offers an X display the program runs through XWayland
// ("xcb", falling back to "wayland"): a native Wayland window can neither place itself nor
// stay on top. A platform the user chose is kept.
QByteArray chooseQtPlatform(const QByteArray &userChoice, const QByteArray &display,
                            const QByteArray &waylandDisplay, const QByteArray &sessionType);

// Before the application object: sets QT_QPA_PLATFORM from chooseQtPlatform.
void prepareStartupEnvironment();

// Loads Qt's own translation to Brazilian Portuguese (the buttons "Sim"/"Não", the file, font
// and print dialogs, the editor's menu) whatever the locale, from Qt's translations folder.
// Returns false when Qt's translations are not installed; the program then runs with them in
// English.
bool installQtTranslations(QApplication &app);

// Right after the application object: the translations, the desktop file name (the Wayland
// app id and the launcher the desktop groups the windows under) and the windows' icon.
void applyDesktopIntegration(QApplication &app);

} // namespace brevnote
