#include "util/ui/webwindows.h"

#include "util/core/platform.h"
#include "util/ui/messageboxes.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>
#include <QSet>
#include <QSurfaceFormat>
#include <QThread>

#include <memory>

QT_BEGIN_NAMESPACE
// QtGui's setter of the context QGuiApplication makes when Qt::AA_ShareOpenGLContexts was set
// before it; exported by QtGui, declared only in its private headers.
void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace brevnote {

namespace {

// The function the library exports; it returns its one WebWindows.
constexpr char kEntryPoint[] = "brevnote_web_windows";
using EntryPoint = WebWindows *(*)();

// Set once the library is loaded: its files, and the engine's, are mapped from then on.
// Interface thread only.
bool g_loaded = false;

// QtWebEngine renders through the OpenGL context that QGuiApplication shares when
// Qt::AA_ShareOpenGLContexts is set before it exists; a web view crashes without one, and the
// engine warns when it is loaded without one. The attribute would make every start create the
// context (and setting it later only draws a warning), so the context is made here instead,
// as QGuiApplication would have made it, before the library is first loaded. Owned by the
// application object, which outlives every web view; one that cannot be created stays invalid and
// the engine draws without OpenGL.
void shareOpenGLContexts() {
    if (QOpenGLContext::globalShareContext())
        return;
    auto *context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}

QString unavailable(const QString &path, const QString &reason) {
    return QStringLiteral("As páginas web não estão disponíveis: não foi possível carregar\r\n") +
           path + QStringLiteral("\r\n\r\n") + reason;
}

} // namespace

WebWindows::~WebWindows() = default;

WebWindows *loadWebWindows(QString *error) {
    // Not kept between calls: loading a library already loaded only finds it again, and a
    // library put in place after a failure is found at the next try.
    const QString path = platform::webModulePath();
    // Told apart first: for a missing file QLibrary reports the last of the variants of the
    // name it tried, not the file.
    if (!QFileInfo::exists(path)) {
        *error = unavailable(path, QStringLiteral("O arquivo não existe."));
        return nullptr;
    }
    QLibrary library(path);
    shareOpenGLContexts();
    if (!library.load()) {
        *error = unavailable(path, library.errorString());
        return nullptr;
    }
    const auto entry = reinterpret_cast<EntryPoint>(library.resolve(kEntryPoint));
    if (!entry) {
        *error = unavailable(path, library.errorString());
        return nullptr;
    }
    g_loaded = true;
    return entry();
}

std::function<void()> webWindowsLoadingAhead() {
    if (g_loaded)
        return [] {};
    shareOpenGLContexts();
    return [] {
        // On the interface thread (a caller with no dialog up) reading ahead would only make
        // the wait longer.
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            return;
        const QStringList before = platform::loadedLibraryFiles();
        // Parts of the libraries already loaded that the program never used may be on disk
        // only; the engine uses more of them. Asked for all at once, they arrive while the
        // rest is read.
        for (const QString &library : before)
            platform::readSoon(library);
        // A failure is reported by loadWebWindows, which tries again.
        QLibrary(platform::webModulePath()).load();
        // Loading reads only the parts of the new libraries it needs; the engine's helper
        // processes, started from them, read much more of them (the engine's own library is
        // about 150 MB). Read here in full, they find them in memory.
        const QSet<QString> mappedBefore(before.cbegin(), before.cend());
        QStringList files = platform::webEngineFiles();
        for (const QString &library : platform::loadedLibraryFiles())
            if (!mappedBefore.contains(library))
                files.append(library);
        constexpr qint64 kChunk = 1 << 20;
        const auto buffer = std::make_unique<char[]>(kChunk);
        for (const QString &path : files) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                while (file.read(buffer.get(), kChunk) > 0) {
                }
        }
    };
}

WebWindows *webWindows(QWidget *owner) {
    QString error;
    WebWindows *windows = loadWebWindows(&error);
    if (!windows)
        ShowErrorBox(owner, error);
    return windows;
}

namespace {

// With no owner, the window the user is working in owns the page's dialog.
QWidget *pageOwner(QWidget *owner) {
    if (owner)
        return owner;
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

} // namespace

bool ShowHTMLDialog(QWidget *owner, const QString &html, const QString &title, bool hideButtons,
                    bool maximized, const QString &defaultSaveName) {
    owner = pageOwner(owner);
    WebWindows *windows = webWindows(owner);
    return windows &&
           windows->showHtmlDialog(owner, html, title, hideButtons, maximized, defaultSaveName);
}

bool ShowHTMLFile(QWidget *owner, const QString &path) {
    owner = pageOwner(owner);
    WebWindows *windows = webWindows(owner);
    return windows && windows->showHtmlFile(owner, path);
}

} // namespace brevnote
