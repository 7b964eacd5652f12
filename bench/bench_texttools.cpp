// The text tools on a million generated lines (about 34 MB): sort, group, cut and CSV, each
// from the file (read, decode, split, tool) and the tool alone on lines in memory, plus the
// editor's one-step replacement and its undo. bench/texttools_compare.sh runs the matching
// shell commands on the same file. `--write-input=FILE` writes the file and exits.

#include "texttools/columncutlogic.h"
#include "texttools/csvlogic.h"
#include "texttools/sortlogic.h"
#include "texttools/valuefrom.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <cstring>

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

void sortFromFile(benchmark::State &state) {
    for (auto _ : state) {
        QStringList lines = readInput();
        SortLinesCaseBlind(lines);
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(sortFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void groupFromFile(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupLinesHTML(readInput()).size());
}
BENCHMARK(groupFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void cutFromFile(benchmark::State &state) {
    for (auto _ : state) {
        QStringList lines = readInput();
        CutLines(lines, cutOptions());
        benchmark::DoNotOptimize(lines.size());
    }
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

void cutLines(benchmark::State &state) {
    for (auto _ : state) {
        QStringList lines = inputLines();
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

// The one-step replacement every changing tool ends with, then Ctrl+Z.
void editorReplaceAndUndo(benchmark::State &state) {
    QPlainTextEdit editor;
    editor.setPlainText(inputLines().join(u'\n'));
    QStringList cut = inputLines();
    CutLines(cut, cutOptions());
    for (auto _ : state) {
        replaceEditorLines(&editor, cut);
        editor.undo();
    }
}
BENCHMARK(editorReplaceAndUndo)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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
