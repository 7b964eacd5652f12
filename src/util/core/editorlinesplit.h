#pragma once

#include <QString>
#include <QStringList>

// How the editor's raw text is cut into lines and lines are put back, without widgets, so
// the rule is tested and fuzzed on its own.
namespace brevnote {

// What an empty last paragraph (a text that ends with a break) counts as.
enum class EmptyLastParagraph {
    IsALine,     // one more, empty line: the pad keeps its text exactly (dump, "Salvar")
    StartsNoLine // no line, like a break at the end of a file: the text tools
};

// The editor's raw text (paragraphs separated by U+2029) as lines: each paragraph is one
// line; an empty text has no lines.
QStringList splitEditorLines(const QString &rawText,
                             EmptyLastParagraph emptyLast = EmptyLastParagraph::IsALine);

// The lines as one text for the editor, separated by LF, which the editor makes paragraph
// breaks; no break after the last line.
QString joinEditorLines(const QStringList &lines);

} // namespace brevnote
