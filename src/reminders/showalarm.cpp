#include "reminders/showalarm.h"

#include "util/core/textroutines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"
#include "util/ui/webwindows.h"

namespace brevnote {

namespace {

QString alarmText(const QString &name, const QString &message, const QString &error) {
    // The stored message carries its line breaks as "<br>" (any case); the page showed the
    // name when the message is blank.
    QString text = TrimBlanks(message).isEmpty() ? name : message;
    text.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
    return QStringLiteral("Lembrete: ") + name + QStringLiteral("\r\n\r\n") + text +
           QStringLiteral("\r\n\r\nO aviso volta em 15 minutos.\r\n\r\n") + error;
}

} // namespace

void ShowAlarm(QWidget *owner, const QString &name, const QString &message, bool &snoozeRequested,
               bool &deactivateRequested) {
    QString error;
    if (WebWindows *windows = loadWebWindows(&error)) {
        windows->showAlarm(owner, name, message, snoozeRequested, deactivateRequested);
        return;
    }
    // Nothing is lost: "Repetir em 15 minutos" is the alarm window's own first choice.
    snoozeRequested = true;
    OwnerMessageBox(owner, alarmText(name, message, error), QString(), MB_ICONINFORMATION);
}

} // namespace brevnote
