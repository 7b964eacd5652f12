#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The one text codec of the program. Files are read as UTF-8 when their bytes are valid
// UTF-8 (with or without a byte-order mark) and as Windows-1252 otherwise; they are written
// in Windows-1252 when every character has a byte there and those bytes do not read as UTF-8,
// and as UTF-8 with a byte-order mark otherwise, so a text written reads back the same. Lines break
// at CR LF, lone CR or lone LF and are written back each followed by CR LF.
namespace brevnote {

// How a text file's bytes were read, so a file can be written back the way it came.
enum class TextEncoding { Windows1252, Utf8, Utf8WithBom };

// `encoding`, when given, receives the encoding the bytes were read as.
QString decodeText(const QByteArray &bytes, TextEncoding *encoding = nullptr);
QByteArray encodeText(const QString &text);
// In `preferred` when it holds every character of the text; otherwise as encodeText does,
// so nothing is lost.
QByteArray encodeText(const QString &text, TextEncoding preferred);

// The lines of `text`, separated by '\n', each followed by CR LF, encoded as encodeText (or
// in `preferred`, as above) does: the bytes of encodeText(joinLines(lines)) without building
// the lines or their joined copy. An empty text has no lines.
QByteArray encodeLines(QStringView text, std::optional<TextEncoding> preferred = std::nullopt);
// The same for an editor's raw text (QTextDocument::toRawText), whose paragraphs are separated
// by U+2029: U+2029 ends a line as '\n' does, so the text needs no copy with '\n' in its place.
QByteArray encodeParagraphs(QStringView rawText,
                            std::optional<TextEncoding> preferred = std::nullopt);

// The lines of a text that breaks them as a file may (CR LF, lone CR, lone LF), each followed
// by CR LF: the bytes of encodeText(joinLines(splitLines(text))) without building the lines or
// their joined copy.
QByteArray encodeTextAsLines(QString text);

// Decodes bytes a piece at a time exactly as decodeText() decodes them whole, for a reader that
// may stop early: the encoding is decided on all the bytes, and no piece ends inside a
// character, so the pieces joined are decodeText(bytes).
class TextPieceDecoder final {
public:
    explicit TextPieceDecoder(QByteArray bytes);
    TextEncoding encoding() const { return m_encoding; }
    // Appends the text of about the next `size` bytes to `text`; false, adding nothing, once
    // every byte is decoded.
    bool decodeMore(QString &text, qsizetype size);

private:
    QByteArray m_bytes;
    qsizetype m_done = 0;
    TextEncoding m_encoding;
};

// True when every character of the text has a Windows-1252 byte.
bool fitsWindows1252(const QString &text);
QString decodeWindows1252(QByteArrayView bytes);
// Characters without a Windows-1252 byte become "?".
QByteArray encodeWindows1252(const QString &text);

// A break at the very end starts no further line; an empty text has no lines.
QStringList splitLines(const QString &text);
// Every line break (CR LF, lone CR, lone LF) as '\n', and a break at the very end removed:
// splitLines(text).join('\n') in one pass, in place when the text is not shared.
QString normalizeLineBreaks(QString text);
// Every line followed by CR LF.
QString joinLines(const QStringList &lines);

// Reads a whole text file through the codec. Raises AppError naming the file when it cannot
// be read.
QString readTextFile(const QString &path, TextEncoding *encoding = nullptr);

// Writes the lines, each followed by CR LF, through the codec and the safe writer.
// Raises AppError("Cannot create file <path>") when the file cannot be written.
void writeLinesFile(const QString &path, const QStringList &lines);

} // namespace brevnote
