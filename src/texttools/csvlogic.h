#pragma once

#include <QStringList>

// The one-column CSV file of "Gerar Arquivo CSV".
namespace brevnote {

// "CSV_Header;", then per line: every ";" made ".", blanks trimmed from both ends, ";" added.
QStringList CsvLines(const QStringList &lines);

// The same file as one text, lines separated by '\n' (encodeLines gives its bytes), for the
// editor's raw text (paragraphs separated by U+2029, an empty last paragraph starting no
// line, as editorLines(StartsNoLine) splits it): joinEditorLines(CsvLines(those lines)) without
// building either list, so a large text is held once more, not three times.
QString CsvText(QStringView rawText);

} // namespace brevnote
