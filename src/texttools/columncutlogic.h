#pragma once

#include "toolprogress.h"
#include "util/core/lineranges.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The column cutter's rules over plain lines: keep one fixed-position slice of each line.
namespace brevnote {

// Which lines are cut, by their first character. `None` is an empty choice: then only lines
// that are empty or begin with a blank are cut.
enum class LineStart { None, Todos, Alfabeto, Numerico, Alfanumerico };

struct ColumnCutOptions {
    int start = 1; // first character kept, from 1
    int size = 1;  // number of characters kept
    bool trim = false;
    LineStart lineStart = LineStart::Todos;
    QString finalText; // added to the end of every line, cut or not
};

// True when the line is to be cut: it is empty, begins with a blank, or its first character
// is of the chosen kind.
bool LineMatchesStart(QStringView line, LineStart lineStart);

// One line after the cut. The slice never splits a surrogate pair: a pair cut at either end
// is kept whole.
QString CutLine(QStringView line, const ColumnCutOptions &options);

// Cuts every line in place; false (lines partly cut) when `progress` asked to stop.
bool CutLines(QStringList &lines, const ColumnCutOptions &options,
              const LineProgress &progress = {});

// Cuts every line of `text` into one new text, lines joined by '\n', without a string per
// line; nothing when `progress` asked to stop.
std::optional<QString> CutText(QStringView text, LineEnds breaks, const ColumnCutOptions &options,
                               const LineProgress &progress = {});

} // namespace brevnote
