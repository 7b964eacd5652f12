#pragma once

#include <QString>
#include <QStringList>

// The comma-separated form in which a list of texts is stored on one line (the list of files
// to send in TfSDK.ini, the "filenames=" part of the upload command line).
namespace brevnote {

// Entries joined by commas. An entry that is empty or holds a blank (a code of 32 or less), a
// comma or a double quote is enclosed in double quotes with its inner double quotes doubled.
// An empty list gives the empty text.
QString CommaText(const QStringList &entries);

// Reads the form back: ParseCommaText(CommaText(x)) == x for every list x. Blanks around an
// entry are skipped; an unquoted entry ends at a blank or a comma; a quoted entry ends at a
// lone double quote (or at the end of an unterminated text); a comma at the very end adds an
// empty entry. Any text is accepted.
QStringList ParseCommaText(const QString &text);

} // namespace brevnote
