#pragma once

#include "toolprogress.h"

#include "util/core/lineranges.h"

#include <QCollator>
#include <QStringList>

#include <optional>
#include <vector>

// The sort of lines: ascending, ignoring case, by the user's locale.
namespace brevnote {

// A case-blind collator for the user's locale. Under the C or POSIX locale (servers, CI,
// minimal systems) it collates as Brazilian Portuguese, the program's own language: the C
// collation would put accented letters after Z.
QCollator CaseBlindCollator();

// Sorts in place, each line's collation key computed once; a large text is keyed and sorted
// on two threads, with `progress` told from the calling thread all along. Lines that compare
// equal keep their order; duplicates and empty lines stay (empty lines first). False, with
// the lines untouched, when `progress` asked to stop.
bool SortLinesCaseBlind(QStringList &lines, const LineProgress &progress = {});

// The lines of `text`, cut at `breaks`, sorted as SortLinesCaseBlind sorts them and joined by
// '\n' (none after the last): the lines are read where they stand in the text, without a
// string for each. Nothing when `progress` asked to stop.
std::optional<QString> SortTextCaseBlind(QStringView text, LineEnds breaks,
                                         const LineProgress &progress = {});

// The order SortLinesCaseBlind would put the lines at `ranges` of `text` in, as indexes into
// `ranges`: for a caller that reads the sorted lines straight from the text. Nothing when
// `progress` asked to stop. With Threads::One a large text is keyed on the calling thread
// alone.
std::optional<std::vector<qsizetype>> CaseBlindLineOrder(QStringView text,
                                                         const std::vector<LineRange> &ranges,
                                                         const LineProgress &progress = {},
                                                         Threads threads = Threads::Two);

} // namespace brevnote
