#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <optional>

namespace brevnote {

// One reminder copied out of the reminder file for display or editing. A field that no load
// filled stays empty (std::nullopt), as the one-row table the windows show would leave it.
struct ReminderRecord {
    std::optional<bool> Ativado;
    std::optional<QString> Evento; // at most 32 characters, upper case
    std::optional<QDate> IniDate;
    std::optional<QTime> IniTime;
    std::optional<QString> Repetir;  // at most 16 characters
    std::optional<QString> Mensagem; // lines separated by CR LF
    std::optional<bool> Sleep;
    std::optional<QDateTime> SleepTimer;
};

} // namespace brevnote
