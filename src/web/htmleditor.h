#pragma once

#include <QDialog>
#include <QFont>
#include <QString>

class QAction;
class QFrame;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolBar;
class QWebEngineView;

namespace brevnote {

// The small modal editor for the source text of one HTML file, with a preview tab. "Salvar"
// closes with OK after writing the file (twice when another file was loaded with "Arquivo");
// "Cancelar", Escape and the close button ask before dropping changes. The memo's font is kept
// in TfHTMLEdit.ini in the Windows folder. The preview's web view is created when the tab is
// first shown.
class TfHTMLEdit final : public QDialog {
    Q_OBJECT

public:
    explicit TfHTMLEdit(QWidget *parent = nullptr);
    ~TfHTMLEdit() override;

    // Loads `fileName` and shows the editor modally; returns when it has closed. The
    // caller reads result(): Accepted after a save, Rejected otherwise. Raises AppError when
    // the file cannot be read (the editor is then not shown).
    void LoadFromFile(const QString &fileName);

    const QString &EditedFile() const { return m_editedFile; }

    QPlainTextEdit *memo() const { return Memo1; }
    QPushButton *saveButton() const { return BitBtn_Salvar; }
    QTabWidget *pageControl() const { return PageControl1; }
    // Null until the preview is first shown.
    QWebEngineView *previewBrowser() const { return WebBrowser1; }

    // The settings file of the editor's font.
    static QString settingsFileName();

public slots:
    void ToolButton1Click();
    void ToolButton3Click();
    void Memo1Change();
    void TabSheet_PreviewShow();

    // Closing runs through here: a Rejected close asks about changes, an Accepted one saves
    // first. The editor stays open when the user says No or cancels a save dialog.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createToolBar();
    void createPages();
    void createButtons();
    void FormCreate();
    void FormResize();
    // Replaces the memo's text by the file's lines; the text is then unmodified.
    void loadMemo(const QString &fileName);
    // One save step: the dialog proposes `proposed`; false when the user cancelled.
    bool saveTo(const QString &proposed);
    bool FormCloseQuery(int result);
    void storeFont(const QFont &font);

    QString m_editedFile;
    QString m_openDialogFileName; // the name last chosen with "Arquivo"
    QFont m_fontDialogFont;       // the font dialog opens with its own last font

    QToolBar *ToolBar1 = nullptr;
    QAction *ToolButton1 = nullptr;
    QAction *ToolButton3 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet_Editor = nullptr;
    QWidget *TabSheet_Preview = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QFrame *Panel1 = nullptr;
    QWebEngineView *WebBrowser1 = nullptr;
    QWidget *Panel_Buttons = nullptr;
    QPushButton *BitBtn_Salvar = nullptr;
    QPushButton *BitBtn_Cancelar = nullptr;
};

} // namespace brevnote
