#include "appsession.h"

#include "mainwindow.h"

#include "util/core/platform.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QSessionManager>
#include <QTimer>

namespace brevnote {

namespace {

// A quit request (how the platform delivers the end of the session) closes every window
// first and gives up when a visible one refuses. The pad refuses closes so that it hides
// instead; while a quit is under way it must let itself be closed.
class QuitRequestFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && fMaster) {
            fMaster->setEnding(true);
            // Reached only when the quit was refused after all: back to hiding on close.
            QPointer<TfMaster> master = fMaster;
            QTimer::singleShot(0, master, [master] {
                if (master)
                    master->setEnding(false);
            });
        }
        return false;
    }
};

} // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Brevnote"));
    QApplication::setQuitOnLastWindowClosed(false);
}

void installSessionEnd() {
    QCoreApplication *app = QCoreApplication::instance();

#ifndef QT_NO_SESSIONMANAGER
    // The session may always end: the text is saved by the dump, so nothing needs asking,
    // and a session end that another program cancels leaves the pad untouched.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, app, [](QSessionManager &) {});
#endif

    app->installEventFilter(new QuitRequestFilter(app));

    // Whatever ended the loop, the text is dumped before the windows go; the guard in the
    // window keeps it to one dump per run.
    QObject::connect(app, &QCoreApplication::aboutToQuit, app, [] {
        if (fMaster)
            fMaster->saveClosingDumpBeforeExit();
    });

    platform::onTerminationSignal([](int) {
        if (fMaster)
            fMaster->endProgram();
        else
            QCoreApplication::exit(0);
    });
}

} // namespace brevnote
