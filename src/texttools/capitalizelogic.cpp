#include "capitalizelogic.h"

#include "caselogic.h"

#include "util/core/textroutines.h"

#include <array>

namespace brevnote {

namespace {

using AccentTable = std::array<char16_t, 256>;

AccentTable makeAccentTable() {
    static const QString from = QStringLiteral("àâêôûãõáéíóúçüÀÂÊÔÛÃÕÁÉÍÓÚÇÜªº&°§");
    static const QString to = QStringLiteral("aaeouaoaeioucuAAEOUAOAEIOUCUaoeo ");
    static_assert(sizeof(char16_t) == 2);
    AccentTable table{};
    for (int c = 0; c < 256; ++c)
        table[c] = char16_t(c);
    for (qsizetype i = 0; i < from.size(); ++i)
        table[from.at(i).unicode()] = to.at(i).unicode();
    return table;
}

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator;
}

} // namespace

QString RemoveAccents(const QString &text) {
    static const AccentTable table = makeAccentTable();
    QString result = text;
    QChar *out = result.data();
    for (qsizetype i = 0; i < result.size(); ++i) {
        const char16_t c = out[i].unicode();
        if (c < 256)
            out[i] = QChar(table[c]);
    }
    return result;
}

QString CapitalizeWords(const QString &text, bool allWords) {
    // Both copies keep the text's length, so positions match.
    const QString lower = LowerEachChar(text);
    const QString upper = UpperEachChar(text);
    QString result = lower;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || (allWords && text.at(i - 1) == u' ');
        if (wordStart && IsLetterChar(text.at(i)))
            result[i] = upper.at(i);
    }
    return result;
}

QString FormatText(const QString &text, const UpperFirstOptions &options) {
    QString result = options.removeAccents ? RemoveAccents(text) : text;
    if (options.spacesToUnderlines)
        result.replace(u' ', u'_');
    if (options.lowerOnly)
        return LowerEachChar(result);
    if (options.upperOnly)
        return UpperEachChar(result);

    // Each line on its own, so a line's first letter is a word start; the breaks stay.
    QString formatted;
    formatted.reserve(result.size());
    qsizetype lineStart = 0;
    while (lineStart <= result.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < result.size() && !isLineBreak(result.at(lineEnd)))
            ++lineEnd;
        formatted.append(
            CapitalizeWords(result.mid(lineStart, lineEnd - lineStart), options.allWords));
        if (lineEnd == result.size())
            break;
        qsizetype breakEnd = lineEnd + 1;
        if (result.at(lineEnd) == u'\r' && breakEnd < result.size() && result.at(breakEnd) == u'\n')
            ++breakEnd;
        formatted.append(QStringView(result).mid(lineEnd, breakEnd - lineEnd));
        lineStart = breakEnd;
    }
    return formatted;
}

bool FormatLines(QStringList &lines, const UpperFirstOptions &options,
                 const LineProgress &progress) {
    // Detached here, once: the threads then change their own lines through the pointer.
    QString *const line = lines.data();
    return forEachLine(
        lines.size(), [&](qsizetype i) { line[i] = FormatText(line[i], options); }, progress);
}

} // namespace brevnote
