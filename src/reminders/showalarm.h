#pragma once

#include <QString>

class QWidget;

namespace brevnote {

// Shows the alarm for one reminder modally (TfAlarmShow) and returns once it has been closed,
// with the two choices set. Raises AppError, without showing anything, when the page cannot be
// written. When the windows that show pages cannot be loaded, the reminder is shown as text in
// an information box, with the reason, and comes back in 15 minutes like an alarm closed with
// its choices untouched.
void ShowAlarm(QWidget *owner, const QString &name, const QString &message, bool &snoozeRequested,
               bool &deactivateRequested);

} // namespace brevnote
