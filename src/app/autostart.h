#pragma once

#include <QString>

// Starting the program with the desktop session: the user's XDG autostart entry
// "<config>/autostart/com.velmora.Brevnote.desktop".
namespace brevnote {

// The entry's full path: XDG_CONFIG_HOME/autostart, or ~/.config/autostart when it is unset
// or not absolute.
QString autostartEntryPath();

// The entry's text for a program at `programPath` (absolute): it starts that program a few
// seconds after login, so the panel's tray is there when the icon is added.
QString autostartEntryText(const QString &programPath);

// `path` as one argument of a desktop entry's Exec key: quoted and escaped when needed.
QString desktopExecArgument(const QString &path);

// Whether the session would start the program: the entry exists and is neither hidden nor
// switched off (Hidden=true, X-GNOME-Autostart-enabled=false).
bool autostartEnabled();

// Writes the entry, replacing whatever entry of that name was there. Raises AppError naming
// the folder when it cannot be created, or the file when it cannot be written.
void enableAutostart(const QString &programPath);

// Removes the entry; nothing happens when there is none. Raises AppError naming the file
// when it cannot be removed.
void disableAutostart();

} // namespace brevnote
