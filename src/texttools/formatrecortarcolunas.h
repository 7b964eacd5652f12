#pragma once

#include "columncutlogic.h"

#include "util/ui/listroutines.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QSpinBox;

namespace brevnote {

// The column cutter's options, created anew, with its defaults, for every run.
class TfFormat_RecortarColunas final : public QDialog {
    Q_OBJECT

public:
    explicit TfFormat_RecortarColunas(QWidget *parent = nullptr);

    // The field lists behind the two drop-down lists (`_Caracter_Start_`, `_Caracter_Final`).
    static const FieldList &Caracter_Start_();
    static const FieldList &Caracter_Final();

    bool LineMatchesStart(QStringView line) const;
    // "", ";" or ",".
    QString FinalCharacter() const;
    // The options as chosen now.
    ColumnCutOptions options() const;

    QSpinBox *SpinEdit_Start = nullptr;
    QSpinBox *SpinEdit_Size = nullptr;
    QCheckBox *CheckBox_Trim = nullptr;
    QComboBox *ComboBox_Caracter_Inicial = nullptr;
    QComboBox *ComboBox_Caracter_Final = nullptr;
    QWidget *Panel_Buttons = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormResize();
    LineStart selectedLineStart() const;
};

// Runs "Recortar colunas" on the editor's whole text: the dialog, the cut of every line as
// one undo step, then "Courier New" 8 points black, caret at the top. False, with nothing
// changed, when the dialog was not closed with OK (or the cut was cancelled).
bool RunRecortarColunas(QPlainTextEdit *editor, QWidget *owner);

} // namespace brevnote
