#pragma once

#include "util/core/fonttext.h"

#include <QColor>
#include <QFont>

namespace brevnote {

// Between the stored font description and Qt's font and colour.
FontDescription describeFont(const QFont &font, const QColor &color);
QFont toQFont(const FontDescription &description);
QColor toQColor(const FontDescription &description);

} // namespace brevnote
