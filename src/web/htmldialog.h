#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPrinter;
class QPushButton;
class QToolButton;
class QWebEngineView;

namespace brevnote {

// The HTML viewer: one page in a web view, with "Imprimir" (print preview), "Copiar HTML" and
// "Salvar" in its menu bar. Shown either by Execute and its friends, as a fresh dialog for one
// page, or by the main window's "Browser" command, which keeps one instance with the address
// bar shown. The web view is created when the first page is loaded.
class TfHTMDialog final : public QDialog {
    Q_OBJECT

public:
    explicit TfHTMDialog(QWidget *parent = nullptr);
    ~TfHTMDialog() override;

    // Navigates to the location, then shows this dialog modally; the modal result.
    int ShowForm(const QString &location);
    // Shows the location in a new dialog owned by this one (this one is not shown): captioned
    // "Brevnote" or "Brevnote :: suffix", maximised and with a Cancel button on request. The
    // new dialog is destroyed before returning, also on failure.
    int Execute(const QString &location, bool maximized, bool showCancel,
                const QString &captionSuffix);
    // Writes the lines to a new temporary ".htm" file and shows it with Execute; the file is
    // deleted afterwards, whatever happened. Raises AppError when it cannot be written.
    int LoadFromStrings(const QStringList &lines, bool maximized, bool showCancel,
                        const QString &captionSuffix);
    int LoadFromString(const QString &html, bool maximized, bool showCancel,
                       const QString &captionSuffix);
    // Sizeable, maximised, without the button row.
    void Maximize();

    // What ShowHTMLDialog hands on to the dialog Execute shows: a title strip (when not
    // empty), a hidden button row, and the name "Salvar" proposes instead of "*.htm".
    void setPresentation(const QString &title, bool hideButtons, const QString &saveName);

    // The "Browser" use: the address bar shown above the page.
    void ShowAddressBar();

    // Null until the first page is loaded.
    QWebEngineView *webBrowser() const { return WebBrowser; }

public slots:
    void SpeedButton_SearchClick();
    void Imprimir1Click();
    void CopiarHTML1Click();
    void fFolderSearchSalvar1Click();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Writes the page's bytes to a new temporary ".htm" file and shows it as LoadFromStrings.
    int LoadPage(const QByteArray &bytes, bool maximized, bool showCancel,
                 const QString &captionSuffix);
    void createMenu();
    void createAddressBar(QWidget *frame);
    void createButtons();
    void FormCreate();
    void FormResize();
    QWebEngineView &ensureBrowser();
    // Paints the shown page on the printer; an empty page when none is loaded.
    bool printPage(QPrinter *printer);

    QString m_presentedTitle;
    bool m_hideButtons = false;
    QString m_saveName;

    QMenuBar *MainMenu1 = nullptr;
    QAction *Imprimir1 = nullptr;
    QAction *CopiarHTML1 = nullptr;
    QAction *Salvar1 = nullptr;
    QLabel *Title = nullptr;
    QFrame *Panel_Params = nullptr;
    QWidget *Panel_Moldura = nullptr;
    QWidget *Panel_URL = nullptr;
    QLabel *Label_URL = nullptr;
    QLineEdit *Edit_URL = nullptr;
    QToolButton *SpeedButton_Search = nullptr;
    QFrame *Panel_WEBBrowser = nullptr;
    QWebEngineView *WebBrowser = nullptr;
    QWidget *Panel_Buttons = nullptr;
    QPushButton *BitBtn_Ok = nullptr;
    QPushButton *BitBtn_Cancel = nullptr;
};

} // namespace brevnote
