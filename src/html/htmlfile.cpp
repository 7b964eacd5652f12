#include "html/htmlfile.h"

#include "util/core/safefile.h"
#include "util/core/textcodec.h"

#include <QRegularExpression>

namespace brevnote {

bool DeclaresUtf8(const QString &html) {
    // <meta charset="utf-8"> and <meta http-equiv="Content-Type" content="...; charset=utf-8">
    // both carry "charset=" followed, after an optional quote, by the name.
    static const QRegularExpression declaration(
        QStringLiteral(R"(<meta\b[^>]*\bcharset\s*=\s*["']?\s*utf-?8\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return declaration.match(html).hasMatch();
}

QByteArray EncodeHtmlDocument(const QString &html) {
    if (DeclaresUtf8(html))
        return html.toUtf8();
    return encodeText(html);
}

void WriteHtmlLines(const QString &path, const QStringList &lines) {
    writeFileSafely(path, EncodeHtmlDocument(joinLines(lines)));
}

} // namespace brevnote
