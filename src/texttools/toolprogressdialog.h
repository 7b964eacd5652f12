#pragma once

#include "toolprogress.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPlainTextEdit;
class QProgressDialog;
class QWidget;

namespace brevnote {

class EditorLinesReplacement;

// Above this many lines a tool shows its progress and keeps the windows repainting.
inline constexpr qsizetype kProgressDialogLines = 100000;

// A modal progress dialog for a tool on a large text, with "Cancelar"; nothing at all for a
// small one.
class ToolProgressDialog final {
public:
    ToolProgressDialog(QWidget *owner, const QString &label, qsizetype lines);
    ~ToolProgressDialog();
    ToolProgressDialog(const ToolProgressDialog &) = delete;
    ToolProgressDialog &operator=(const ToolProgressDialog &) = delete;

    // True while any tool shows its progress on a large text. The dialog is modal only to its
    // window and runs the event loop, and while the result goes in the pad's text is half
    // replaced: what reaches the program from outside the window (the tray menu, timers)
    // looks here first.
    static bool anyAtWork();

    // Shows the dialog at once and lets the windows repaint; nothing for a small text. For a
    // tool about to hold the interface thread for a moment.
    void showNow();
    // The callback the tool's logic reports to; empty for a small text.
    LineProgress callback();
    // The editor's raw text (QTextDocument::toRawText). On a large text it is copied on
    // another thread while the windows repaint. After "Cancelar" the next report of the
    // tool's logic stops it.
    QString editorRawText(const QPlainTextEdit *editor);
    // The editor's lines for a tool (an empty last paragraph starts no line). On a large text
    // they are copied and split on another thread while the windows repaint. After
    // "Cancelar" the next report of the tool's logic stops it.
    QStringList editorLines(const QPlainTextEdit *editor);
    // Runs `work` on another thread while the windows repaint (at once for a small text); an
    // exception it raises is raised here. False when "Cancelar" was pressed meanwhile.
    bool run(const std::function<void()> &work);
    // Shows what comes next and takes "Cancelar" away.
    void setLabel(const QString &label);
    // Makes `lines` the editor's lines as one undo step (util/ui/editorlines.h). On a large
    // text a slice at a time: the bar shows how far, and between slices the windows repaint.
    // Meanwhile the text is partly replaced, so no user input reaches any window and
    // nothing from outside (a termination signal, a second start) is taken until the end;
    // "Cancelar" is no longer offered. With `font`, the new lines are shown in it
    // (EditorLinesReplacement).
    void replaceEditorLines(QPlainTextEdit *editor, const QStringList &lines,
                            std::optional<QFont> font = std::nullopt);
    // The same with the lines read from `line` (EditorLinesReplacement::LineSource).
    void replaceEditorLines(QPlainTextEdit *editor, qsizetype count,
                            const std::function<QStringView(qsizetype)> &line,
                            std::optional<QFont> font = std::nullopt);

    // The same with lines that `work` first works out: on a large text it runs on another
    // thread while the old text leaves the editor, so the two take the time of the longer,
    // and the lines are read once it is done; `work` must leave the editor alone. `work` reports to
    // the callback it is given (which answers false after "Cancelar") and answers false when it
    // stopped. "Cancelar" brings back what had gone, as one undo of it, and false is returned; so
    // does an exception, which is then raised here.
    bool replaceEditorLinesWhileWorking(QPlainTextEdit *editor, qsizetype count,
                                        const std::function<QStringView(qsizetype)> &line,
                                        const std::function<bool(const LineProgress &)> &work,
                                        std::optional<QFont> font = std::nullopt);

private:
    // Puts the rest of a replacement in a slice at a time, without "Cancelar".
    void finishReplacing(EditorLinesReplacement &replacement);

    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace brevnote
