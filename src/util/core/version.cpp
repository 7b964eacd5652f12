#include "util/core/version.h"

#include "util/core/platform.h"

namespace brevnote {

QString ExeFileVersion() {
    // Linux executables carry no version resource; the build compiles the version in.
    return platform::versionText();
}

} // namespace brevnote
