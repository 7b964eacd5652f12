#include "reminders/reminderscheduler.h"

#include "reminders/reminderstore.h"
#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/inifile.h"

#include <optional>

namespace brevnote {

namespace {

constexpr qint64 kSnoozeSeconds = 15 * 60;

// Strictly later than the snooze moment, which reads as now (so not later) when missing or not
// parsing, as ReadSleepTimer has it. Local dates never go back, so a moment on another day is
// decided by the dates alone, without building a QDateTime: that looks up the time zone, and
// most of a pass over thousands of snoozed reminders went there.
bool laterThanSnooze(const IniFile &file, const QString &name, const QDateTime &now) {
    QDate date;
    QTime time;
    if (!ParseIniDateTimeParts(file.readString(name, reminderkeys::SleepTimer), &date, &time))
        return false;
    if (date != now.date())
        return date < now.date();
    return now > QDateTime(date, time);
}

// Due when now is strictly later than the start moment, or, while snoozed, strictly later
// than the snooze moment. Reads only the keys the decision needs: the time of day cannot matter on
// any other day than today, nor the snooze moment while not snoozed.
bool isDue(const IniFile &file, const QString &name, const QDateTime &now) {
    const QDate date = ReadIniDate(file, name);
    if (date < now.date())
        return true;
    if (date == now.date() && now > QDateTime(date, ReadIniTime(file, name)))
        return true;
    if (!ReadSleep(file, name))
        return false;
    return laterThanSnooze(file, name, now);
}

} // namespace

ReminderScheduler::ReminderScheduler(StoreOpener opener, AlarmFunction alarm)
    : m_opener(std::move(opener))
    , m_alarm(std::move(alarm)) {}

ReminderScheduler::~ReminderScheduler() = default;

IniFile &ReminderScheduler::store() {
    if (!m_store)
        m_store = m_opener();
    return *m_store;
}

void ReminderScheduler::CheckReminders() {
    try {
        runPass();
    } catch (const AppError &error) {
        if (error.message() == m_lastError)
            return;
        m_lastError = error.message();
        throw;
    }
    m_lastError.clear();
}

void ReminderScheduler::runPass() {
    IniFile &file = store();
    // One look at the file for the decisions between two alarms. An alarm stays open for as
    // long as the user likes, with the list window and other instances free to change the
    // file meanwhile, so it runs outside the batch and the next decision looks again.
    // "Now" is taken with it: the decisions between two alarms take milliseconds.
    std::optional<IniFile::ReadBatch> batch(std::in_place, file);
    QDateTime now = currentDateTime();
    // Taken once: the alarms' write-backs never add sections, and names the other window
    // or program adds meanwhile wait for the next pass.
    const QStringList names = file.sections();
    for (const QString &name : names) {
        if (!ReadAtivado(file, name))
            continue;
        if (!isDue(file, name, now))
            continue;
        const bool snoozed = ReadSleep(file, name);
        batch.reset();
        raiseAlarm(name, snoozed);
        batch.emplace(file);
        now = currentDateTime();
    }
}

void ReminderScheduler::raiseAlarm(const QString &section, bool snoozed) {
    IniFile &file = *m_store;
    const QString evento = file.readString(section, reminderkeys::Evento);
    const QString mensagem = file.readString(section, reminderkeys::Mensagem);

    // Claimed before the alarm shows: neither a program that ends while the alarm is open nor
    // a second running program raises this alarm again.
    file.writeString(section, reminderkeys::IniDate,
                     IniDateText(currentDateTime().date().addDays(1)));
    if (snoozed)
        file.writeBool(section, reminderkeys::Sleep, false);

    SnoozeRequested = false;
    DeactivateRequested = false;
    m_alarm(evento, mensagem, SnoozeRequested, DeactivateRequested);

    if (DeactivateRequested)
        file.writeBool(section, reminderkeys::Ativado, false);
    const QDateTime closed = currentDateTime();
    if (SnoozeRequested) {
        file.writeBool(section, reminderkeys::Sleep, true);
        file.writeString(section, reminderkeys::SleepTimer,
                         IniDateTimeText(closed.addSecs(kSnoozeSeconds)));
    } else {
        file.writeBool(section, reminderkeys::Sleep, false);
        file.writeString(section, reminderkeys::IniDate, IniDateText(closed.date().addDays(1)));
    }
    file.flush();
}

} // namespace brevnote
