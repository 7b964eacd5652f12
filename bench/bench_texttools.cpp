// The text tools on a million generated lines (about 34 MB): sort, group, cut and CSV, each
// from the file (read, decode, split, tool; the sort reads the lines where they stand in the
// text and gives the sorted text) and the tool alone on lines in memory, plus the
// editor's one-step replacement and its undo. bench/texttools_compare.sh runs the matching
// shell commands on the same file. `--write-input=FILE` writes the file and exits.

#include "texttools/capitalizelogic.h"
#include "texttools/columncutlogic.h"
#include "texttools/csvlogic.h"
#include "texttools/sortlogic.h"
#include "texttools/valuefrom.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

using namespace brevnote;

namespace {

constexpr int kLines = 1000000;

// About 34 characters a line; 300,000 distinct keys in mixed case, so grouping has
// repeats to count and the case-blind rules matter.
QStringList generatedLines() {
    QStringList lines;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
        const int key = int((qint64(i) * 7919) % 300000);
        lines.append(QStringLiteral("%1 Conta de luz %2 ação R$ 12,50")
                         .arg(key, 6, 10, QLatin1Char('0'))
                         .arg(i % 3 == 0 ? QStringLiteral("SIM") : QStringLiteral("sim")));
    }
    return lines;
}

QString &inputPath() {
    static QString path;
    return path;
}

const QStringList &inputLines() {
    static const QStringList lines = splitLines(readTextFile(inputPath()));
    return lines;
}

QStringList readInput() {
    return splitLines(readTextFile(inputPath()));
}

ColumnCutOptions cutOptions() {
    ColumnCutOptions options;
    options.start = 5;
    options.size = 10;
    return options;
}

