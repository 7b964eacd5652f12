#include "scripteddialogs.h"

#include <QtTest>

namespace brevnote::test {

ScriptedDialogs::ScriptedDialogs() {
    setUserDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setUserDialogs(nullptr);
}

int ScriptedDialogs::messageBox(QWidget *owner, const QString &text, const QString &caption,
                                int style) {
    messageBoxes.append({owner, text, caption, style});
    if (messageBoxAnswers.isEmpty())
        qFatal("unexpected message box: %s", qPrintable(text));
    return messageBoxAnswers.dequeue();
}

void ScriptedDialogs::errorBox(QWidget *, const QString &message) {
    errors.append(message);
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &folder, const QString &filter,
                                      const QString &) {
    fileDialogFilters.append(filter);
    fileDialogFolders.append(folder);
    if (fileNames.isEmpty())
        qFatal("unexpected open dialog");
    return fileNames.dequeue();
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &folder, const QString &filter,
                                      const QString &, bool) {
    fileDialogFilters.append(filter);
    fileDialogFolders.append(folder);
    if (fileNames.isEmpty())
        qFatal("unexpected save dialog");
    return fileNames.dequeue();
}

bool ScriptedDialogs::chooseFont(QWidget *, const QFont &initial, QFont *chosen) {
    fontDialogInitialFonts.append(initial);
    if (fontAnswers.isEmpty())
        qFatal("unexpected font dialog");
    const bool ok = fontAnswers.dequeue();
    if (ok)
        *chosen = fontToChoose;
    return ok;
}

bool ScriptedDialogs::choosePrinter(QWidget *, QPrinter *) {
    if (printerAnswers.isEmpty())
        qFatal("unexpected print dialog");
    return printerAnswers.dequeue();
}

void ScriptedDialogs::printPreview(QWidget *, const std::function<void(QPrinter *)> &paint) {
    ++printPreviews;
    lastPrintPreviewPaint = paint;
}

} // namespace brevnote::test
