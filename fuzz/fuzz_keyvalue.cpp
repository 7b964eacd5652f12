// The key=value readers and the font texts on arbitrary text: reading never fails except with
// the documented AppError, and a font written with FontToText reads back as the same font.
#include "fuzzcheck.h"
#include "util/core/apperror.h"
#include "util/core/fonttext.h"
#include "util/core/keyvalue.h"
#include "util/core/textcodec.h"
#include "util/core/textroutines.h"

#include <cstddef>
#include <cstdint>

using namespace brevnote;

namespace {

const QStringList kKeys = {QStringLiteral("Name"),      QStringLiteral("Color"),
                           QStringLiteral("Size"),      QStringLiteral("Height"),
                           QStringLiteral("Pitch"),     QStringLiteral("PixelsPerInch"),
                           QStringLiteral("StrikeOut"), QString(),
                           QStringLiteral(" = ")};

template<typename Read> void readOrRaise(Read read, const char *kind) {
    try {
        read();
    } catch (const AppError &error) {
        FUZZ_CHECK(error.message().endsWith(QLatin1String(kind)), error.message());
    }
}

QString describe(const FontDescription &f, bool withSize) {
    return QStringList{f.name,
                       QString::number(f.color),
                       withSize ? QString::number(f.size()) : QString(),
                       QString::number(f.height()),
                       QString::number(f.pitch),
                       QString::number(f.pixelsPerInch),
                       QString::number(f.bold),
                       QString::number(f.italic),
                       QString::number(f.underline),
                       QString::number(f.strikeOut)}
        .join(u'|');
}

// The face name a font text gives back: item separators in it are written as blanks, and a
// name of blanks only reads as missing, leaving the reader's own.
QString faceNameReadBack(const QString &name, const QString &readersOwn) {
    QString stored = name;
    stored.replace(u';', u' ');
    stored.replace(QChar(7), u' ');
    return UpperTrim(stored).isEmpty() ? readersOwn : stored;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString text =
        decodeText(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));

    // SplitFirst walks the whole list, piece by piece.
    for (const QChar separator : {QChar(u';'), QChar(7)}) {
        QString list = text;
        QStringList pieces;
        while (!list.isEmpty()) {
            const qsizetype before = list.size();
            pieces.append(SplitFirst(list, separator));
            FUZZ_CHECK(list.size() < before);
        }
        FUZZ_CHECK(pieces.join(separator) == text ||
                   (text.endsWith(separator) && pieces.join(separator) + separator == text));
    }

    QStringList keys = kKeys;
    keys.append(TextBefore(text, QStringLiteral("=")));
    for (const QString &key : keys) {
        const QString value = ReadKeyValue(text, key, QStringLiteral("<d>"));
        if (value != u"<d>")
            FUZZ_CHECK(text.contains(value));
        HasKeyValue(text, key);
        readOrRaise([&] { ReadKeyValueInt(text, key, 0); }, "is not a valid integer value");
        readOrRaise([&] { ReadKeyValueBool(text, key, true); }, "is not a valid boolean value");
    }

    // Whatever font the text leaves (an error keeps what was applied before it), written and
    // read back into a font that differs in everything, is the same font.
    FontDescription font;
    readOrRaise([&] { TextToFont(text, font); }, "value");
    FontDescription read;
    read.name = QStringLiteral("Other");
    read.color = font.color ^ 1;
    read.pitch = font.pitch ^ 1;
    read.pixelsPerInch = font.pixelsPerInch ^ 1;
    read.setHeight(font.height() ^ 1);
    read.bold = !font.bold;
    read.italic = !font.italic;
    read.underline = !font.underline;
    read.strikeOut = !font.strikeOut;
    const QString written = FontToText(font);
    try {
        TextToFont(written, read);
    } catch (const AppError &error) {
        fuzz::fail("a written font text reads back", __FILE__, __LINE__,
                   error.message() + u' ' + fuzz::shown(written));
    }
    const QString expectedName = faceNameReadBack(font.name, QStringLiteral("Other"));
    FUZZ_CHECK(read.name == expectedName,
               fuzz::shown(read.name) + u' ' + fuzz::shown(expectedName));
    read.name = font.name;
    // The size follows from the height; a size given alone in the text may differ from it.
    FontDescription fromHeight = font;
    fromHeight.setHeight(font.height());
    const bool withSize = fromHeight.size() == font.size();
    FUZZ_CHECK(describe(read, withSize) == describe(font, withSize),
               describe(read, true) + QStringLiteral(" != ") + describe(font, true));
    return 0;
}
