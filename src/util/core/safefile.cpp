#include "util/core/safefile.h"

#include "util/core/apperror.h"

#include <QFileInfo>
#include <QSaveFile>

namespace brevnote {

void writeFileSafely(const QString &path, const QByteArray &bytes) {
    const auto fail = [&path] {
        throw AppError(QStringLiteral("Cannot create file %1").arg(path));
    };

    const QFileInfo existing(path);
    // A rename would replace a read-only file in a writable folder; the user asked to keep it.
    if (existing.exists() && (!existing.isFile() || !existing.isWritable()))
        fail();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail();
    // The bytes reach the disk only when the buffer is flushed, and QSaveFile would commit a
    // file whose last flush failed (a full disk, a file-size limit): flush here and check.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        fail();
    }
    if (!file.commit())
        fail();
}

} // namespace brevnote
