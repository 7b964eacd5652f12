#pragma once

#include <QString>

// The text tools' case changes: character by character (QChar's Unicode mappings, which also
// cover accented letters), so the length of a text never changes. A character whose other
// case would need a different number of UTF-16 units keeps its case.
namespace brevnote {

QString UpperEachChar(QStringView text);
QString LowerEachChar(QStringView text);

} // namespace brevnote
