#include "publish/historypage.h"

#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <QFileInfo>

namespace brevnote {

namespace {

const QString kMarkerName = QStringLiteral("[AppVer");

} // namespace

QStringList HistoryTemplate() {
    return {
        QStringLiteral("<html>"),
        QStringLiteral("<!--appver=VERSÃO-->"),
        QStringLiteral("<head>"),
        QStringLiteral("<title>Velmora Informática</title>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body bgcolor=lightyellow>"),
        QString(),
        QStringLiteral("<Font size=6 color=blue>[SISTEMA]</Font>"),
        QStringLiteral("<hr>"),
        QStringLiteral("<Font size=5 color=red>Atualizações</Font>"),
        QStringLiteral("<p>"),
        QString(),
        QStringLiteral("<ul>"),
        QStringLiteral("<li>"),
        QStringLiteral("<Font size=4 color=blue>[DATA]([VERSÃO])</Font>"),
        QStringLiteral("</li>"),
        QStringLiteral("<ul>"),
        QStringLiteral("<li>"),
        QStringLiteral("Texto"),
        QStringLiteral("</li>"),
        QStringLiteral("</ul>"),
        QStringLiteral("</ul>"),
        QStringLiteral("<hr>"),
        QString(),
        QStringLiteral("</body>"),
        QStringLiteral("</html>"),
    };
}

QString HistoryPageText(const QString &title, const QDate &date, const QString &version) {
    QString text = joinLines(HistoryTemplate());
    text.replace(QStringLiteral("[SISTEMA]"), title, Qt::CaseSensitive);
    text.replace(QStringLiteral("[DATA]"), date.toString(QStringLiteral("dd.MM.yyyy")),
                 Qt::CaseSensitive);
    text.replace(QStringLiteral("[VERSÃO]"), version, Qt::CaseSensitive);
    return text;
}

QString DefaultHistoryPath() {
    const QString base = FileBaseNameUpper(platform::programFilePath(), false);
    return AppSubPath(QStringLiteral("Installs"), AsciiLower(base + QStringLiteral(".htm")));
}

bool CreateHistoryPage(const QString &path, const QString &title, const QDate &date,
                       const QString &version) {
    if (QFileInfo::exists(path))
        return false;
    writeFileSafely(path, encodeText(HistoryPageText(title, date, version)));
    return true;
}

QStringList StampVersionMarker(QStringList lines, const QString &version) {
    const QString marker = kMarkerName + u'=' + version + u']';
    for (QString &line : lines) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0 && SameTextAscii(QStringView(line).left(equals), kMarkerName)) {
            line = marker;
            return lines;
        }
    }
    lines.append(marker);
    return lines;
}

bool StampVersionMarkerInFile(const QString &path, const QString &version) {
    if (!QFileInfo(path).isFile())
        return false;
    writeLinesFile(path, StampVersionMarker(splitLines(readTextFile(path)), version));
    return true;
}

bool ListHoldsPath(const QStringList &entries, const QString &path) {
    return entries.contains(path, Qt::CaseInsensitive);
}

} // namespace brevnote
