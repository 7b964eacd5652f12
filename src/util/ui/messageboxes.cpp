#include "util/ui/messageboxes.h"

#include "util/core/platform.h"
#include "util/ui/userdialogs.h"

#include <QCoreApplication>

namespace brevnote {

namespace {

// Yes/No questions: No is the default unless the caller asks for Yes.
constexpr int kYesNoYesDefault = MB_YESNO | MB_ICONQUESTION;
constexpr int kYesNoNoDefault = kYesNoYesDefault | MB_DEFBUTTON2;

QString captionOrTitle(const QString &caption) {
    return caption.isEmpty() ? ApplicationTitle() : caption;
}

} // namespace

QString ApplicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Brevnote") : name;
}

int ShowMessageBox(const QString &text, const QString &caption, int style, QWidget *owner) {
    return userDialogs().messageBox(owner, text, captionOrTitle(caption), style);
}

int OwnerMessageBox(QWidget *owner, const QString &text, const QString &caption, int style) {
    return ShowMessageBox(text, caption, style, owner);
}

bool AskYesNo(const QString &text, const QString &caption, bool yesIsDefault) {
    const int style = yesIsDefault ? kYesNoYesDefault : kYesNoNoDefault;
    return ShowMessageBox(text, caption, style, nullptr) == IDYES;
}

bool ConfirmDialog(QWidget *owner, const QString &text, const QString &caption) {
    return OwnerMessageBox(owner, text, caption, kYesNoNoDefault) == IDYES;
}

void ShowErrorBox(QWidget *owner, const QString &message) {
    userDialogs().errorBox(owner, message);
}

QString PickFileName(const QString &initialFolder, const QString &filter,
                     const QString &defaultExtension) {
    const QString folder = initialFolder.isEmpty() ? platform::programFolder() : initialFolder;
    return userDialogs().openFileName(nullptr, folder, filter, defaultExtension);
}

} // namespace brevnote
