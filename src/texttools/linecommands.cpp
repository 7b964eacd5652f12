#include "linecommands.h"

#include "csvlogic.h"
#include "sortlogic.h"
#include "toolprogressdialog.h"
#include "valuefrom.h"

#include "util/core/apperror.h"
#include "util/core/paths.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"
#include "util/ui/webwindows.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextDocument>

namespace brevnote {

namespace {
// How many lines a tool will work on, without taking them: what decides on its progress
// dialog.
qsizetype paragraphCount(const QPlainTextEdit *editor) {
    return editor->document()->blockCount();
}

// How far ahead "Ordenar" fetches the sorted lines it puts in.
constexpr size_t kLinesAhead = 16;
} // namespace

bool RunOrdenar(QPlainTextEdit *editor, QWidget *owner) {
    if (!ConfirmDialog(owner, QStringLiteral("Confirma ordenação do texto atual?"), QString()))
        return false;
    ToolProgressDialog progress(owner, QStringLiteral("Ordenando..."), paragraphCount(editor));
    // Sorted by the lines' places in one copy of the text, and put back from there: a million
    // lines need no string each.
    const QString text = progress.editorRawText(editor);
    std::vector<LineRange> ranges;
    if (!progress.run([&] { ranges = lineRanges(text, LineEnds::EditorParagraphs); }))
        return false;
    std::optional<std::vector<qsizetype>> order;
    // The old text goes while the lines are sorted, on one thread: removing the old text is
    // the longer of the two, and it has a core of its own.
    return progress.replaceEditorLinesWhileWorking(
        editor, qsizetype(ranges.size()),
        [&](qsizetype i) {
            // The sorted lines lie all over the copy: the places and the text of lines a
            // little ahead are fetched while these go in. Waiting for each in turn took
            // about 0.3 s of the 2 s a million lines take to go in.
            if (size_t(i) + 2 * kLinesAhead < order->size()) {
                __builtin_prefetch(&ranges[size_t((*order)[size_t(i) + 2 * kLinesAhead])]);
                const LineRange &ahead = ranges[size_t((*order)[size_t(i) + kLinesAhead])];
                __builtin_prefetch(text.constData() + ahead.start);
            }
            const LineRange &range = ranges[size_t((*order)[size_t(i)])];
            return QStringView(text).sliced(range.start, range.length);
        },
        [&](const LineProgress &report) {
            order = CaseBlindLineOrder(text, ranges, report, Threads::One);
            return order.has_value();
        });
}

void GroupLines(const QPlainTextEdit *editor, QWidget *owner) {
    const QString page = TempFileName(QStringLiteral(".htm"));
    // Set before writing: a write that fails half-way must not leave its file either.
    const auto removePage = qScopeGuard([&page] { QFile::remove(page); });
    try {
        ToolProgressDialog progress(owner, QStringLiteral("Agrupando..."), paragraphCount(editor));
        progress.showNow();
        // The library of the page's window is loaded first: when it cannot be, nothing is
        // worked out for nothing, and once the table is done its window opens without that
        // wait. Loaded on another thread while the dialog keeps the windows repainting.
        if (!progress.run(webWindowsLoadingAhead()))
            return;
        WebWindows *windows = webWindows(owner);
        if (!windows)
            return;
        // The engine starts on its own, after a repaint: together with loading the library,
        // or with opening the page at the end, the windows would not repaint for too long.
        progress.showNow();
        windows->startEngine();
        // Counted where the lines stand in one copy of the text: no string per line.
        const QString text = progress.editorRawText(editor);
        QString html =
            GroupLinesHTML(text, lineRanges(text, LineEnds::EditorParagraphs), progress.callback());
        if (html.isEmpty())
            return;
        // The table of a large text is a large page: written while the progress dialog still
        // keeps the windows repainting. Handed over, so its line ends change in place and it
        // is let go of there.
        if (!progress.run([&] { writeFileSafely(page, encodeTextAsLines(std::move(html))); }))
            return;
    } catch (const AppError &error) {
        ShowErrorBox(owner, error.message());
        return;
    }
    ShowHTMLFile(nullptr, page);
}

TSaveDialogCSV::TSaveDialogCSV(QObject *owner)
    : QObject(owner) {
    setObjectName(QStringLiteral("SaveDialogCSV"));
}

QString TSaveDialogCSV::Execute(QWidget *owner) {
    // A full path as the starting folder preselects that file in the dialog.
    const QString chosen = userDialogs().saveFileName(
        owner, FileName, QStringLiteral("CSV files|*.csv"), QStringLiteral("csv"), false);
    if (!chosen.isEmpty())
        FileName = chosen;
    return chosen;
}

bool GerarArquivoCSV(const QPlainTextEdit *editor, QWidget *owner, TSaveDialogCSV &saveDialog) {
    // Built before the dialog: the file holds the text as it was when the command started.
    QString csv;
    {
        ToolProgressDialog progress(owner, QStringLiteral("Gerando o arquivo CSV..."),
                                    paragraphCount(editor));
        QString raw = progress.editorRawText(editor);
        if (!progress.run([&] {
                csv = CsvText(raw);
                raw = QString();
            }))
            return false;
    }
    const QString path = saveDialog.Execute(owner);
    if (path.isEmpty())
        return false;
    const QString writing = QStringLiteral("Gravando o arquivo CSV...");
    ToolProgressDialog progress(owner, writing, paragraphCount(editor));
    progress.setLabel(writing); // a write under way is not cancelled
    progress.run([&] { writeFileSafely(path, encodeLines(csv)); });
    return true;
}

} // namespace brevnote
