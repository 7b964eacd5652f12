#include "csvlogic.h"

#include "util/core/textroutines.h"

namespace brevnote {

QStringList CsvLines(const QStringList &lines) {
    QStringList csv;
    csv.reserve(lines.size() + 1);
    csv.append(QStringLiteral("CSV_Header;"));
    for (const QString &line : lines) {
        QString field = TrimBlanksView(line).toString();
        field.replace(u';', u'.');
        field.append(u';');
        csv.append(std::move(field));
    }
    return csv;
}

} // namespace brevnote
