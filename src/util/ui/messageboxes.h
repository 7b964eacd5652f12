#pragma once

#include <QString>

class QWidget;

// Message boxes captioned with the application title when the caller gives no caption. All
// go through the UserDialogs seam.
namespace brevnote {

// The application title ("Brevnote").
QString ApplicationTitle();

int ShowMessageBox(const QString &text, const QString &caption, int style, QWidget *owner);
int OwnerMessageBox(QWidget *owner, const QString &text, const QString &caption, int style);
bool AskYesNo(const QString &text, const QString &caption, bool yesIsDefault);
bool ConfirmDialog(QWidget *owner, const QString &text, const QString &caption);
// The standard error box for an error that ended a command.
void ShowErrorBox(QWidget *owner, const QString &message);

// Runs an open-file dialog; the empty text when cancelled. An empty folder means the
// program folder.
QString PickFileName(const QString &initialFolder, const QString &filter,
                     const QString &defaultExtension);

} // namespace brevnote
