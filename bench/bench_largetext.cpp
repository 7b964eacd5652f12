// A million-line text through the pad: reading a file, putting it into the editor, taking
// it back out and writing the closing dump. These are the steps a huge paste, "Abrir" and
// the end of the program pay for.

#include "app/closingdump.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

using namespace brevnote;

namespace {

constexpr int kLines = 1000000;

const QStringList &millionLines() {
    static const QStringList lines = [] {
        QStringList made;
        made.reserve(kLines);
        for (int i = 0; i < kLines; ++i)
            made.append(QStringLiteral("%1;Conta de luz;vence em 11/12/2026;R$ 123,45;ação")
                            .arg(i, 7, 10, QLatin1Char('0')));
        return made;
    }();
    return lines;
}

QTemporaryDir &scratch() {
    static QTemporaryDir dir;
    return dir;
}

void readMillionLineFile(benchmark::State &state) {
    const QString path = scratch().filePath(QStringLiteral("million.txt"));
    writeLinesFile(path, millionLines());
    for (auto _ : state)
        benchmark::DoNotOptimize(splitLines(readTextFile(path)).size());
}
BENCHMARK(readMillionLineFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void putMillionLinesIntoEditor(benchmark::State &state) {
    QPlainTextEdit editor;
    for (auto _ : state)
        editor.setPlainText(millionLines().join(u'\n'));
}
BENCHMARK(putMillionLinesIntoEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

void dumpMillionLineEditor(benchmark::State &state) {
    QPlainTextEdit editor;
    editor.setPlainText(millionLines().join(u'\n'));
    for (auto _ : state)
        writeClosingDump(scratch().path(), QStringLiteral("Brevnote20261208120000.txt"),
                         editorLines(&editor));
}
BENCHMARK(dumpMillionLineEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
