#pragma once

#include <QByteArray>
#include <QString>

class QTemporaryDir;

// Small file helpers the test programs share.
namespace brevnote::test {

// The whole file, or an empty array when it cannot be read.
QByteArray readBytes(const QString &path);
// Writes the bytes as they are (no codec); true on success.
bool writeBytes(const QString &path, const QByteArray &bytes);
// A path that nobody can create, root included: `name` below a regular file in `dir`.
QString unwritablePath(const QTemporaryDir &dir, const QString &name);

} // namespace brevnote::test
