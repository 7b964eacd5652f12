#include "util/core/openinifile.h"

#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/platform.h"

#include <QDir>

namespace brevnote {

namespace {

// The program file's full name with its last extension replaced by ".Ini"; a dot inside the
// folder part is no extension.
QString programIniFileName() {
    const QString program = platform::programFilePath();
    const qsizetype nameStart = program.lastIndexOf(u'/') + 1;
    const qsizetype dot = program.lastIndexOf(u'.');
    return (dot >= nameStart ? program.left(dot) : program) + QStringLiteral(".Ini");
}

} // namespace

std::unique_ptr<IniFile> OpenIniFile(const QString &fileName) {
    const QString folder = fileName.left(fileName.lastIndexOf(u'/') + 1);
    if (!folder.isEmpty())
        QDir().mkdir(folder); // that one folder only; a failure shows up as the write test's
    QString fullName;
    if (fileName.isEmpty())
        fullName = programIniFileName();
    else if (folder.isEmpty())
        fullName = platform::programFolder() + fileName;
    else
        fullName = fileName;

    auto ini = std::make_unique<IniFile>(fullName);
    const QString testSection = QStringLiteral("tmp_") + fullName;
    try {
        ini->writeString(testSection, QStringLiteral("Date"), IniDateTimeText(currentDateTime()));
        ini->flush();
        ini->eraseSection(testSection);
    } catch (const AppError &) {
        throw AppError(QStringLiteral("Unable to write to %1").arg(fullName));
    }
    return ini;
}

} // namespace brevnote
