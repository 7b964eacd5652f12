#pragma once

#include "toolprogress.h"

#include <QString>
#include <QStringList>

// The word capitaliser's rules over plain text.
namespace brevnote {

struct UpperFirstOptions {
    bool lowerOnly = false;          // "Somente minúsculas"
    bool upperOnly = false;          // "Somente maiúsculas"
    bool removeAccents = false;      // "Remover acentos"
    bool spacesToUnderlines = false; // "Substituit espaços por underlines"
    bool allWords = true;            // mode "Todas"; false for "Primeira"
};

// Replaces the 33 characters "àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜªº&°§" by the plain character at the
// same place of "aaeouaoaeioucuAAEOUAOAEIOUCUaoeo " (the section sign becomes a space).
QString RemoveAccents(const QString &text);

// Every letter lowered except word starts, which are raised. A word start is a letter by
// IsLetterChar (A-Z, a-z, Ñ, ñ: never another accented letter) that is the first character of
// the text or, with `allWords`, follows a space. Same length as the text.
QString CapitalizeWords(const QString &text, bool allWords);

// Accents, then underscores, then exactly one of lower case, upper case or the
// capitalisation of each line (line breaks CR LF, CR, LF, U+2029 kept as they are).
QString FormatText(const QString &text, const UpperFirstOptions &options);

// FormatText on every line in place; false (lines partly done) when `progress` asked to stop.
bool FormatLines(QStringList &lines, const UpperFirstOptions &options,
                 const LineProgress &progress = {});

} // namespace brevnote
