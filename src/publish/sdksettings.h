#pragma once

#include "util/core/inifile.h"

#include <QString>
#include <QStringList>

#include <memory>

// The release panel's stored settings: TfSDK.ini beside the program, section [TfSDK], one key
// per control named after it; and the shared choice of external HTML editor in SDK.Ini in the
// Windows folder.
namespace brevnote {

struct SdkSettings {
    QString historyPage;     // FilenameEdit_Historico
    QString uploadProgram;   // FilenameEdit_FTP
    QString installerScript; // FilenameEdit_Install
    QStringList uploadFiles; // ListBox_FTPFiles, stored in comma-separated form
    QString host;            // Edit_FTPHost
    QString password;        // Edit_FTPPassword, stored as typed
    QString user;            // Edit_FTPUser
    QString folder;          // Edit_FTPFolder
    QString url;             // Edit_URL
};

// TfSDK.ini in the program folder, opened after the write test. The file holds the upload
// password as typed, so it is created readable and writable by its owner only, and an
// existing one loses any access by others. Raises AppError when it cannot be written.
std::unique_ptr<IniFile> OpenSdkSettingsFile();

// A missing key reads as empty (an empty list for the files).
SdkSettings LoadSdkSettings(const IniFile &ini);
// Writes every key; raises AppError when the file cannot be written.
void SaveSdkSettings(IniFile &ini, const SdkSettings &settings);

// SDK.Ini in the Windows folder, opened after the write test.
std::unique_ptr<IniFile> OpenSharedEditorFile();
// [EditorHTML] EditorHTML: the external HTML editor's full path; empty when none was chosen.
QString ReadExternalEditor(const IniFile &shared);
void WriteExternalEditor(IniFile &shared, const QString &path);

} // namespace brevnote
