#pragma once

#include <QDialog>

class QCheckBox;
class QFrame;
class QPushButton;
class QWebEngineView;

namespace brevnote {

// The alarm: one due reminder shown as a small HTML page, with the choices to see it again in
// 15 minutes (ticked at first) and to switch it off (unticked at first). The choices go into
// the scheduler's two fields given at creation.
class TfAlarmShow final : public QDialog {
    Q_OBJECT

public:
    TfAlarmShow(QWidget *owner, bool *snoozeRequested, bool *deactivateRequested);

    // Fills the template, writes the page to tmp/ and makes the browser show it. Raises
    // AppError when the page cannot be written; the browser is then not created.
    void BuildAlarmPage(const QString &name, const QString &message);
    const QString &pageFileName() const { return m_pageFileName; }

    QCheckBox *checkBoxRepetir() const { return CheckBox_Repetir; }
    QCheckBox *checkBoxDesativar() const { return CheckBoxDesativar; }
    QPushButton *okButton() const { return BitBtn1; }
    QWebEngineView *webBrowser() const { return WebBrowser; }

    // Every way of closing (OK, the close box, Escape) ends here: the snooze choice is taken.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormShow();
    void FormResize();
    void CheckBoxDesativarClick();

    bool *m_snoozeRequested;
    bool *m_deactivateRequested;
    QString m_pageFileName;

    QFrame *Panel_Params = nullptr;
    QWebEngineView *WebBrowser = nullptr; // made with the page
    QFrame *Panel_Options = nullptr;
    QCheckBox *CheckBox_Repetir = nullptr;
    QCheckBox *CheckBoxDesativar = nullptr;
    QFrame *Panel_Buttons = nullptr;
    QPushButton *BitBtn1 = nullptr;
};

} // namespace brevnote
