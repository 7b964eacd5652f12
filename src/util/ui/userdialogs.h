#pragma once

#include <QFont>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace brevnote {

// The one seam through which the program asks the user anything: message boxes, file, font
// and print dialogs and the standard error box. Windows never create these dialogs
// themselves; tests install a scripted implementation so nothing waits for a person.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message box with the given style flags (icon, buttons, default button, as the
    // Windows MB_* values: 64 information + OK, 36 question + Yes/No, 292 the same with No as
    // default). Returns the pressed button's code: IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7.
    virtual int messageBox(QWidget *owner, const QString &text, const QString &caption,
                           int style) = 0;

    // The standard error box for an error that ended a command.
    virtual void errorBox(QWidget *owner, const QString &message) = 0;

    // Open and save dialogs; an empty result means the user cancelled. `filter` uses the
    // "Description|*.ext|..." pairs of the program; `defaultSuffix` (without the dot) is added
    // to a name typed without an extension. The open dialog also returns a name of a file
    // that does not exist.
    virtual QString openFileName(QWidget *owner, const QString &folder, const QString &filter,
                                 const QString &defaultSuffix) = 0;
    virtual QString saveFileName(QWidget *owner, const QString &folder, const QString &filter,
                                 const QString &defaultSuffix, bool confirmOverwrite) = 0;

    // Font dialog starting from `initial`; true and the chosen font when the user confirmed.
    virtual bool chooseFont(QWidget *owner, const QFont &initial, QFont *chosen) = 0;

    // Print dialog for the printer; true when the user confirmed.
    virtual bool choosePrinter(QWidget *owner, QPrinter *printer) = 0;

    // Print preview of what `paint` draws on the printer it is handed, opened without a print
    // dialog first; `paint` may run again whenever the user changes the page setup. The real
    // preview unless overridden, so answering implementations that never preview need not.
    virtual void printPreview(QWidget *owner, const std::function<void(QPrinter *)> &paint);
};

// The implementation in force: the real dialogs unless a test installed another.
UserDialogs &userDialogs();

// Installs `dialogs` (not owned) for the rest of the run, or the real ones again with nullptr.
void setUserDialogs(UserDialogs *dialogs);

// Converts "Description|*.a|Other|*.b *.c" into Qt's "Description (*.a);;Other (*.b *.c)".
QString qtFileFilter(const QString &filter);

// Message-box style flags and button codes.
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_OKCANCEL = 0x1;
inline constexpr int MB_YESNOCANCEL = 0x3;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int MB_ICONHAND = 0x10;
inline constexpr int MB_ICONQUESTION = 0x20;
inline constexpr int MB_ICONEXCLAMATION = 0x30;
inline constexpr int MB_ICONINFORMATION = 0x40;
inline constexpr int MB_DEFBUTTON2 = 0x100;
inline constexpr int MB_DEFBUTTON3 = 0x200;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

} // namespace brevnote
