// The library's one entry point: the program finds brevnote_web_windows with QLibrary and
// opens every window that shows a page through the WebWindows it returns.
#include "util/core/apperror.h"
#include "util/ui/messageboxes.h"
#include "util/ui/webwindows.h"
#include "web/alarmwindow.h"
#include "web/htmldialog.h"
#include "web/htmleditor.h"

#include <QWebEngineProfile>

namespace brevnote {

namespace {

class ModuleWebWindows final : public WebWindows {
public:
    void startEngine() override {
        // The engine comes up with the profile every page of these windows uses.
        QWebEngineProfile::defaultProfile();
    }

    bool showHtmlDialog(QWidget *owner, const QString &html, const QString &title, bool hideButtons,
                        bool maximized, const QString &saveName) override {
        TfHTMDialog loader(owner);
        loader.setPresentation(title, hideButtons, saveName);
        try {
            return loader.LoadFromString(html, maximized, false, QString()) == QDialog::Accepted;
        } catch (const AppError &error) {
            ShowErrorBox(owner, error.message());
            return false;
        }
    }

    bool showHtmlFile(QWidget *owner, const QString &path) override {
        TfHTMDialog loader(owner);
        return loader.Execute(path, false, false, QString()) == QDialog::Accepted;
    }

    QDialog *createBrowserDialog(QWidget *parent) override {
        auto *dialog = new TfHTMDialog(parent);
        dialog->ShowAddressBar();
        return dialog;
    }

    bool editHtmlFile(QWidget *owner, const QString &path) override {
        TfHTMLEdit editor(owner);
        editor.LoadFromFile(path);
        return editor.result() == QDialog::Accepted;
    }

    void showAlarm(QWidget *owner, const QString &name, const QString &message,
                   bool &snoozeRequested, bool &deactivateRequested) override {
        TfAlarmShow alarm(owner, &snoozeRequested, &deactivateRequested);
        alarm.BuildAlarmPage(name, message);
        alarm.exec();
    }
};

} // namespace

} // namespace brevnote

extern "C" Q_DECL_EXPORT brevnote::WebWindows *brevnote_web_windows() {
    static brevnote::ModuleWebWindows windows;
    return &windows;
}
