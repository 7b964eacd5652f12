#include "util/core/textcodec.h"

#include "util/core/apperror.h"
#include "util/core/lineranges.h"
#include "util/core/safefile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <optional>

namespace brevnote {

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes Windows-1252 leaves undefined map to
// the C1 control of the same value, as Windows itself does, so they survive a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 byte of a character, or -1 when it has none.
int windows1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

} // namespace

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

bool fitsWindows1252(const QString &text) {
    for (const QChar c : text) {
        if (windows1252Byte(c.unicode()) < 0)
            return false;
    }
    return true;
}

QByteArray encodeWindows1252(const QString &text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const int b = windows1252Byte(c.unicode());
        *out++ = b < 0 ? '?' : static_cast<char>(b);
    }
    return bytes;
}

namespace {

// How decodeText() reads the bytes. Deciding stops at the first byte that is not UTF-8, so a
// Windows-1252 file is looked at once, not first as UTF-8 in full.
TextEncoding encodingOf(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return bytes.sliced(kUtf8Bom.size()).isValidUtf8() ? TextEncoding::Utf8WithBom
                                                           : TextEncoding::Windows1252;
    return bytes.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

// Bytes known to be valid UTF-8, without the byte-order mark that was removed.
QString decodeUtf8(QByteArrayView bytes) {
    // Only the one mark removed is not text: a second one is a character (U+FEFF) that the
    // text started with, and writing the text puts it back behind a new mark.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

} // namespace

QString decodeText(const QByteArray &bytes, TextEncoding *encoding) {
    const TextEncoding found = encodingOf(bytes);
    if (encoding)
        *encoding = found;
    switch (found) {
    case TextEncoding::Windows1252:
        return decodeWindows1252(bytes);
    case TextEncoding::Utf8WithBom:
        return decodeUtf8(QByteArrayView(bytes).sliced(kUtf8Bom.size()));
    case TextEncoding::Utf8:
        break;
    }
    return decodeUtf8(bytes);
}

TextPieceDecoder::TextPieceDecoder(QByteArray bytes)
    : m_bytes(std::move(bytes))
    , m_encoding(encodingOf(m_bytes)) {
    if (m_encoding == TextEncoding::Utf8WithBom)
        m_done = kUtf8Bom.size();
}

bool TextPieceDecoder::decodeMore(QString &text, qsizetype size) {
    const qsizetype total = m_bytes.size();
    if (m_done >= total)
        return false;
    qsizetype end = m_done + qMax<qsizetype>(1, qMin(size, total - m_done));
    if (m_encoding == TextEncoding::Windows1252) {
        text += decodeWindows1252(QByteArrayView(m_bytes).sliced(m_done, end - m_done));
    } else {
        // On to the first byte of the next character: continuation bytes are 10xxxxxx.
        while (end < total && (static_cast<unsigned char>(m_bytes.at(end)) & 0xC0) == 0x80)
            ++end;
        text += decodeUtf8(QByteArrayView(m_bytes).sliced(m_done, end - m_done));
    }
    m_done = end;
    return true;
}

namespace {

// Which characters end a line when a text is encoded as lines.
enum class LineBreaks {
    None,               // a text, written as it is
    Newline,            // lines separated by '\n'
    NewlineOrParagraph, // also U+2029, as an editor's raw text separates its paragraphs
};

constexpr char16_t kParagraphSeparator = 0x2029;
const QByteArray kParagraphSeparatorUtf8("\xE2\x80\xA9");

bool isLineBreak(char16_t c, LineBreaks breaks) {
    return (c == u'\n' && breaks != LineBreaks::None) ||
           (c == kParagraphSeparator && breaks == LineBreaks::NewlineOrParagraph);
}

// How many line breaks the text has.
qsizetype lineBreakCount(QStringView text, LineBreaks breaks) {
    switch (breaks) {
    case LineBreaks::None:
        return 0;
    case LineBreaks::Newline:
        return text.count(u'\n');
    case LineBreaks::NewlineOrParagraph:
        break;
    }
    return text.count(u'\n') + text.count(QChar(kParagraphSeparator));
}

// The text in Windows-1252, in one pass, or nothing when it cannot be written so: a character
// has no byte there, or the bytes would read back as UTF-8 ("Ã©" gives the bytes of "é").
// Unless `breaks` is None, each line break ends a line and every line is followed by CR LF.
std::optional<QByteArray> windows1252Unambiguous(QStringView text, LineBreaks breaks) {
    const bool asLines = breaks != LineBreaks::None && !text.isEmpty();
    qsizetype size = text.size();
    if (asLines)
        size += lineBreakCount(text, breaks) + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    char *const begin = bytes.data();
    char *out = begin;
    char *firstHigh = nullptr;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        // Most characters of most texts: ASCII that is no line break.
        if (c < 0x80 && c != u'\n') {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (isLineBreak(c, breaks)) {
            *out++ = '\r';
            *out++ = '\n';
            continue;
        }
        const int b = windows1252Byte(c);
        if (b < 0)
            return std::nullopt;
        if (b >= 0x80 && !firstHigh)
            firstHigh = out;
        *out++ = static_cast<char>(b);
    }
    if (asLines) {
        *out++ = '\r';
        *out++ = '\n';
    }
    // Everything before the first high byte is ASCII, so checking from there is enough; a
    // Windows-1252 text usually fails within a byte or two.
    if (firstHigh && QByteArrayView(firstHigh, out).isValidUtf8())
        return std::nullopt;
    return bytes;
}

// UTF-8 of the text; unless `breaks` is None every line break becomes CR LF and the last line
// gets one too.
QByteArray utf8Of(QStringView text, LineBreaks breaks) {
    QByteArray utf8 = text.toUtf8();
    if (breaks == LineBreaks::None || text.isEmpty())
        return utf8;
    const bool paragraphs = breaks == LineBreaks::NewlineOrParagraph;
    // U+2029 (three bytes in UTF-8) becomes two; '\n' becomes two.
    const qsizetype separators = paragraphs ? utf8.count(kParagraphSeparatorUtf8) : 0;
    QByteArray lines(utf8.size() + utf8.count('\n') - separators + 2, Qt::Uninitialized);
    char *out = lines.data();
    const char *const end = utf8.cend();
    for (const char *in = utf8.cbegin(); in != end; ++in) {
        if (*in == '\n') {
            *out++ = '\r';
        } else if (paragraphs && *in == kParagraphSeparatorUtf8[0] &&
                   QByteArrayView(in, end).startsWith(kParagraphSeparatorUtf8)) {
            // Only U+2029 has these bytes in the UTF-8 of a text.
            *out++ = '\r';
            *out++ = '\n';
            in += kParagraphSeparatorUtf8.size() - 1;
            continue;
        }
        *out++ = *in;
    }
    *out++ = '\r';
    *out++ = '\n';
    return lines;
}

QByteArray encode(QStringView text, std::optional<TextEncoding> preferred, LineBreaks breaks) {
    switch (preferred.value_or(TextEncoding::Windows1252)) {
    case TextEncoding::Utf8:
        return utf8Of(text, breaks);
    case TextEncoding::Utf8WithBom:
        return kUtf8Bom + utf8Of(text, breaks);
    case TextEncoding::Windows1252:
        break;
    }
    if (std::optional<QByteArray> bytes = windows1252Unambiguous(text, breaks))
        return *std::move(bytes);
    return kUtf8Bom + utf8Of(text, breaks);
}

} // namespace

QByteArray encodeText(const QString &text) {
    return encode(text, std::nullopt, LineBreaks::None);
}

QByteArray encodeText(const QString &text, TextEncoding preferred) {
    return encode(text, preferred, LineBreaks::None);
}

QByteArray encodeLines(QStringView text, std::optional<TextEncoding> preferred) {
    return encode(text, preferred, LineBreaks::Newline);
}

QByteArray encodeParagraphs(QStringView rawText, std::optional<TextEncoding> preferred) {
    return encode(rawText, preferred, LineBreaks::NewlineOrParagraph);
}

QByteArray encodeTextAsLines(QString text) {
    const bool empty = text.isEmpty();
    text = normalizeLineBreaks(std::move(text));
    // A text that is one line break is one empty line, which the '\n' form cannot tell from
    // no text at all.
    if (text.isEmpty() && !empty)
        return QByteArrayLiteral("\r\n");
    return encodeLines(text);
}

QString normalizeLineBreaks(QString text) {
    const qsizetype n = text.size();
    if (n == 0)
        return text;
    if (!text.contains(u'\r')) {
        if (text.back() == u'\n')
            text.chop(1);
        return text;
    }
    // In place: the text only gets shorter.
    QChar *const data = text.data();
    qsizetype out = 0;
    for (qsizetype i = 0; i < n; ++i) {
        QChar c = data[i];
        if (c == u'\r') {
            c = u'\n';
            if (i + 1 < n && data[i + 1] == u'\n')
                ++i;
        }
        data[out++] = c;
    }
    if (data[out - 1] == u'\n')
        --out;
    text.truncate(out);
    return text;
}

QStringList splitLines(const QString &text) {
    const std::vector<LineRange> ranges = lineRanges(text, LineEnds::File);
    QStringList lines;
    lines.reserve(qsizetype(ranges.size()));
    for (const LineRange &range : ranges)
        lines.append(text.sliced(range.start, range.length));
    return lines;
}

QString joinLines(const QStringList &lines) {
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString readTextFile(const QString &path, TextEncoding *encoding) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
    return decodeText(bytes, encoding);
}

void writeLinesFile(const QString &path, const QStringList &lines) {
    writeFileSafely(path, encodeText(joinLines(lines)));
}

} // namespace brevnote
