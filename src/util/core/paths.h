#pragma once

#include <QString>

// Folders and file names of the program. The separator is "/".
namespace brevnote {

// Creates every folder of the path (failures are silent) and returns the path unchanged.
QString ForceDirectoriesPath(const QString &path);
// Program folder joined with a sub-folder (created when missing) and, when given, a file name.
QString AppSubPath(const QString &subFolder, const QString &fileName);
// The program's private temporary folder, with a trailing "/".
QString TempFolder();
// A full file name in the temporary folder; the file is not created.
QString TempFileName(const QString &nameOrExtension);
// The "Windows folder": the user's configuration folder for the program's shared settings.
QString WindowsDirectory();
// Whether a development environment runs for this user.
bool IsDesignerRunning();

} // namespace brevnote
