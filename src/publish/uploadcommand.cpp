#include "publish/uploadcommand.h"

#include "publish/commatext.h"
#include "util/core/textroutines.h"

#include <QFileInfo>
#include <QProcess>

namespace brevnote {

namespace {

void appendWhenNotBlank(QStringList *parts, const QString &name, const QString &value) {
    const QString trimmed = TrimBlanks(value);
    if (!trimmed.isEmpty())
        parts->append(name + trimmed);
}

} // namespace

QStringList UploadCommandParts(const UploadSettings &settings) {
    QStringList parts{
        settings.program,
        QStringLiteral("folder=") + settings.folder,
        QStringLiteral("filenames=") + CommaText(settings.files),
        QStringLiteral("URL=") + TrimBlanks(settings.url),
    };
    appendWhenNotBlank(&parts, QStringLiteral("Host="), settings.host);
    appendWhenNotBlank(&parts, QStringLiteral("User="), settings.user);
    appendWhenNotBlank(&parts, QStringLiteral("PassWord="), settings.password);
    return parts;
}

QString UploadCommandLine(const UploadSettings &settings) {
    return UploadCommandParts(settings).join(u' ');
}

ProgramStart UploadProgramStart(const UploadSettings &settings) {
    const QString program = TrimBlanks(settings.program);
    // No program at all: "folder=" must not pass for one.
    if (program.isEmpty() || QFileInfo(program).isFile()) {
        const QStringList rest = UploadCommandParts(settings).mid(1);
        return {program, QProcess::splitCommand(rest.join(u' '))};
    }
    QStringList words = QProcess::splitCommand(UploadCommandLine(settings));
    if (words.isEmpty())
        return {};
    const QString first = words.takeFirst();
    return {first, words};
}

} // namespace brevnote
