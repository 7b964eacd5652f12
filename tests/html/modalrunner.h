#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

namespace brevnote::test {

// The visible dialog of that class, or null. (A web view's own windows can hide a dialog
// from QApplication::activeModalWidget, so the top-level widgets are searched instead.)
template<class Dialog> Dialog *shownDialog() {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<Dialog *>(widget);
        if (dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Runs `act` on the dialog of that class once the modal show that follows has started; when
// `act` leaves it open (also after a failed check), it is closed with `closing` so the test
// never waits for a person.
template<class Dialog>
void whileShown(std::function<void(Dialog *)> act, int closing = QDialog::Rejected) {
    QTimer::singleShot(0, [act, closing] {
        Dialog *dialog = shownDialog<Dialog>();
        if (!dialog)
            return;
        act(dialog);
        if (dialog->isVisible())
            dialog->QDialog::done(closing);
    });
}

} // namespace brevnote::test
