#pragma once

#include <QString>

namespace brevnote {

// The program's reverse-DNS name on the desktop: it names the launcher, the AppStream file,
// the icon and the autostart entry, and is the Wayland app id.
inline QString applicationId() {
    return QStringLiteral("com.velmora.Brevnote");
}

} // namespace brevnote
