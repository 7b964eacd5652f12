#pragma once

#include <QString>
#include <QStringList>

// How the text tools cut the editor's text into lines and put lines back.
namespace brevnote {

// The editor's raw text (paragraphs separated by U+2029) as lines: each paragraph is one
// line, except an empty last one (a break at the end starts no further line); an empty text
// has no lines.
QStringList SplitToolLines(const QString &rawText);

// The lines as one text for the editor, separated by LF, which the editor makes paragraph
// breaks; no break after the last line.
QString JoinToolLines(const QStringList &lines);

} // namespace brevnote
