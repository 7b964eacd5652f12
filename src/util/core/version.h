#pragma once

#include <QString>

namespace brevnote {

// The program's version text, compiled in ("2026.12.8"); empty when none was compiled in.
QString ExeFileVersion();

} // namespace brevnote
