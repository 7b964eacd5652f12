#pragma once

#include <QDialog>

#include <functional>

class QAction;
class QCheckBox;
class QPlainTextEdit;
class QToolBar;

namespace brevnote {

// The text-to-HTML panel: a memo converted between plain lines and one HTML line with "<br>"
// breaks through the clipboard ("Colar", "Copiar"), and previewed as a page ("Browse"). Opens
// maximised; nothing is kept from one use to the next.
class TfHTMLText final : public QDialog {
    Q_OBJECT

public:
    // Shows an HTML text as a page; ShowHTMLDialog unless a test replaces it.
    using PageShower = std::function<void(const QString &html)>;

    explicit TfHTMLText(QWidget *parent = nullptr);
    ~TfHTMLText() override;

    // The memo's text with CR LF breaks.
    QString memoText() const;
    void setMemoText(const QString &text);
    QPlainTextEdit *memo() const { return Memo; }
    QCheckBox *checkBoxCR2BR() const { return CheckBox_CR2BR; }
    void setPageShower(PageShower shower);

public slots:
    void ToolButton_ColarClick();
    void ToolButton_CopiarClick();
    void ToolButton_BrowseClick();

private:
    void createToolBar();

    PageShower m_showPage;
    QToolBar *ToolBar = nullptr;
    QAction *ToolButton_Colar = nullptr;
    QAction *ToolButton_Copiar = nullptr;
    QAction *ToolButton_Browse = nullptr;
    QPlainTextEdit *Memo = nullptr;
    QWidget *Panel_Rodape = nullptr;
    QCheckBox *CheckBox_CR2BR = nullptr;
};

} // namespace brevnote
