#pragma once

#include <QByteArray>
#include <QString>

namespace brevnote {

// The one way the program writes a file: the bytes go whole to a temporary file beside the
// target, which is then renamed over it, so a crash never leaves half a file. A target that
// exists but is read-only is not replaced. Raises AppError("Cannot create file <path>") when
// the file cannot be written whole (also when the disk fills up or a file-size limit cuts
// it); the old file stays as it was and nothing is left behind then.
void writeFileSafely(const QString &path, const QByteArray &bytes);

} // namespace brevnote
