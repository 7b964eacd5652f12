#pragma once

#include "util/core/inifile.h"

#include <memory>

namespace brevnote {

// Opens an INI file after proving it can be written. A bare name lives in the program folder;
// an empty name means the program file's name with ".Ini". Raises
// AppError("Unable to write to <full name>") when the write test fails.
std::unique_ptr<IniFile> OpenIniFile(const QString &fileName);

} // namespace brevnote
