// The text codec on arbitrary bytes: detection and decoding never fail, decoding in pieces
// gives the same text, whatever was decoded is written so that it reads back the same, and
// the one-pass forms of writing lines give the bytes of the lines joined.
#include "fuzzcheck.h"
#include "util/core/textcodec.h"

#include <cstddef>
#include <cstdint>

using namespace brevnote;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeText(bytes);

    // Decoded a piece at a time (the size taken from the first byte), the same text.
    TextPieceDecoder pieces(bytes);
    QString joined;
    const qsizetype pieceSize = size > 0 ? 1 + data[0] % 8 : 1;
    while (pieces.decodeMore(joined, pieceSize)) {
    }
    FUZZ_CHECK(joined == text, fuzz::shown(joined));

    const QByteArray written = encodeText(text);
    FUZZ_CHECK(decodeText(written) == text, fuzz::shown(text));

    // Every byte has a Windows-1252 character and back.
    const QString windows = decodeWindows1252(bytes);
    FUZZ_CHECK(fitsWindows1252(windows));
    FUZZ_CHECK(encodeWindows1252(windows) == bytes);

    // Lines: joining and splitting again gives the same lines, each without a line break.
    const QStringList lines = splitLines(text);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'), fuzz::shown(line));
    const QString lined = joinLines(lines);
    FUZZ_CHECK(splitLines(lined) == lines);
    FUZZ_CHECK(decodeText(encodeText(lined)) == lined, fuzz::shown(lined));
    // The lines' bytes in one pass over the text, without the lines or their joined copy.
    FUZZ_CHECK(encodeTextAsLines(text) == encodeText(lined), fuzz::shown(text));

    // An editor's raw text: U+2029 ends a line as '\n' does.
    QString newlines = text;
    newlines.replace(QChar(0x2029), u'\n');
    FUZZ_CHECK(encodeParagraphs(text) == encodeLines(newlines), fuzz::shown(text));
    return 0;
}
