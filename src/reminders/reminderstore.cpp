#include "reminders/reminderstore.h"

#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/inifile.h"
#include "util/core/openinifile.h"
#include "util/core/platform.h"
#include "util/core/textroutines.h"

#include <QRegularExpression>

#include <algorithm>

namespace brevnote {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QTime toTheSecond(const QTime &time) {
    return QTime(time.hour(), time.minute(), time.second());
}

} // namespace

QStringList RepetirItems() {
    return {QStringLiteral("Diariamente"), QStringLiteral("Semanalmente"),
            QStringLiteral("Mensalmente")};
}

QString ReminderFileName() {
    return FileBaseNameUpper(platform::programName(), false) + QStringLiteral(".AutoTimer.Ini");
}

std::unique_ptr<IniFile> OpenReminderStore() {
    return OpenIniFile(ReminderFileName());
}

bool SameReminderName(const QString &a, const QString &b) {
    return SameTextAscii(TrimBlanksView(a), TrimBlanksView(b));
}

QString StoredMensagem(const QString &message) {
    QString text = message;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', kCrLf);
    text = LeftText(text, kMensagemMaxLength);
    // A cut between CR and LF would leave a lone CR, which the file cannot hold as a break.
    if (text.endsWith(u'\r'))
        text.chop(1);
    return text.replace(kCrLf, QStringLiteral("<br>"));
}

QString MensagemFromStored(const QString &stored) {
    static const QRegularExpression br(QStringLiteral("<br>"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString text = stored;
    return text.replace(br, kCrLf);
}

bool ReadAtivado(const IniFile &store, const QString &name) {
    return store.readBool(name, reminderkeys::Ativado, false);
}

QDate ReadIniDate(const IniFile &store, const QString &name) {
    const QDate date = ParseIniDate(store.readString(name, reminderkeys::IniDate));
    return date.isValid() ? date : currentDateTime().date();
}

QTime ReadIniTime(const IniFile &store, const QString &name) {
    const QTime time = ParseIniTime(store.readString(name, reminderkeys::IniTime));
    return time.isValid() ? time : toTheSecond(currentDateTime().time());
}

bool ReadSleep(const IniFile &store, const QString &name) {
    return store.readBool(name, reminderkeys::Sleep, false);
}

QDateTime ReadSleepTimer(const IniFile &store, const QString &name) {
    const QDateTime moment = ParseIniDateTime(store.readString(name, reminderkeys::SleepTimer));
    return moment.isValid() ? moment : currentDateTime();
}

ReminderRecord LoadDisplayRecord(const IniFile &store, const QString &selectedName) {
    ReminderRecord record;
    if (TrimBlanks(selectedName).isEmpty())
        return record;
    const QString &name = selectedName;
    record.Ativado = ReadAtivado(store, name);
    record.Evento = store.readString(name, reminderkeys::Evento);
    record.IniDate = ReadIniDate(store, name);
    record.IniTime = ReadIniTime(store, name);
    record.Repetir = store.readString(name, reminderkeys::Repetir);
    record.Mensagem = MensagemFromStored(store.readString(name, reminderkeys::Mensagem));
    record.Sleep = ReadSleep(store, name);
    if (*record.Sleep)
        record.SleepTimer = ReadSleepTimer(store, name);
    return record;
}

ReminderRecord NewReminderDefaults() {
    const QDateTime due = currentDateTime().addSecs(30 * 60);
    ReminderRecord record;
    record.Ativado = true;
    record.IniDate = due.date();
    record.IniTime = toTheSecond(due.time());
    record.Repetir = RepetirItems().constFirst();
    return record;
}

ReminderRecord LoadEditRecord(const IniFile &store, EditMode mode, const QString &selectedName) {
    ReminderRecord record = NewReminderDefaults();
    if (mode == EditMode::New)
        return record;
    const QString &name = selectedName;
    record.Ativado = ReadAtivado(store, name);
    record.Evento = store.readString(name, reminderkeys::Evento);
    record.IniDate = std::max(ReadIniDate(store, name), currentDateTime().date());
    record.IniTime = ReadIniTime(store, name);
    record.Repetir = store.readString(name, reminderkeys::Repetir);
    record.Mensagem = MensagemFromStored(store.readString(name, reminderkeys::Mensagem));
    return record;
}

void SaveEditRecord(IniFile &store, const ReminderRecord &record, const QString &memoText,
                    EditMode mode, const QString &previousName) {
    const QString section = record.Evento.value_or(QString());
    store.writeBool(section, reminderkeys::Ativado, record.Ativado.value_or(false));
    store.writeString(section, reminderkeys::Evento, section);
    store.writeString(section, reminderkeys::IniDate,
                      IniDateText(record.IniDate.value_or(QDate())));
    store.writeString(section, reminderkeys::IniTime,
                      IniTimeText(record.IniTime.value_or(QTime())));
    store.writeString(section, reminderkeys::Repetir, record.Repetir.value_or(QString()));
    store.writeString(section, reminderkeys::Mensagem, StoredMensagem(memoText));
    // The file decides which names are one section; any other rule could erase the section
    // just written (a case-only change) or keep a stale one.
    if (mode == EditMode::Edit && !TrimBlanks(previousName).isEmpty() &&
        !SameReminderName(previousName, section))
        store.eraseSection(previousName);
}

} // namespace brevnote
