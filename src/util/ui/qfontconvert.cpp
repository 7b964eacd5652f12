#include "util/ui/qfontconvert.h"

#include <QGuiApplication>
#include <QPalette>

namespace brevnote {

namespace {

constexpr int kFixedPitch = 2;
constexpr int kPointsPerInch = 72;

} // namespace

FontDescription describeFont(const QFont &font, const QColor &color) {
    FontDescription description;
    description.name = font.family();
    const QColor rgb = color.toRgb();
    description.color = qint32(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
    if (font.pointSize() > 0) {
        description.setSize(font.pointSize());
    } else if (font.pixelSize() > 0) {
        // A font sized in pixels keeps that size as its character height.
        description.setHeight(-font.pixelSize());
    }
    description.pitch = font.fixedPitch() ? kFixedPitch : 0;
    description.bold = font.bold();
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    return description;
}

QFont toQFont(const FontDescription &description) {
    QFont font(description.name);
    if (description.size() > 0) {
        font.setPointSize(description.size());
    } else if (description.height() != 0) {
        // No usable size: the height in pixels at the description's resolution gives one.
        const int pixels = description.height() < 0 ? -description.height() : description.height();
        const int perInch = description.pixelsPerInch > 0 ? description.pixelsPerInch : 96;
        font.setPointSizeF(qreal(pixels) * kPointsPerInch / perInch);
    }
    if (description.pitch == kFixedPitch) {
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    font.setBold(description.bold);
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    return font;
}

QColor toQColor(const FontDescription &description) {
    // Negative values name system colours; a font's is the text colour.
    if (description.color < 0)
        return QGuiApplication::palette().color(QPalette::Text);
    const quint32 value = quint32(description.color);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace brevnote
