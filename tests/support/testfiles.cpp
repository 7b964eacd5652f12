#include "testfiles.h"

#include <QFile>
#include <QTemporaryDir>

namespace brevnote::test {

QByteArray readBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString unwritablePath(const QTemporaryDir &dir, const QString &name) {
    const QString blocker = dir.filePath(QStringLiteral("regular-file"));
    if (!QFile::exists(blocker))
        writeBytes(blocker, "not a folder");
    return blocker + QStringLiteral("/sub/") + name;
}

} // namespace brevnote::test
