#include "reminders/reminderscheduler.h"

#include "reminders/reminderstore.h"
#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/inifile.h"

namespace brevnote {

namespace {

constexpr qint64 kSnoozeSeconds = 15 * 60;

// Due when now is strictly later than the start moment, or, while snoozed, strictly later
// than the snooze moment. Reads only the keys the decision needs: every read asks the file system
// whether the file changed, and a pass over thousands of reminders is mostly those questions. The
// time of day cannot matter on any other day than today, nor the snooze moment while not snoozed.
bool isDue(const IniFile &file, const QString &name, const QDateTime &now) {
    const QDate date = ReadIniDate(file, name);
    if (date < now.date())
        return true;
    if (date == now.date() && now > QDateTime(date, ReadIniTime(file, name)))
        return true;
    if (!ReadSleep(file, name))
        return false;
    return now > ReadSleepTimer(file, name);
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
    // Taken once: the alarms' write-backs never add sections, and names the other window
    // or program adds meanwhile wait for the next pass.
    const QStringList names = file.sections();
    for (const QString &name : names) {
        if (!ReadAtivado(file, name))
            continue;
        if (!isDue(file, name, currentDateTime()))
            continue;
        raiseAlarm(name, ReadSleep(file, name));
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
