#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;
class QWidget;

// The Format menu's commands on the editor's lines: sort, group and the CSV file.
namespace brevnote {

// "Ordenar": after the question, the lines sorted case-blind by the user's locale, as one
// undo step. False when nothing changed.
bool RunOrdenar(QPlainTextEdit *editor, QWidget *owner);

// "Agrupar": the table of distinct lines with their counts, shown in the HTML viewer. The
// editor's text is not changed.
void GroupLines(const QPlainTextEdit *editor, QWidget *owner);

// The save dialog of "Gerar Arquivo CSV", kept by its owner so it proposes the name chosen
// last time.
class TSaveDialogCSV final : public QObject {
    Q_OBJECT

public:
    explicit TSaveDialogCSV(QObject *owner);
    // The chosen file, remembered for next time; empty when cancelled.
    QString Execute(QWidget *owner);
    QString FileName;
};

// "Gerar Arquivo CSV": the lines as a one-column CSV file. The editor's text is not changed.
// False when cancelled. Raises AppError when the file cannot be written.
bool GerarArquivoCSV(const QPlainTextEdit *editor, QWidget *owner, TSaveDialogCSV &saveDialog);

} // namespace brevnote
