#include "publish/installerscript.h"

#include "util/core/openinifile.h"

namespace brevnote {

QString StampInstallerScript(const QString &path, const QString &title, const QString &version) {
    const QString titled = title + QStringLiteral(" [") + version + u']';
    const QString setup = QStringLiteral("Setup");
    const QString notice = QStringLiteral("Aviso de atualização");

    const std::unique_ptr<IniFile> script = OpenIniFile(path);
    script->writeString(setup, QStringLiteral("AppName"), titled);
    script->writeString(setup, QStringLiteral("AppVerName"), titled);
    script->writeString(setup, QStringLiteral("VersionInfoVersion"), version);
    script->writeString(notice, QStringLiteral("Sistema"), titled);
    script->writeString(notice, QStringLiteral("Ref:"), QString());
    script->flush();
    return script->fileName();
}

} // namespace brevnote
