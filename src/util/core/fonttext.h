#pragma once

#include <QString>

namespace brevnote {

// A font as the program stores it: face, colour (0x00BBGGRR, system colours negative), size in
// points, height in pixels (negative for a character height), pitch (0 default, 1 variable,
// 2 fixed), pixels per inch and the four styles. Setting the size recomputes the height and
// the other way round, at the font's pixels per inch.
class FontDescription final {
public:
    QString name = QStringLiteral("Courier New");
    qint32 color = 0;
    int pitch = 0;
    int pixelsPerInch = 96;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    int size() const { return m_size; }
    int height() const { return m_height; }
    void setSize(int points);
    void setHeight(int pixels);

private:
    int m_size = 10;
    int m_height = -13;
};

// ";Name=...;Color=...;Size=...;Height=...;Pitch=...;PixelsPerInch=...;Bold=...;Italic=...;
// Underline=...;Strikeout=...". A ";" or character 7 in the face name is written as a blank.
QString FontToText(const FontDescription &font);
// Applies the keys present in the text; missing keys leave the font unchanged. Errors of
// malformed values pass to the caller with what was applied before them kept.
void TextToFont(const QString &text, FontDescription &font);

} // namespace brevnote
