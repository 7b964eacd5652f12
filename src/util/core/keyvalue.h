#pragma once

#include <QString>

// One-line texts of key=value items separated by ";" (or by the character 7 when the text
// holds one anywhere). Keys compare after ASCII upper-casing and trimming.
namespace brevnote {

QString SplitFirst(QString &list, QChar separator);
QString ReadKeyValue(const QString &text, const QString &key, const QString &defaultValue);
bool HasKeyValue(const QString &text, const QString &key);
// Raise AppError("'<value>' is not a valid integer value") / "... boolean value".
int ReadKeyValueInt(const QString &text, const QString &key, int defaultValue);
bool ReadKeyValueBool(const QString &text, const QString &key, bool defaultValue);

} // namespace brevnote
