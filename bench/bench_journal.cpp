// The crash journal of a million-line pad. What counts is the time the user-interface thread
// is held when a journal write starts (the snapshot of the text); encoding and writing run on
// a worker thread and are measured apart, for comparison.

#include "app/crashjournal.h"
#include "util/ui/editorlines.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include "benchmain.h"

#include <benchmark/benchmark.h>

using namespace brevnote;

namespace {

constexpr int kLines = 1000000;

QPlainTextEdit &millionLineEditor() {
    static QPlainTextEdit *editor = [] {
        QStringList lines;
        lines.reserve(kLines);
        for (int i = 0; i < kLines; ++i)
            lines.append(QStringLiteral("%1;Conta de luz;vence em 11/12/2026;R$ 123,45;ação")
                             .arg(i, 7, 10, QLatin1Char('0')));
        auto *made = new QPlainTextEdit;
        made->setPlainText(lines.join(u'\n'));
        return made;
    }();
    return *editor;
}

QTemporaryDir &scratch() {
    static QTemporaryDir dir;
    return dir;
}

// The user-interface thread's share of one journal write: the pause ends, the text is taken
// and handed to the worker. The write itself is awaited outside the timing.
void journalWriteBlocksInterface(benchmark::State &state) {
    QPlainTextEdit &editor = millionLineEditor();
    CrashJournal journal(scratch().path(), [&editor] { return editor.document()->toRawText(); });
    for (auto _ : state) {
        state.PauseTiming();
        journal.textChanged();
        state.ResumeTiming();
        QElapsedTimer held;
        held.start();
        // What the one-second timer runs when it fires.
        QMetaObject::invokeMethod(journal.timer(), "timeout", Qt::DirectConnection);
        state.SetIterationTime(double(held.nsecsElapsed()) / 1e9);
        state.PauseTiming();
        journal.writeNow(); // waits for the worker
        state.ResumeTiming();
    }
}
BENCHMARK(journalWriteBlocksInterface)->Unit(benchmark::kMillisecond)->UseManualTime();

// Snapshot, encoding and safe write together, as writeNow() does before a long command.
void journalWriteWhole(benchmark::State &state) {
    QPlainTextEdit &editor = millionLineEditor();
    CrashJournal journal(scratch().path(), [&editor] { return editor.document()->toRawText(); });
    for (auto _ : state) {
        journal.textChanged();
        journal.writeNow();
    }
}
BENCHMARK(journalWriteWhole)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
