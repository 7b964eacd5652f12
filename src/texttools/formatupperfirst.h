#pragma once

#include "capitalizelogic.h"

#include "util/ui/listroutines.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;

namespace brevnote {

// The word capitaliser's options. One instance is created at start-up and kept, hidden, for
// the whole run; each run of the command makes a fresh one with the defaults.
class TfFormat_UpperFirst final : public QDialog {
    Q_OBJECT

public:
    explicit TfFormat_UpperFirst(QWidget *parent = nullptr);
    ~TfFormat_UpperFirst() override;

    // The field list behind the mode list (`_Modo_`).
    static const FieldList &Modo_();

    // The selection when there is one (the clipboard keeps the result), else, after the
    // question, every line of the text; each run is one undo step. False when nothing changed.
    bool ApplyToEditor(QPlainTextEdit *editor);
    QString FormatText(const QString &text) const;
    UpperFirstOptions options() const;

    QCheckBox *CheckBox_Somente_minusculas = nullptr;
    QCheckBox *CheckBox_Somente_Maiusculas = nullptr;
    QCheckBox *CheckBox_RemoveAcentos = nullptr;
    QCheckBox *CheckBox_Spaces2Underlines = nullptr;
    QLabel *Label_Palavras_Formatadas = nullptr;
    QComboBox *ComboBox_Modo = nullptr;
    QWidget *Panel_Buttons = nullptr;

public slots:
    void CheckBox_Somente_minusculasClick();
    void CheckBox_Somente_MaiusculasClick();
    void UpdateModeEnabled();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
};

// The one start-up instance, while it exists.
extern TfFormat_UpperFirst *fFormat_UpperFirst;

// Runs "UpperFirst": a fresh dialog owned by `owner` and, on OK, ApplyToEditor.
bool RunUpperFirst(QPlainTextEdit *editor, QWidget *owner);

} // namespace brevnote
