#pragma once

#include <QChar>
#include <QString>

// Stateless text routines. Positions count characters from 1; a blank is a character with a
// code of 32 or less; "ASCII" case changes touch a to z and A to Z only. No routine cuts a
// surrogate pair in half.
namespace brevnote {

QString RepeatText(const QString &text, int count);
QString LineBreaks(int count);
QString Spaces(int count);
QString ZeroPad(int width, qint64 value);
QString LeftText(const QString &text, int n);
QString RightText(const QString &text, int n);
QString MidText(const QString &text, int start, int count);
int TrimmedLength(const QString &text);
QString UpperTrim(const QString &text);
QString LowerTrim(const QString &text);
QString TextBefore(const QString &text, const QString &separator);
QString TextAfter(const QString &text, const QString &separator, const QString &defaultValue);
QString JoinWithSeparator(const QString &left, const QString &right, const QString &separator);
QString FileBaseNameUpper(const QString &name, bool keepFolder);

bool IsLetterChar(QChar c);
bool IsDigitChar(QChar c);
bool IsAlphaNumChar(QChar c);

// Helpers the routines above share.
bool IsBlank(QChar c);
QString TrimBlanks(const QString &text);
QStringView TrimBlanksView(QStringView text);
QString AsciiUpper(const QString &text);
QString AsciiLower(const QString &text);
// Equal after ASCII upper-casing.
bool SameTextAscii(QStringView a, QStringView b);
// Index (from 0) of the first occurrence of `needle`, compared after ASCII upper-casing; -1
// when it does not occur (an empty needle never does).
qsizetype IndexOfAscii(const QString &haystack, const QString &needle);

} // namespace brevnote
