#pragma once

#include <QString>

namespace brevnote {

// True when the text is a rich-text document (it starts with "{\rtf").
bool looksLikeRtf(const QString &text);

// The plain text of a rich-text document; a deliberately small reader. Groups of font,
// colour and style tables, document information, pictures and every "\*" destination are
// skipped; \par and \line break the line, \tab is a tab, \'hh is a Windows-1252 byte, \uN a
// Unicode character followed by the \ucN fallback characters that are skipped, and \\, \{,
// \} are the characters themselves. NUL characters are dropped and half a surrogate pair
// becomes U+FFFD, so the text can be saved and read back. Other control words are dropped; a
// malformed document gives whatever text could be read, never an error.
QString plainTextFromRtf(const QString &rtf);

} // namespace brevnote
