#pragma once

#include <QIcon>
#include <QString>

namespace brevnote {

// The desktop theme's icon of that freedesktop name when the theme has one; otherwise the
// program's own picture of the same name, so every button has a real icon on a bare desktop.
// The theme is asked first: the own picture is only loaded when it is needed. Both are
// looked up when the icon is first drawn or asked about, not when it is made.
QIcon themedIcon(const QString &themeName);

// The resource path of the program's own picture for that icon name.
QString bundledIconPath(const QString &themeName);

// The program's icon, a yellow note: the notification-area icon and the windows' icon. Its
// own picture, never the theme's, so the tray always shows the same note.
QIcon trayIconImage();

} // namespace brevnote
