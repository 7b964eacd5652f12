#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// The windows that show web pages (the HTML viewer, the HTML source editor, the alarm) live in
// a library of their own, loaded the first time one of them is needed: a program linked with
// QtWebEngine creates an OpenGL context and maps the engine, QtQuick and QML at every start,
// for windows most runs never open. This header names no QtWebEngine type.
namespace brevnote {

class WebWindows {
public:
    virtual ~WebWindows();

    // Starts the web engine, which the first page shown would otherwise start: most of a
    // tenth of a second of the interface thread, which a tool with its progress dialog up
    // spends at its start rather than adding it to opening its page at the end.
    virtual void startEngine() = 0;

    // ShowHTMLDialog below, with the owner already chosen.
    virtual bool showHtmlDialog(QWidget *owner, const QString &html, const QString &title,
                                bool hideButtons, bool maximized, const QString &saveName) = 0;
    // ShowHTMLFile below, with the owner already chosen.
    virtual bool showHtmlFile(QWidget *owner, const QString &path) = 0;
    // A new HTML viewer (TfHTMDialog) owned by `parent`, with its address bar shown.
    virtual QDialog *createBrowserDialog(QWidget *parent) = 0;
    // The HTML source editor (TfHTMLEdit) on the file, modal; true when it closed with a save.
    // Raises AppError when the file cannot be read.
    virtual bool editHtmlFile(QWidget *owner, const QString &path) = 0;
    // The alarm window (TfAlarmShow) for one reminder, modal; sets the two choices. Raises
    // AppError, without showing anything, when the page cannot be written.
    virtual void showAlarm(QWidget *owner, const QString &name, const QString &message,
                           bool &snoozeRequested, bool &deactivateRequested) = 0;
};

// The windows of the library, loaded at the first call (platform::webModulePath). Null when it
// cannot be loaded; `error` then gets the reason, in a sentence for the user.
WebWindows *loadWebWindows(QString *error);
// As loadWebWindows; a failure is shown in the standard error box.
WebWindows *webWindows(QWidget *owner);

// What loads the library ahead of loadWebWindows, for a caller that keeps its windows drawn
// while another thread does it: the library's files and the engine's
// (platform::webEngineFiles) are read, from disk at the first page of a run, and the library
// is loaded, so that loadWebWindows and starting the engine only find them. On the interface
// thread both held the windows for up to a sixth of a second. Call on the interface thread;
// what it returns runs on any thread, and does nothing once the library is loaded.
std::function<void()> webWindowsLoadingAhead();

// Shows `html` modally in a fresh HTML viewer dialog that is destroyed before returning.
// True when the dialog was closed with OK. A non-empty title is shown in a strip above the
// page, `hideButtons` hides the OK button row and a save name replaces the "*.htm" that
// "Salvar" proposes; every caller of the program passes no title, false, false and no save
// name. With no owner, the window the user is working in owns the dialog, so the page opens
// above the always-on-top pad. An error (a temporary file that cannot be written, the library
// that cannot be loaded) is shown in the standard error box and gives false.
bool ShowHTMLDialog(QWidget *owner, const QString &html, const QString &title = QString(),
                    bool hideButtons = false, bool maximized = false,
                    const QString &defaultSaveName = QString());

// Shows a page file the caller wrote (say, on another thread while a progress dialog kept the
// windows repainting) as ShowHTMLDialog shows a page with every caller's settings; the file is
// left where it is. True when the dialog was closed with OK; false also when the library
// cannot be loaded, which is shown in the standard error box.
bool ShowHTMLFile(QWidget *owner, const QString &path);

} // namespace brevnote
