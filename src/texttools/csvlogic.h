#pragma once

#include <QStringList>

// The one-column CSV file of "Gerar Arquivo CSV".
namespace brevnote {

// "CSV_Header;", then per line: every ";" made ".", blanks trimmed from both ends, ";" added.
QStringList CsvLines(const QStringList &lines);

} // namespace brevnote
