#include "publish/panelservices.h"

#include "util/ui/textviewer.h"
#include "util/ui/webwindows.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace brevnote {

namespace {

class SystemPanelServices final : public PanelServices {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override {
        return !program.isEmpty() && QProcess::startDetached(program, arguments);
    }

    bool openDocument(const QString &path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }

    void showTextWindow(const QStringList &lines, const QString &title) override {
        ShowTextWindow(lines, title, true);
    }

    bool editHtmlFile(QWidget *owner, const QString &path) override {
        WebWindows *windows = webWindows(owner);
        return windows && windows->editHtmlFile(owner, path);
    }
};

PanelServices *&installed() {
    static PanelServices *services = nullptr;
    return services;
}

} // namespace

PanelServices &panelServices() {
    static SystemPanelServices system;
    return installed() ? *installed() : system;
}

void setPanelServices(PanelServices *services) {
    installed() = services;
}

} // namespace brevnote
