#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writing HTML files so that a browser reads them back as they were written.
namespace brevnote {

// True when the page declares UTF-8 as its character set (a meta charset or content-type
// naming "utf-8" or "utf8", in any case).
bool DeclaresUtf8(const QString &html);

// A page that declares UTF-8 is written as UTF-8, so the declaration stays true; any other
// page as the text codec writes every file (Windows-1252 when it fits).
QByteArray EncodeHtmlDocument(const QString &html);

// Writes the lines, each followed by CR LF, with EncodeHtmlDocument through the safe writer.
// Raises AppError("Cannot create file <path>") when the file cannot be written.
void WriteHtmlLines(const QString &path, const QStringList &lines);

} // namespace brevnote
