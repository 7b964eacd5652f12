#pragma once

#include <QString>
#include <QStringList>

namespace brevnote {

// The alarm's page: a fixed template whose "[Evento]" and "[Mensagem]" are filled in, written
// to the program's tmp folder for the alarm window's browser to show.

// The template's 17 lines.
QStringList AlarmPageTemplate();
// The template joined by CR LF, every "[Evento]" (any letter case) replaced by the name, then
// every "[Mensagem]" by the message, or by the name when the message is blank. Neither is
// escaped: the stored message carries its line breaks as "<br>", and markup typed into a
// message is meant to show as markup.
QString AlarmPageText(const QString &name, const QString &message);
// Writes the page as tmp/hhmmsszzz.htm (the current time) through the text codec, replacing a
// file of that name, and returns the full name. Raises AppError when it cannot be written.
QString WriteAlarmPage(const QString &pageText);

} // namespace brevnote
