#include "util/core/browsepagefile.h"

#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <QFileInfo>
#include <QThread>

namespace brevnote {

namespace {

const QString kPageName = QStringLiteral("HTMLText2Browse");

} // namespace

QString WriteBrowsePage(const QString &html, const QString &fileName, bool uniqueName) {
    const QStringList lines = splitLines(html);

    QString file = fileName.isEmpty()
                       ? AppSubPath(QStringLiteral("tmp"), kPageName + QStringLiteral(".htm"))
                       : fileName;
    if (uniqueName) {
        // The name carries the milliseconds; waiting one makes the next call's name differ.
        QThread::msleep(1);
        // "MM" is the month: the stamp is month, seconds and milliseconds.
        const QString stamp = currentDateTime().toString(QStringLiteral(".MM.ss.zzz"));
        file = JoinWithSeparator(TempFolder(), kPageName + stamp + QStringLiteral(".htm"),
                                 QStringLiteral("/"));
    }
    if (!file.contains(u'/'))
        file = AppSubPath(QStringLiteral("tmp"), file);

    writeLinesFile(file, lines);
    return QFileInfo(file).absoluteFilePath();
}

} // namespace brevnote
