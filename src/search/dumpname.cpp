#include "dumpname.h"

#include <QRegularExpression>

namespace brevnote {

std::optional<DumpName> parseDumpFileName(const QString &fileName) {
    // Never destroyed: the search thread may still be reading names while the program exits.
    static const auto *pattern = new QRegularExpression(
        QStringLiteral(R"(^Brevnote(\d{14})(?:(?:-\d+)?(\.recuperado))?\.txt$)"));
    const QRegularExpressionMatch match = pattern->match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime when =
        QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMddHHmmss"));
    if (!when.isValid())
        return std::nullopt;
    return DumpName{when, match.capturedLength(2) > 0};
}

qint64 dumpStamp(const DumpName &name) {
    return name.when.toString(QStringLiteral("yyyyMMddHHmmss")).toLongLong();
}

QString dumpCaption(const DumpName &name) {
    QString caption = name.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (name.recovered)
        caption += QStringLiteral(" (recuperado)");
    return caption;
}

} // namespace brevnote
