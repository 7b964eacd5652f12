#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QPlainTextEdit;

namespace brevnote {

class StatusPanels;

// The read-only text viewer: lines in "Courier New" without wrapping, the caret position in
// the first of four status panels.
class TfRascunho final : public QDialog {
    Q_OBJECT

public:
    explicit TfRascunho(QWidget *parent = nullptr);
    ~TfRascunho() override;

    QPlainTextEdit *textFile() const { return TextFile; }
    StatusPanels *statusBar() const { return StatusBar; }

    // Makes the viewer show the lines under the caption (ShowTextWindow's steps 2 to 6).
    void present(const QStringList &lines, const QString &title);

public slots:
    // Writes the caret position of TextFile into panel 0: three blanks, the line from 1, ":"
    // and the column from 0 ("   3:5").
    void LinColMemo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();

    QPlainTextEdit *TextFile = nullptr;
    StatusPanels *StatusBar = nullptr;
};

// "   " + line from 1 + ":" + column from 0 of the caret, lines as the document's blocks.
QString LinColText(const QPlainTextEdit *editor);

// Shows `lines` read-only in a fixed-pitch font, maximised, with the caret position in the
// status bar; the caption is `title`, or "Itens: " and the number of lines when it is empty.
// Creates the window, shows it modally and destroys it before returning; with `modal` false
// it is shown without waiting and destroyed when the user closes it.
void ShowTextWindow(const QStringList &lines, const QString &title, bool modal = true);

} // namespace brevnote
