#include "util/core/textcodec.h"

#include "util/core/apperror.h"
#include "util/core/safefile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

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

QString decodeWindows1252(const QByteArray &bytes) {
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

QString decodeText(const QByteArray &bytes, TextEncoding *encoding) {
    const bool hasBom = bytes.startsWith(kUtf8Bom);
    const QByteArrayView body =
        hasBom ? QByteArrayView(bytes).sliced(kUtf8Bom.size()) : QByteArrayView(bytes);
    // Only the one mark removed above is not text: a second one is a character (U+FEFF)
    // that the text started with, and writing the text puts it back behind a new mark.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        if (encoding)
            *encoding = hasBom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
        return text;
    }
    if (encoding)
        *encoding = TextEncoding::Windows1252;
    return decodeWindows1252(bytes);
}

QByteArray encodeText(const QString &text) {
    if (fitsWindows1252(text)) {
        QByteArray bytes = encodeWindows1252(text);
        // Windows-1252 bytes that also form valid UTF-8 ("Ã©" gives the bytes of "é") would
        // read back as other characters: such a text is written as UTF-8 instead.
        const bool ascii =
            std::all_of(bytes.cbegin(), bytes.cend(), [](char byte) { return (byte & 0x80) == 0; });
        if (ascii || decodeText(bytes) == text)
            return bytes;
    }
    return kUtf8Bom + text.toUtf8();
}

QByteArray encodeText(const QString &text, TextEncoding preferred) {
    switch (preferred) {
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::Utf8WithBom:
        return kUtf8Bom + text.toUtf8();
    case TextEncoding::Windows1252:
        break;
    }
    return encodeText(text);
}

QStringList splitLines(const QString &text) {
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.sliced(start));
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
