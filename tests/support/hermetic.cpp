#include "hermetic.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace brevnote::test {

namespace {
std::unique_ptr<QTemporaryDir> &root() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

QString makeFolder(const QString &name) {
    const QString path = root()->filePath(name);
    QDir().mkpath(path);
    return path;
}
} // namespace

void enterHermeticEnvironment() {
    root() =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/brevnote-test-XXXXXX"));
    if (!root()->isValid())
        qFatal("cannot create the test's temporary folder");
    qputenv("BREVNOTE_HOME", makeFolder(QStringLiteral("program")).toLocal8Bit());
    qputenv("BREVNOTE_DATA_DIR", makeFolder(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", makeFolder(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", makeFolder(QStringLiteral("xdgdata")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", makeFolder(QStringLiteral("cache")).toLocal8Bit());
    qputenv("HOME", makeFolder(QStringLiteral("home")).toLocal8Bit());
    qputenv("TMPDIR", makeFolder(QStringLiteral("tmp")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("BREVNOTE_DEVELOPER"))
        qputenv("BREVNOTE_DEVELOPER", "0");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (!qEnvironmentVariableIsSet("BREVNOTE_WEB_MODULE"))
        qputenv("BREVNOTE_WEB_MODULE", BREVNOTE_TEST_WEB_MODULE);
}

void leaveHermeticEnvironment() {
    root().reset();
}

QString hermeticRoot() {
    return root() ? root()->path() : QString();
}

} // namespace brevnote::test
