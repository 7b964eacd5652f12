#include "util/platform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (!brevnote::platform::hasDisplay()) {
        std::fprintf(stderr, "Brevnote needs a graphical desktop and none was found (DISPLAY and "
                             "WAYLAND_DISPLAY are empty); run it under xvfb-run -a.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevnote"));
    return QApplication::exec();
}
