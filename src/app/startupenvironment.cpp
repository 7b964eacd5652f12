#include "startupenvironment.h"

#include "appicons.h"
#include "applicationid.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace brevnote {

QByteArray chooseQtPlatform(const QByteArray &userChoice, const QByteArray &display,
                            const QByteArray &waylandDisplay, const QByteArray &sessionType) {
    if (!userChoice.isEmpty())
        return userChoice;
    const bool wayland = !waylandDisplay.isEmpty() || sessionType == "wayland";
    if (wayland && !display.isEmpty())
        return QByteArrayLiteral("xcb;wayland");
    return {};
}

void prepareStartupEnvironment() {
    const QByteArray platform =
        chooseQtPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"),
                         qgetenv("XDG_SESSION_TYPE"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

bool installQtTranslations(QApplication &app) {
    // "qt_pt_BR" gathers the catalogues of every Qt module (qtbase holds the widgets' texts).
    auto *translator = new QTranslator(&app);
    const bool loaded =
        translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qt"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void applyDesktopIntegration(QApplication &app) {
    installQtTranslations(app);
    QGuiApplication::setDesktopFileName(applicationId());
    QApplication::setWindowIcon(trayIconImage());
}

} // namespace brevnote
