#include "linecommands.h"

#include "csvlogic.h"
#include "sortlogic.h"
#include "toolprogressdialog.h"
#include "valuefrom.h"

#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"
#include "util/ui/webwindows.h"

#include <QPlainTextEdit>

namespace brevnote {

bool RunOrdenar(QPlainTextEdit *editor, QWidget *owner) {
    if (!ConfirmDialog(owner, QStringLiteral("Confirma ordenação do texto atual?"), QString()))
        return false;
    QStringList lines = editorLines(editor, EmptyLastParagraph::StartsNoLine);
    ToolProgressDialog progress(owner, QStringLiteral("Ordenando..."), lines.size());
    if (!SortLinesCaseBlind(lines, progress.callback()))
        return false;
    progress.replaceEditorLines(editor, lines);
    return true;
}

void GroupLines(const QPlainTextEdit *editor, QWidget *owner) {
    const QStringList lines = editorLines(editor, EmptyLastParagraph::StartsNoLine);
    QString html;
    {
        ToolProgressDialog progress(owner, QStringLiteral("Agrupando..."), lines.size());
        html = GroupLinesHTML(lines, progress.callback());
        if (html.isEmpty())
            return;
    }
    ShowHTMLDialog(nullptr, html);
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
    const QStringList csv = CsvLines(editorLines(editor, EmptyLastParagraph::StartsNoLine));
    const QString path = saveDialog.Execute(owner);
    if (path.isEmpty())
        return false;
    writeLinesFile(path, csv);
    return true;
}

} // namespace brevnote
