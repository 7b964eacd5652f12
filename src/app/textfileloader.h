#pragma once

#include "util/core/textcodec.h"

#include <QString>

#include <optional>

namespace brevnote {

// Files above this size are refused by "Abrir": the pad holds its text in memory, twice
// over while it loads.
inline constexpr qint64 kMaxOpenFileBytes = qint64(256) * 1024 * 1024;

// The text "Abrir" puts into the pad. Read through the codec; with plain-text mode off, a
// rich-text document has its text extracted. Raises AppError with a message naming the file
// when it cannot be read, is not a text file (it holds NUL bytes, or is a device or pipe) or
// is larger than `maxBytes` (a file of exactly that size is read).
// `encoding`, when given, receives the encoding of a plain text file, and is left alone for
// a rich-text document, whose text has no encoding of its own.
QString readFileForEditor(const QString &path, bool plainTextMode,
                          std::optional<TextEncoding> *encoding = nullptr,
                          qint64 maxBytes = kMaxOpenFileBytes);

} // namespace brevnote
