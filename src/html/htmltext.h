#pragma once

#include <QString>

// The conversions of the text-to-HTML panel between plain lines and HTML "<br>" breaks. Texts
// given and returned use CR LF as their line break, as the panel's memo does.
namespace brevnote {

// "Colar": the pasted text with every line break removed (the source lines glued together)
// and every "<br>", in any case, turned into CR LF. "<br/>" and "<br />" stay as they are.
QString PastedHtmlToLines(const QString &pasted);

// "Copiar": every CR LF and every remaining lone LF turned into "<br>".
QString LinesToHtml(const QString &text);

// "Browse": the page shown for the memo's text; the breaks become "<br>" only with "CR2BR".
QString HtmlToBrowse(const QString &text, bool crToBr);

// A text as the memo holds it: every lone CR and lone LF becomes CR LF.
QString AdjustLineBreaks(const QString &text);

} // namespace brevnote
