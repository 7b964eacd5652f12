// A million-line text through the pad: reading a file, putting it into the editor, taking
// it back out and writing the closing dump. These are the steps a huge paste, "Abrir" and
// the end of the program pay for.

#include "app/closingdump.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"
#include "util/ui/editorroutines.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextCursor>

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
        benchmark::DoNotOptimize(normalizeLineBreaks(readTextFile(path)).size());
}
BENCHMARK(readMillionLineFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor for the one above: reading the bytes and decoding them, nothing else.
void readAndDecodeOnly(benchmark::State &state) {
    const QString path = scratch().filePath(QStringLiteral("million.txt"));
    writeLinesFile(path, millionLines());
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read the file");
        benchmark::DoNotOptimize(QString::fromUtf8(file.readAll()).size());
    }
}
BENCHMARK(readAndDecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key press near the end of a million wrapped lines: the text typed and the caret text
// of the status bar, after a first call has laid the text out once.
void caretTextPerKeyWithWordWrap(benchmark::State &state) {
    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor.resize(600, 400);
    editor.show();
    editor.setPlainText(millionLines().join(u'\n'));
    editor.moveCursor(QTextCursor::End);
    benchmark::DoNotOptimize(EditCaretPos(&editor));
    for (auto _ : state) {
        editor.textCursor().insertText(QStringLiteral("x"));
        benchmark::DoNotOptimize(EditCaretPos(&editor));
    }
}
BENCHMARK(caretTextPerKeyWithWordWrap)->Unit(benchmark::kMillisecond)->UseRealTime();

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
                         editorText(&editor));
}
BENCHMARK(dumpMillionLineEditor)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