// The file's text sorted by its line places into one sorted text, lines joined by '\n' (what
// would go back into the editor), without a string per line. "Ordenar" in the editor still
// sorts the editor's lines as strings: that is sortLines below.
void sortFromFile(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SortTextCaseBlind(readTextFile(inputPath()), LineEnds::File));
}
BENCHMARK(sortFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void groupFromFile(benchmark::State &state) {
    for (auto _ : state) {
        const QString text = readTextFile(inputPath());
        benchmark::DoNotOptimize(GroupLinesHTML(text, lineRanges(text, LineEnds::File)).size());
    }
}
BENCHMARK(groupFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The file's text cut by its line places into one text, as the sort above does.
void cutFromFile(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CutText(readTextFile(inputPath()), LineEnds::File, cutOptions()));
}
BENCHMARK(cutFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void csvFromFile(benchmark::State &state) {
    QTemporaryDir dir;
    for (auto _ : state)
        writeLinesFile(dir.filePath(QStringLiteral("out.csv")), CsvLines(readInput()));
}
BENCHMARK(csvFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void sortLines(benchmark::State &state) {
    for (auto _ : state) {
        QStringList lines = inputLines();
        lines.detach();
        SortLinesCaseBlind(lines);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(sortLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void groupLines(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupLinesHTML(inputLines()).size());
}
BENCHMARK(groupLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Lines of their own, as the editor's lines are: the cut works on them in place.
QStringList unsharedLines() {
    QStringList lines;
    lines.reserve(inputLines().size());
    for (const QString &line : inputLines())
        lines.append(QString(line.constData(), line.size()));
    return lines;
}

void cutLines(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        QStringList lines = unsharedLines();
        state.ResumeTiming();
        CutLines(lines, cutOptions());
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(cutLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void csvLines(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CsvLines(inputLines()).size());
}
BENCHMARK(csvLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The longest time a tool's logic on a million lines goes without reporting to its progress
// dialog (from the start to the first report, between reports, from the last one to its end):
// while it does not report, the window does not repaint.
template<typename Tool> void longestSilence(benchmark::State &state, Tool tool) {
    double longestMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QStringList lines = unsharedLines();
        state.ResumeTiming();
        QElapsedTimer since;
        since.start();
        const LineProgress progress = [&](qsizetype, qsizetype) {
            longestMs = std::max(longestMs, since.nsecsElapsed() / 1e6);
            since.restart();
            return true;
        };
        tool(lines, progress);
        longestMs = std::max(longestMs, since.nsecsElapsed() / 1e6);
    }
    state.counters["longest_silence_ms"] = longestMs;
}

void silenceSort(benchmark::State &state) {
    longestSilence(state, [](QStringList &lines, const LineProgress &progress) {
        SortLinesCaseBlind(lines, progress);
    });
}
BENCHMARK(silenceSort)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void silenceGroup(benchmark::State &state) {
    longestSilence(state, [](QStringList &lines, const LineProgress &progress) {
        benchmark::DoNotOptimize(GroupLinesHTML(lines, progress).size());
    });
}
BENCHMARK(silenceGroup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void silenceCut(benchmark::State &state) {
    longestSilence(state, [](QStringList &lines, const LineProgress &progress) {
        CutLines(lines, cutOptions(), progress);
    });
}
BENCHMARK(silenceCut)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void silenceUpperFirst(benchmark::State &state) {
    longestSilence(state, [](QStringList &lines, const LineProgress &progress) {
        FormatLines(lines, UpperFirstOptions(), progress);
    });
}
BENCHMARK(silenceUpperFirst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The editor's lines for a tool, taken on the interface thread before any progress shows.
void editorLinesTaken(benchmark::State &state) {
    QPlainTextEdit editor;
    editor.setPlainText(inputLines().join(u'\n'));
    for (auto _ : state)
        benchmark::DoNotOptimize(editorLines(&editor, EmptyLastParagraph::StartsNoLine).size());
}
BENCHMARK(editorLinesTaken)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The one-step replacement every changing tool ends with, then Ctrl+Z.
void editorReplaceAndUndo(benchmark::State &state) {
    QPlainTextEdit editor;
    editor.setPlainText(inputLines().join(u'\n'));
    QStringList cut = inputLines();
    CutLines(cut, cutOptions());
    double replaceMs = 0;
    for (auto _ : state) {
        QElapsedTimer replace;
        replace.start();
        replaceEditorLines(&editor, cut);
        replaceMs = replace.nsecsElapsed() / 1e6;
        editor.undo();
    }
    // The replacement alone: the one step a tool cannot slice.
    state.counters["replace_ms"] = replaceMs;
}
BENCHMARK(editorReplaceAndUndo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What a changing tool's end costs beside the floor it is measured against: on a shown
// editor, the line-by-line replacement of a million lines by their sorted order (one undo
// step) and inserting the joined text over the whole text (the way before it), each against
// setPlainText of the same result into an empty editor (what the reference program does on
// "Abrir"), alternated in one process. Reports the medians of the interface thread's CPU time,
// which the load of a shared machine disturbs far less than wall time, and their ratios.
void editorReplaceBesideSetPlainText(benchmark::State &state) {
    const QString text = inputLines().join(u'\n');
    QStringList sorted = inputLines();
    SortLinesCaseBlind(sorted);
    const QString sortedText = joinEditorLines(sorted);
    std::vector<double> byLine, whole, floor;
    const auto shownEditor = [](const QString &content) {
        auto editor = std::make_unique<QPlainTextEdit>();
        editor->resize(560, 400);
        editor->show();
        if (!content.isEmpty())
            editor->setPlainText(content);
        QCoreApplication::processEvents();
        return editor;
    };
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    };
    const auto timed = [&](const std::function<void()> &step) {
        const double start = cpuMs();
        step();
        QCoreApplication::processEvents();
        return cpuMs() - start;
    };
    for (auto _ : state) {
        {
            auto editor = shownEditor(QString());
            floor.push_back(timed([&] { editor->setPlainText(sortedText); }));
        }
        {
            auto editor = shownEditor(text);
            byLine.push_back(timed([&] { replaceEditorLines(editor.get(), sorted); }));
        }
        {
            auto editor = shownEditor(text);
            whole.push_back(timed([&] { replaceEditorText(editor.get(), sortedText); }));
        }
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    state.counters["setPlainText_cpu_ms"] = median(floor);
    state.counters["byLine_cpu_ms"] = median(byLine);
    state.counters["whole_cpu_ms"] = median(whole);
    state.counters["byLine_ratio"] = median(byLine) / median(floor);
    state.counters["whole_ratio"] = median(whole) / median(floor);
}
BENCHMARK(editorReplaceBesideSetPlainText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    inputPath() = scratch.filePath(QStringLiteral("lines.txt"));
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--input=", 8) == 0)
            inputPath() = QString::fromLocal8Bit(argv[i] + 8);
        if (std::strncmp(argv[i], "--write-input=", 14) == 0) {
            writeLinesFile(QString::fromLocal8Bit(argv[i] + 14), generatedLines());
            return 0;
        }
    }
    if (!QFile::exists(inputPath()))
        writeLinesFile(inputPath(), generatedLines());
    // Our own arguments are not the benchmark library's.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--input=", 8) != 0)
            argv[kept++] = argv[i];
    }
    return runBenchmarks(kept, argv);
}
