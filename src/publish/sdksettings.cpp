#include "publish/sdksettings.h"

#include "publish/commatext.h"
#include "util/core/openinifile.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/core/textroutines.h"

#include <QFile>

namespace brevnote {

namespace {

const QString kSection = QStringLiteral("TfSDK");
const QString kEditorName = QStringLiteral("EditorHTML");

// Creates the file with owner-only access, or takes group and others' access away from an
// existing one. Every later write keeps the mode: the INI writer replaces the file through
// QSaveFile, which gives the new file the old one's permissions.
void keepForOwnerOnly(const QString &path) {
    constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        return;
    if (file.exists())
        file.setPermissions(file.permissions() & ownerOnly);
}

} // namespace

std::unique_ptr<IniFile> OpenSdkSettingsFile() {
    const QString path = platform::programFolder() + kSection + QStringLiteral(".ini");
    keepForOwnerOnly(path);
    return OpenIniFile(path);
}

SdkSettings LoadSdkSettings(const IniFile &ini) {
    const auto read = [&ini](const char *key) {
        return ini.readString(kSection, QString::fromLatin1(key));
    };
    SdkSettings settings;
    settings.historyPage = read("FilenameEdit_Historico");
    settings.uploadProgram = read("FilenameEdit_FTP");
    settings.installerScript = read("FilenameEdit_Install");
    settings.uploadFiles = ParseCommaText(read("ListBox_FTPFiles"));
    settings.host = read("Edit_FTPHost");
    settings.password = read("Edit_FTPPassword");
    settings.user = read("Edit_FTPUser");
    settings.folder = read("Edit_FTPFolder");
    settings.url = read("Edit_URL");
    return settings;
}

void SaveSdkSettings(IniFile &ini, const SdkSettings &settings) {
    const auto write = [&ini](const char *key, const QString &value) {
        ini.writeString(kSection, QString::fromLatin1(key), value);
    };
    write("FilenameEdit_Historico", settings.historyPage);
    write("FilenameEdit_FTP", settings.uploadProgram);
    write("FilenameEdit_Install", settings.installerScript);
    write("ListBox_FTPFiles", CommaText(settings.uploadFiles));
    write("Edit_FTPHost", settings.host);
    write("Edit_FTPPassword", settings.password);
    write("Edit_FTPUser", settings.user);
    write("Edit_FTPFolder", settings.folder);
    write("Edit_URL", settings.url);
    ini.flush();
}

std::unique_ptr<IniFile> OpenSharedEditorFile() {
    return OpenIniFile(
        JoinWithSeparator(WindowsDirectory(), QStringLiteral("SDK.Ini"), QStringLiteral("/")));
}

QString ReadExternalEditor(const IniFile &shared) {
    return shared.readString(kEditorName, kEditorName);
}

void WriteExternalEditor(IniFile &shared, const QString &path) {
    shared.writeString(kEditorName, kEditorName, path);
}

} // namespace brevnote
