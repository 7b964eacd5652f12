#pragma once

#include <QString>

namespace brevnote {

// Stamps the program's title and version into an installer script read as an INI file:
// [Setup] AppName, AppVerName and VersionInfoVersion, and [Aviso de atualização] Sistema and
// an empty "Ref:". The title written is `title` + " [" + `version` + "]". Every other key and
// section stays as it was; stamping twice gives the same file. Returns the script's full name.
// Raises AppError when the script cannot be written.
QString StampInstallerScript(const QString &path, const QString &title, const QString &version);

} // namespace brevnote
