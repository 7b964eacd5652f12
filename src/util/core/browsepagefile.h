#pragma once

#include <QString>

namespace brevnote {

// Writes an HTML text as the page the browser is to show and returns the file's full name:
// an empty name gives tmp/HTMLText2Browse.htm of the program folder; `uniqueName` gives a
// fresh HTMLText2Browse.mm.ss.zzz.htm in the temporary folder; a bare name goes into tmp.
// Raises AppError("Cannot create file <name>") when it cannot be written.
QString WriteBrowsePage(const QString &html, const QString &fileName, bool uniqueName);

} // namespace brevnote
