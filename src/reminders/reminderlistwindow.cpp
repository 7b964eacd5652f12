#include "reminderlistwindow.h"

namespace brevnote {

TfAutoTimer::TfAutoTimer(QWidget *owner)
    : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("fAutoTimer"));
}

void TfAutoTimer::CheckReminders() {
    // No reminders are kept yet; the pass has nothing to look at.
}

} // namespace brevnote
