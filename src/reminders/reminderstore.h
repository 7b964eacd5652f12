#pragma once

#include "reminders/reminderrecord.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace brevnote {

class IniFile;

// The reminder file: one section per reminder, named by the reminder, with the keys below.
// Every read goes to the file (IniFile answers from memory while the file is unchanged) and
// every write reaches it at once, so two windows, or two running programs, see each other's
// changes. A key that is missing or does not parse reads as its default.
namespace reminderkeys {
inline const QString Ativado = QStringLiteral("Ativado");
inline const QString Evento = QStringLiteral("Evento");
inline const QString IniDate = QStringLiteral("IniDate");
inline const QString IniTime = QStringLiteral("IniTime");
inline const QString Repetir = QStringLiteral("Repetir");
inline const QString Mensagem = QStringLiteral("Mensagem");
inline const QString Sleep = QStringLiteral("Sleep");
inline const QString SleepTimer = QStringLiteral("SleepTimer");
} // namespace reminderkeys

// The choices of the "Repetir" list; the first is the default of a new reminder.
QStringList RepetirItems();

// Longest name and longest stored message, in characters.
inline constexpr int kEventoMaxLength = 32;
inline constexpr int kMensagemMaxLength = 400;

enum class EditMode { New, Edit };

// "<BASENAME>.AutoTimer.Ini": the program file's base name (cut before its first ".") in
// upper case; no folder, OpenIniFile puts the program folder in front.
QString ReminderFileName();
// Opens the reminder file after proving it can be written; raises AppError otherwise.
std::unique_ptr<IniFile> OpenReminderStore();

// Section names match the way the file matches them (ASCII letters only, case-blind).
bool SameReminderName(const QString &a, const QString &b);

// The message as stored: cut to its first 400 characters with every line break counting as
// CR LF (two), then each CR LF written as "<br>". Any line break (CR LF, CR, LF) is first
// read as CR LF.
QString StoredMensagem(const QString &message);
// The stored message with every "<br>", in any letter case, turned back into CR LF.
QString MensagemFromStored(const QString &stored);

// Readers with their defaults: false, today, the current time of day, the current moment.
bool ReadAtivado(const IniFile &store, const QString &name);
QDate ReadIniDate(const IniFile &store, const QString &name);
QTime ReadIniTime(const IniFile &store, const QString &name);
bool ReadSleep(const IniFile &store, const QString &name);
QDateTime ReadSleepTimer(const IniFile &store, const QString &name);

// The record of the list window's read-only panel: blank for an empty (or blank) name;
// SleepTimer only when Sleep is true.
ReminderRecord LoadDisplayRecord(const IniFile &store, const QString &selectedName);
// The defaults of a new reminder: active, due 30 minutes from now, "Diariamente".
ReminderRecord NewReminderDefaults();
// The editor's record: the defaults in mode New; in mode Edit the selected reminder's keys,
// its date no earlier than today, Sleep and SleepTimer left empty.
ReminderRecord LoadEditRecord(const IniFile &store, EditMode mode, const QString &selectedName);
// Writes the six keys the editor owns into the section named by the record's Evento (the
// message is `memoText`, the editor's whole text); in mode Edit, a previous name that is not
// the same section loses its section. Sleep and SleepTimer are never written here. Raises
// AppError when the file cannot be written or the name cannot be a section name.
void SaveEditRecord(IniFile &store, const ReminderRecord &record, const QString &memoText,
                    EditMode mode, const QString &previousName);

} // namespace brevnote
