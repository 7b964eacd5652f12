#include "textfileloader.h"

#include "rtfreader.h"

#include "util/core/apperror.h"
#include "util/core/textcodec.h"

#include <QFileInfo>

namespace brevnote {

namespace {

[[noreturn]] void notText(const QString &path) {
    throw AppError(QStringLiteral("O arquivo \"%1\" não é um arquivo de texto.").arg(path));
}

} // namespace

QString readFileForEditor(const QString &path, bool plainTextMode,
                          std::optional<TextEncoding> *encoding, qint64 maxBytes) {
    const QFileInfo info(path);
    // A folder or a missing file is left to the codec, whose message says why; a device or
    // a pipe could be read for ever.
    if (info.exists() && !info.isFile() && !info.isDir())
        notText(path);
    if (info.isFile() && info.size() > maxBytes)
        throw AppError(
            QStringLiteral("O arquivo \"%1\" é grande demais para ser aberto (mais de 256 MB).")
                .arg(path));
    TextEncoding read = TextEncoding::Windows1252;
    const QString text = readTextFile(path, &read);
    if (text.contains(QChar(u'\0')))
        notText(path);
    if (!plainTextMode && looksLikeRtf(text)) {
        if (encoding)
            encoding->reset();
        return plainTextFromRtf(text);
    }
    if (encoding)
        *encoding = read;
    return text;
}

} // namespace brevnote
