#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

namespace brevnote {

class IniFile;

// The scheduler's pass over the reminder file, driven by the main window's tick. It keeps no
// state between passes but the open file and the two choices the alarm hands back.
class ReminderScheduler final {
public:
    // Shows one alarm and returns once it has been closed, with the two choices set.
    using AlarmFunction = std::function<void(const QString &name, const QString &message,
                                             bool &snoozeRequested, bool &deactivateRequested)>;
    using StoreOpener = std::function<std::unique_ptr<IniFile>()>;

    ReminderScheduler(StoreOpener opener, AlarmFunction alarm);
    ~ReminderScheduler();
    ReminderScheduler(const ReminderScheduler &) = delete;
    ReminderScheduler &operator=(const ReminderScheduler &) = delete;

    // The open reminder file, opened now when it is not yet; raises the opener's AppError.
    IniFile &store();
    bool isOpen() const { return m_store != nullptr; }

    // One pass: every reminder in file order; each due one has its date moved to tomorrow,
    // its alarm shown, and the choices written back. An error ends the pass and is raised,
    // but an error with the same text as the previous pass's is not raised again until a
    // pass succeeds, so a lasting fault (a file that cannot be written) is reported once
    // instead of on every tick. A file that could not be opened is tried again each pass.
    void CheckReminders();

    bool SnoozeRequested = false;
    bool DeactivateRequested = false;

private:
    void runPass();
    void raiseAlarm(const QString &section, bool snoozed);

    StoreOpener m_opener;
    AlarmFunction m_alarm;
    std::unique_ptr<IniFile> m_store;
    QString m_lastError;
};

} // namespace brevnote
