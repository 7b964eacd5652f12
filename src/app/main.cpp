#include "appinstance.h"
#include "appsession.h"
#include "mainwindow.h"
#include "startupenvironment.h"

#include "texttools/formatupperfirst.h"
#include "util/core/platform.h"

#include <QApplication>
#include <QSystemTrayIcon>

#include <cstdio>

int main(int argc, char *argv[]) {
    brevnote::prepareStartupEnvironment();
    if (!brevnote::platform::hasDisplay()) {
        std::fprintf(stderr, "Brevnote needs a graphical desktop and none was found (DISPLAY and "
                             "WAYLAND_DISPLAY are empty); run it under xvfb-run -a.\n");
        return 1;
    }
    QApplication app(argc, argv);
    if (const std::optional<int> exitCode = brevnote::claimOnlyInstance())
        return *exitCode;
    brevnote::configureApplication();
    brevnote::applyDesktopIntegration(app);
    brevnote::installSessionEnd();

    brevnote::TfMaster master(QSystemTrayIcon::isSystemTrayAvailable());
    brevnote::TfFormat_UpperFirst formatUpperFirst;
    master.presentAtStartUp();
    const int exitCode = QApplication::exec();
    master.leaveTextToTheSystem();
    return exitCode;
}
