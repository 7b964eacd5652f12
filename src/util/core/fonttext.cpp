#include "util/core/fonttext.h"

#include "util/core/keyvalue.h"

#include <algorithm>
#include <limits>

namespace brevnote {

namespace {

constexpr int kPointsPerInch = 72;
// Used instead of a zero or negative pixels-per-inch value, which a font text may carry.
constexpr int kScreenPixelsPerInch = 96;

// a * b / c rounded to the nearest integer, halves away from zero, clamped to int.
int mulDiv(int a, int b, int c) {
    const qint64 product = qint64(a) * qint64(b);
    qint64 quotient = product / c;
    const qint64 remainder = product % c;
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -qint64(c) : qint64(c)))
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    return int(std::clamp<qint64>(quotient, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

int usablePixelsPerInch(int pixelsPerInch) {
    return pixelsPerInch > 0 ? pixelsPerInch : kScreenPixelsPerInch;
}

QString styleText(bool set) {
    return set ? QStringLiteral("-1") : QStringLiteral("0");
}

void applyStyle(const QString &text, const QString &key, bool &style) {
    if (HasKeyValue(text, key))
        style = ReadKeyValueBool(text, key, false);
}

// A face name is written as a blank where it holds an item separator (";" or the character 7):
// left in, it would end the name early or add keys of its own, and the text would no longer
// read back.
QString storedFaceName(QString name) {
    name.replace(u';', u' ');
    name.replace(QChar(7), u' ');
    return name;
}

} // namespace

void FontDescription::setSize(int points) {
    m_size = points;
    const int pixels = mulDiv(points, usablePixelsPerInch(pixelsPerInch), kPointsPerInch);
    // Clamped to the range whose negation is still an int.
    m_height = -std::max(pixels, -std::numeric_limits<int>::max());
}

void FontDescription::setHeight(int pixels) {
    m_height = pixels;
    // A negative height is the character height, a positive one the cell height; both give
    // the size from their magnitude.
    const int magnitude = pixels == std::numeric_limits<int>::min()
                              ? std::numeric_limits<int>::max()
                              : (pixels < 0 ? -pixels : pixels);
    m_size = mulDiv(magnitude, kPointsPerInch, usablePixelsPerInch(pixelsPerInch));
}

QString FontToText(const FontDescription &font) {
    return QStringLiteral(";Name=") + storedFaceName(font.name) + QStringLiteral(";Color=") +
           QString::number(font.color) + QStringLiteral(";Size=") + QString::number(font.size()) +
           QStringLiteral(";Height=") + QString::number(font.height()) + QStringLiteral(";Pitch=") +
           QString::number(font.pitch) + QStringLiteral(";PixelsPerInch=") +
           QString::number(font.pixelsPerInch) + QStringLiteral(";Bold=") + styleText(font.bold) +
           QStringLiteral(";Italic=") + styleText(font.italic) + QStringLiteral(";Underline=") +
           styleText(font.underline) + QStringLiteral(";Strikeout=") + styleText(font.strikeOut);
}

void TextToFont(const QString &text, FontDescription &font) {
    font.name = ReadKeyValue(text, QStringLiteral("Name"), font.name);
    font.color = ReadKeyValueInt(text, QStringLiteral("Color"), font.color);
    // Size and height are set only when the text gives them: setting either recomputes the
    // other, which must not happen for a missing key.
    const QString size = QStringLiteral("Size");
    if (!ReadKeyValue(text, size, QString()).isEmpty())
        font.setSize(ReadKeyValueInt(text, size, font.size()));
    const QString height = QStringLiteral("Height");
    if (!ReadKeyValue(text, height, QString()).isEmpty())
        font.setHeight(ReadKeyValueInt(text, height, font.height()));
    font.pitch = ReadKeyValueInt(text, QStringLiteral("Pitch"), font.pitch);
    const QString pixelsPerInch = QStringLiteral("PixelsPerInch");
    if (!ReadKeyValue(text, pixelsPerInch, QString()).isEmpty()) {
        // The height stays as it is (no rescaling); the size follows it at the new resolution,
        // so a text written by FontToText gives back its own size whatever the font had.
        font.pixelsPerInch = ReadKeyValueInt(text, pixelsPerInch, font.pixelsPerInch);
        font.setHeight(font.height());
    }
    applyStyle(text, QStringLiteral("Bold"), font.bold);
    applyStyle(text, QStringLiteral("Italic"), font.italic);
    applyStyle(text, QStringLiteral("StrikeOut"), font.strikeOut);
    applyStyle(text, QStringLiteral("Underline"), font.underline);
}

} // namespace brevnote
