// One scheduler pass over the reminder file at its largest expected size: 10,000 active
// reminders, none of them due. The pass reads every reminder's keys through IniFile, which
// answers from memory while the file is unchanged between two ticks, and reparses it once
// after another instance changed it.

#include "reminders/reminderscheduler.h"
#include "reminders/reminderstore.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "util/core/textcodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

using namespace brevnote;

namespace {

constexpr int kReminders = 10000;

void writeReminderFile() {
    QStringList lines;
    lines.reserve(kReminders * 9);
    for (int i = 0; i < kReminders; ++i) {
        const QString name = QStringLiteral("LEMBRETE %1").arg(i, 5, 10, QLatin1Char('0'));
        // Half of them snoozed, so both kinds of reading are part of the pass.
        const bool snoozed = i % 2 == 0;
        lines << u'[' + name + u']' << QStringLiteral("Ativado=1")
              << QStringLiteral("Evento=") + name << QStringLiteral("IniDate=31/12/2099")
              << QStringLiteral("IniTime=09:00:00") << QStringLiteral("Repetir=Diariamente")
              << QStringLiteral("Mensagem=Vence hoje<br>Pagar no banco")
              << (snoozed ? QStringLiteral("Sleep=1") : QStringLiteral("Sleep=0"))
              << QStringLiteral("SleepTimer=31/12/2099 09:15:30");
    }
    writeLinesFile(platform::programFolder() + ReminderFileName(), lines);
}

// A scheduler on the program's reminder file whose alarms only count themselves.
ReminderScheduler countingScheduler(int &alarms) {
    return ReminderScheduler(&OpenReminderStore, [&alarms](const QString &, const QString &, bool &,
                                                           bool &) { ++alarms; });
}

void passWithNoneDue(benchmark::State &state) {
    writeReminderFile();
    int alarms = 0;
    ReminderScheduler scheduler = countingScheduler(alarms);
    scheduler.CheckReminders();
    // Between two ticks the file is seconds old, so its stamp alone is trusted.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    scheduler.CheckReminders();
    for (auto _ : state)
        scheduler.CheckReminders();
    if (alarms != 0)
        state.SkipWithError("a reminder was due");
}
BENCHMARK(passWithNoneDue)->UseRealTime()->Unit(benchmark::kMillisecond);

// Before each pass another instance changes one message, each time to a text not written
// before, so the pass always finds a changed file.
void passAfterOtherInstanceChanged(benchmark::State &state) {
    writeReminderFile();
    int alarms = 0;
    ReminderScheduler scheduler = countingScheduler(alarms);
    scheduler.CheckReminders();
    const std::unique_ptr<IniFile> other = OpenReminderStore();
    static int change = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++change;
        const QString name =
            QStringLiteral("LEMBRETE %1").arg(change * 7919 % kReminders, 5, 10, QLatin1Char('0'));
        other->writeString(name, QStringLiteral("Mensagem"), QStringLiteral("Nota %1").arg(change));
        state.ResumeTiming();
        scheduler.CheckReminders();
    }
    if (alarms != 0)
        state.SkipWithError("a reminder was due");
}
BENCHMARK(passAfterOtherInstanceChanged)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // The file goes to a throw-away program folder, never beside the real program.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("BREVNOTE_HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
