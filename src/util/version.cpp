#include "version.h"

#include "platform.h"

namespace brevnote {

QString ExeFileVersion() {
    // Linux executables carry no version resource; the build compiles the version in.
    return platform::versionText();
}

} // namespace brevnote
