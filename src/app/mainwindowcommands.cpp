// The main window's commands on its text: files, font, clipboard and printing.
#include "mainwindow.h"

#include "textfileloader.h"

#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

namespace brevnote {

namespace {
const QString kTextFilter = QStringLiteral("TXT files|*.txt");
} // namespace

void TfMaster::ToolButton_AbrirClick() {
    const QString path = userDialogs().openFileName(this, QString(), kTextFilter, QString());
    if (path.isEmpty())
        return;
    try {
        // Read completely before touching the editor, so a failure leaves the text as it was.
        std::optional<TextEncoding> encoding;
        // Line breaks become the editor's own, in place: the text is held once beside the
        // editor's; one undo step brings the old text back.
        replaceEditorText(RichEdit,
                          normalizeLineBreaks(readFileForEditor(path, m_plainText, &encoding)));
        // Like setPlainText: the caret at the start, the view at the top.
        RichEdit->moveCursor(QTextCursor::Start);
        m_fileEncoding = encoding;
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfMaster::ToolButton_SalvarClick() {
    // Saving is always plain text; the mode stays on even when the dialog is cancelled.
    m_plainText = true;
    const QString path =
        userDialogs().saveFileName(this, QString(), kTextFilter, QStringLiteral("txt"), false);
    if (path.isEmpty())
        return;
    try {
        // A file opened from disk goes back in its own encoding: a UTF-8 file stays UTF-8.
        // Encoded from the raw text, whose paragraph separators end lines: no second copy.
        writeFileSafely(path, encodeParagraphs(RichEdit->document()->toRawText(), m_fileEncoding));
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfMaster::ToolButton_FontClick() {
    QFont chosen;
    if (userDialogs().chooseFont(this, RichEdit->font(), &chosen))
        RichEdit->setFont(chosen);
}

void TfMaster::ToolButton_SelectAllClick() {
    RichEdit->setFocus();
    RichEdit->selectAll();
}

void TfMaster::ToolButton_CutClick() {
    copySelectionOrAll();
    RichEdit->textCursor().removeSelectedText();
}

void TfMaster::ToolButton_CopyClick() {
    copySelectionOrAll();
}

void TfMaster::copySelectionOrAll() {
    // With nothing selected the command acts on the whole text.
    if (!RichEdit->textCursor().hasSelection())
        RichEdit->selectAll();
    // Plain text only, taken straight from the selection: the editor's own copy builds a
    // rich fragment first, which takes seconds on a million lines.
    QString text = RichEdit->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    QGuiApplication::clipboard()->setText(text);
}

void TfMaster::ToolButton_PasteClick() {
    RichEdit->paste();
}

void TfMaster::ToolButton_PrinterClick() {
    // A print of a long text takes a while, and a printer driver may never come back.
    saveJournalNow();
    QPrinter printer;
    printer.setDocName(ApplicationTitle());
    if (userDialogs().choosePrinter(this, &printer))
        RichEdit->print(&printer);
}

} // namespace brevnote
