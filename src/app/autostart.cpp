#include "autostart.h"

#include "applicationid.h"

#include "util/core/apperror.h"
#include "util/core/inifile.h"
#include "util/core/safefile.h"

#include <QDir>
#include <QFileInfo>

namespace brevnote {

namespace {

// Seconds the session waits before starting the program: tray hosts start late at login.
constexpr int kStartDelaySeconds = 5;

QString autostartFolder() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config + QStringLiteral("/autostart"));
}

bool needsQuoting(const QString &argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (argument.isEmpty())
        return true;
    for (const QChar c : argument) {
        if (reserved.contains(c))
            return true;
    }
    return false;
}

// A desktop entry's string value: backslash and control characters escaped.
QString escapeValue(const QString &value) {
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

QString autostartEntryPath() {
    return autostartFolder() + u'/' + applicationId() + QStringLiteral(".desktop");
}

QString desktopExecArgument(const QString &path) {
    QString argument;
    if (needsQuoting(path)) {
        argument += u'"';
        for (const QChar c : path) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                argument += u'\\';
            argument += c;
        }
        argument += u'"';
    } else {
        argument = path;
    }
    // "%" starts a field code; a literal one is doubled.
    argument.replace(u'%', QStringLiteral("%%"));
    return escapeValue(argument);
}

QString autostartEntryText(const QString &programPath) {
    const QString lines[] = {
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=Brevnote"),
        QStringLiteral("Comment=Always-on-top plain-text scratch pad in the system tray"),
        QStringLiteral("Exec=") + desktopExecArgument(programPath),
        QStringLiteral("Icon=") + applicationId(),
        QStringLiteral("Terminal=false"),
        QStringLiteral("X-GNOME-Autostart-enabled=true"),
        QStringLiteral("X-GNOME-Autostart-Delay=%1").arg(kStartDelaySeconds),
    };
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    return text;
}

bool autostartEnabled() {
    const QString path = autostartEntryPath();
    if (!QFileInfo(path).isFile())
        return false;
    const IniFile entry(path);
    const QString section = QStringLiteral("Desktop Entry");
    const auto isText = [&](const QString &key, const QString &text) {
        return entry.readString(section, key).trimmed().compare(text, Qt::CaseInsensitive) == 0;
    };
    return !isText(QStringLiteral("Hidden"), QStringLiteral("true")) &&
           !isText(QStringLiteral("X-GNOME-Autostart-enabled"), QStringLiteral("false"));
}

void enableAutostart(const QString &programPath) {
    const QString folder = autostartFolder();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw AppError(QStringLiteral("Cannot create folder ") + folder);
    const QString path = autostartEntryPath();
    // A foreign entry of that name that is read-only would be kept by the safe writer.
    if (QFileInfo(path).isFile() && !QFileInfo(path).isWritable())
        QFile::remove(path);
    writeFileSafely(path, autostartEntryText(programPath).toUtf8());
}

void disableAutostart() {
    const QString path = autostartEntryPath();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return;
    if (!QFile::remove(path))
        throw AppError(QStringLiteral("Cannot delete file ") + path);
}

} // namespace brevnote
