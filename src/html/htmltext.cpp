#include "html/htmltext.h"

namespace brevnote {

QString AdjustLineBreaks(const QString &text) {
    QString adjusted;
    adjusted.reserve(text.size() + text.size() / 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            adjusted += QStringLiteral("\r\n");
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            adjusted += QStringLiteral("\r\n");
        } else {
            adjusted += c;
        }
    }
    return adjusted;
}

QString PastedHtmlToLines(const QString &pasted) {
    // Once adjusted, every CR and LF belongs to a pair, so removing the pairs removes them all.
    QString joined = AdjustLineBreaks(pasted);
    joined.remove(QStringLiteral("\r\n"));
    return joined.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"), Qt::CaseInsensitive);
}

QString LinesToHtml(const QString &text) {
    QString html = text;
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    return html.replace(u'\n', QStringLiteral("<br>"));
}

QString HtmlToBrowse(const QString &text, bool crToBr) {
    return crToBr ? LinesToHtml(text) : text;
}

} // namespace brevnote
