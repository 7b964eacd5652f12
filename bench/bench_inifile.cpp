// The reminder file at its largest expected size: 10,000 reminders of eight keys each.
// Reads must answer from memory while the file is unchanged, reparse quickly after another
// instance changed it, and a write must cost one pass over the file.

#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "util/core/textcodec.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace brevnote;

namespace {

constexpr int kReminders = 10000;

QString reminderName(int i) {
    return QStringLiteral("LEMBRETE %1").arg(i, 5, 10, QLatin1Char('0'));
}

// Written once per run, in the program folder, as the store keeps it.
const QString &reminderFile() {
    static const QString path = [] {
        const QString file = platform::programFolder() + QStringLiteral("BENCH.AutoTimer.Ini");
        QStringList lines;
        lines.reserve(kReminders * 9);
        for (int i = 0; i < kReminders; ++i) {
            const QString name = reminderName(i);
            lines << u'[' + name + u']' << QStringLiteral("Ativado=1")
                  << QStringLiteral("Evento=") + name << QStringLiteral("IniDate=11/12/2026")
                  << QStringLiteral("IniTime=09:00:00") << QStringLiteral("Repetir=Diariamente")
                  << QStringLiteral("Mensagem=Vence hoje<br>Pagar no banco")
                  << QStringLiteral("Sleep=0") << QStringLiteral("SleepTimer=10/12/2026 09:15:30");
        }
        writeLinesFile(file, lines);
        return file;
    }();
    return path;
}

// Section names visited in a scattered order, so no read profits from its predecessor.
std::vector<QString> scatteredNames() {
    std::vector<QString> names;
    names.reserve(kReminders);
    for (int i = 0; i < kReminders; ++i)
        names.push_back(reminderName(int((qint64(i) * 7919) % kReminders)));
    return names;
}

void readUnchanged(benchmark::State &state) {
    const IniFile reader(reminderFile());
    benchmark::DoNotOptimize(reader.readString(reminderName(0), QStringLiteral("Mensagem")));
    // A file stamp is trusted alone only once it is older than one step of the file clock, as
    // the reminder file is between two timer ticks.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    benchmark::DoNotOptimize(reader.readString(reminderName(0), QStringLiteral("Mensagem")));

    const std::vector<QString> names = scatteredNames();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.readString(names[next], QStringLiteral("Mensagem")));
        next = (next + 1) % names.size();
    }
}
BENCHMARK(readUnchanged)->UseRealTime();

// The number written last, counted across runs of a benchmark (the library runs each one
// several times with fresh state): every write stores a number not written before, so the file
// really changes each time.
int nextChange() {
    static int change = 0;
    return ++change;
}

void readAfterOtherInstanceWrote(benchmark::State &state) {
    const IniFile reader(reminderFile());
    IniFile writer(reminderFile());
    const std::vector<QString> names = scatteredNames();
    for (auto _ : state) {
        state.PauseTiming();
        const int change = nextChange();
        const QString &name = names[std::size_t(change) % names.size()];
        writer.writeInteger(name, QStringLiteral("SleepCount"), change);
        state.ResumeTiming();
        if (reader.readInteger(name, QStringLiteral("SleepCount"), 0) != change)
            state.SkipWithError("the reader missed the write");
    }
}
BENCHMARK(readAfterOtherInstanceWrote)->UseRealTime()->Unit(benchmark::kMillisecond);

void writeOneKey(benchmark::State &state) {
    IniFile writer(reminderFile());
    const std::vector<QString> names = scatteredNames();
    for (auto _ : state) {
        const int change = nextChange();
        writer.writeInteger(names[std::size_t(change) % names.size()], QStringLiteral("SleepCount"),
                            change);
    }
}
BENCHMARK(writeOneKey)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // The file goes to a throw-away program folder, never beside the real program.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("BREVNOTE_HOME", QFile::encodeName(home.path()));

    return runBenchmarks(argc, argv);
}
