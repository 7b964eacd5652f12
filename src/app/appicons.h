#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

namespace brevnote {

// The desktop theme's icon of that name; without one, the style's standard icon.
QIcon themedIcon(const QString &themeName, QStyle::StandardPixmap fallback);

// The desktop theme's icon of that name; without one, a drawn letter, so a button never
// ends up blank on a desktop without an icon theme.
QIcon themedIcon(const QString &themeName, QChar fallbackLetter);

// The notification-area icon: a small yellow note, drawn here so it never depends on a theme.
QIcon trayIconImage();

} // namespace brevnote
