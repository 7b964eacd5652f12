#include "toolprogressdialog.h"

#include "util/ui/editorlines.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTextDocument>

#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace brevnote {

namespace {
// Long enough that the slices cost nothing, short enough that the windows look alive.
constexpr qint64 kSliceMs = 40;
// Paragraphs removed or lines put in between two looks at the clock.
constexpr qsizetype kLinesPerLook = 512;
// How long the interface thread sleeps between two looks at work still going on elsewhere.
constexpr int kWaitMs = 10;
} // namespace

namespace {
int g_toolsAtWork = 0; // interface thread only
} // namespace

bool ToolProgressDialog::anyAtWork() {
    return g_toolsAtWork > 0;
}

ToolProgressDialog::ToolProgressDialog(QWidget *owner, const QString &label, qsizetype lines) {
    if (lines <= kProgressDialogLines)
        return;
    ++g_toolsAtWork;
    m_dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancelar"), 0,
                                                 int(std::min<qsizetype>(lines, INT_MAX)), owner);
    m_dialog->setWindowTitle(QCoreApplication::applicationName());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

ToolProgressDialog::~ToolProgressDialog() {
    if (m_dialog)
        --g_toolsAtWork;
}

void ToolProgressDialog::showNow() {
    if (!m_dialog)
        return;
    m_dialog->show();
    QCoreApplication::processEvents();
}

LineProgress ToolProgressDialog::callback() {
    if (!m_dialog)
        return {};
    QProgressDialog *dialog = m_dialog.get();
    return [dialog](qsizetype done, qsizetype) {
        // setValue repaints a modal dialog and processes events, so the windows stay drawn.
        dialog->setValue(int(std::min<qsizetype>(done, dialog->maximum())));
        QCoreApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

// Copying a million lines takes the interface thread a twentieth of a second, most of it
// spent on the pages of the new string, so a large text is read on another thread. Nothing
// edits the document meanwhile: the dialog is modal to the pad's window, and what comes from
// outside (the tray's commands, the reminder pass) waits while anyAtWork(). What the
// interface thread may do with it meanwhile (paint it, take the crash journal's copy) leaves
// its text and the pieces it is kept in as they are; painting changes only the layout of its
// paragraphs, which the copy does not read.

QString ToolProgressDialog::editorRawText(const QPlainTextEdit *editor) {
    const QTextDocument *document = editor->document();
    if (!m_dialog)
        return document->toRawText();
    QString raw;
    run([&] { raw = document->toRawText(); });
    return raw;
}

QStringList ToolProgressDialog::editorLines(const QPlainTextEdit *editor) {
    if (!m_dialog)
        return brevnote::editorLines(editor, EmptyLastParagraph::StartsNoLine);
    // As editorLines does; the raw text is freed on the other thread once split.
    const QTextDocument *document = editor->document();
    QStringList lines;
    run([&] { lines = splitEditorLines(document->toRawText(), EmptyLastParagraph::StartsNoLine); });
    return lines;
}

bool ToolProgressDialog::run(const std::function<void()> &work) {
    std::exception_ptr error;
    const bool goOn = runWhileReporting(
        [&] {
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
        },
        callback(), m_dialog ? m_dialog->value() : 0);
    if (error)
        std::rethrow_exception(error);
    return goOn;
}

void ToolProgressDialog::setLabel(const QString &label) {
    if (!m_dialog)
        return;
    m_dialog->setLabelText(label);
    m_dialog->setCancelButton(nullptr);
    QCoreApplication::processEvents();
}

void ToolProgressDialog::replaceEditorLines(QPlainTextEdit *editor, const QStringList &lines,
                                            std::optional<QFont> font) {
    replaceEditorLines(editor, lines.size(), EditorLinesReplacement::linesOf(lines),
                       std::move(font));
}

void ToolProgressDialog::replaceEditorLines(QPlainTextEdit *editor, qsizetype count,
                                            const std::function<QStringView(qsizetype)> &line,
                                            std::optional<QFont> font) {
    if (!m_dialog) {
        EditorLinesReplacement(editor, count, line, std::move(font)).finish();
        return;
    }
    setLabel(QStringLiteral("Atualizando o texto..."));
    EditorLinesReplacement replacement(editor, count, line, std::move(font));
    finishReplacing(replacement);
}

void ToolProgressDialog::finishReplacing(EditorLinesReplacement &replacement) {
    // Not setLabel: the events it lets through could reach a text already partly gone.
    m_dialog->setLabelText(QStringLiteral("Atualizando o texto..."));
    m_dialog->setCancelButton(nullptr);
    // The bar itself: the dialog's setValue would process every event.
    auto *bar = m_dialog->findChild<QProgressBar *>();
    const qsizetype total = replacement.total();
    if (bar)
        bar->setRange(0, int(std::min<qsizetype>(total, INT_MAX)));
    QElapsedTimer slice;
    while (replacement.done() < total) {
        slice.start();
        while (replacement.done() < total && slice.elapsed() < kSliceMs)
            replacement.step(kLinesPerLook);
        if (bar)
            bar->setValue(int(std::min<qsizetype>(replacement.done(), bar->maximum())));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::ExcludeSocketNotifiers);
    }
    replacement.finish();
}

bool ToolProgressDialog::replaceEditorLinesWhileWorking(
    QPlainTextEdit *editor, qsizetype count, const std::function<QStringView(qsizetype)> &line,
    const std::function<bool(const LineProgress &)> &work, std::optional<QFont> font) {
    // Putting the old text back after "Cancelar" takes the editor's undo.
    if (!m_dialog || !editor->document()->isUndoRedoEnabled()) {
        if (!work(callback()))
            return false;
        replaceEditorLines(editor, count, line, std::move(font));
        return true;
    }
    std::atomic<bool> stop = false;
    std::atomic<bool> worked = false;
    std::atomic<bool> finished = false;
    std::exception_ptr error;
    EditorLinesReplacement replacement(editor, count, line, std::move(font));
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                worked = work([&stop](qsizetype, qsizetype) { return !stop; });
            } catch (...) {
                error = std::current_exception();
            }
            finished = true;
        });
        auto *bar = m_dialog->findChild<QProgressBar *>();
        if (bar)
            bar->setRange(0, int(std::min<qsizetype>(replacement.total(), INT_MAX)));
        m_dialog->show(); // so that "Cancelar" can be pressed from the first slice on
        QElapsedTimer slice;
        // At least once: a "Cancelar" pressed while the first slice went is heard even when
        // the work was done by then.
        do {
            slice.start();
            while (replacement.removing() && !finished && !stop && slice.elapsed() < kSliceMs)
                replacement.step(kLinesPerLook);
            if ((!replacement.removing() || stop) && !finished)
                std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMs));
            if (bar)
                bar->setValue(int(std::min<qsizetype>(replacement.done(), bar->maximum())));
            // "Cancelar" is heard; nothing from outside reaches a text partly gone (the dialog
            // keeps input from the pad's window, anyAtWork the rest).
            QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
            if (m_dialog->wasCanceled())
                stop = true;
        } while (!finished);
    } catch (...) {
        stop = true;
        if (worker.joinable())
            worker.join();
        throw; // the replacement, left unfinished, puts the text back
    }
    worker.join();
    if (error || stop || !worked) {
        replacement.cancel();
        if (error)
            std::rethrow_exception(error);
        return false;
    }
    finishReplacing(replacement);
    return true;
}

} // namespace brevnote
