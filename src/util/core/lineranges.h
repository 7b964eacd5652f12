#pragma once

#include <QStringView>

#include <vector>

// A text's lines as places in it, for tools that go through many lines without making a
// string of each: a million small strings cost more to make and free than the tool's work.
namespace brevnote {

struct LineRange {
    qsizetype start;
    qsizetype length;
};

// Which characters end a line.
enum class LineEnds {
    File,            // CR LF, lone CR, lone LF: the lines splitLines gives
    EditorParagraphs // U+2029, the editor's raw text: splitEditorLines with StartsNoLine
};

// The lines of `text`, in order. A break at the very end starts no further line; an empty
// text has no lines.
std::vector<LineRange> lineRanges(QStringView text, LineEnds breaks);

} // namespace brevnote
