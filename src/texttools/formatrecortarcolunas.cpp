#include "formatrecortarcolunas.h"

#include "dialogstyle.h"
#include "toolprogressdialog.h"

#include "util/ui/buttonpanel.h"
#include "util/ui/editorlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextDocument>
#include <QVBoxLayout>

namespace brevnote {

namespace {

const Field kTodos{QStringLiteral("Todos"), QStringLiteral("Todos")};
const Field kAlfabeto{QStringLiteral("Alfabeto"), QStringLiteral("Alfabeto")};
const Field kNumerico{QStringLiteral("Numerico"), QStringLiteral("Numérico")};
const Field kAlfanumerico{QStringLiteral("Alfanumerico"), QStringLiteral("Alfanumérico")};

const Field kNenhum{QStringLiteral("Nenhum"), QStringLiteral("Nenhum")};
const Field kPontoEVirgula{QStringLiteral("Ponto e vírgula"), QStringLiteral("Ponto e vírgula")};
const Field kVirgula{QStringLiteral("Vírgula"), QStringLiteral("Vírgula")};

constexpr const char *kBlue = "#0000ff";
constexpr const char *kTeal = "#008080";

QSpinBox *makeSpin(QWidget *parent, const char *name) {
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1StringView(name));
    spin->setRange(1, 1234);
    spin->setValue(1);
    dialogstyle::optionField(spin);
    return spin;
}

QLabel *makeLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    dialogstyle::boldArial(label, kBlue);
    return label;
}

// A spin field whose text is not a whole number counts as its minimum.
int spinValue(const QSpinBox *spin) {
    bool ok = false;
    const int value = spin->text().toInt(&ok);
    return ok ? std::clamp(value, spin->minimum(), spin->maximum()) : spin->minimum();
}

} // namespace

const FieldList &TfFormat_RecortarColunas::Caracter_Start_() {
    static const FieldList fields{&kTodos, &kAlfabeto, &kNumerico, &kAlfanumerico};
    return fields;
}

const FieldList &TfFormat_RecortarColunas::Caracter_Final() {
    static const FieldList fields{&kNenhum, &kPontoEVirgula, &kVirgula};
    return fields;
}

TfFormat_RecortarColunas::TfFormat_RecortarColunas(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fFormat_RecortarColunas"));
    setWindowTitle(QStringLiteral("Format.Recortar.Colunas"));

    auto *Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto *grid = new QGridLayout(Panel2);
    SpinEdit_Start = makeSpin(Panel2, "SpinEdit_Start");
    SpinEdit_Size = makeSpin(Panel2, "SpinEdit_Size");
    grid->addWidget(makeLabel(QStringLiteral("Posição.Inicial"), Panel2), 0, 0);
    grid->addWidget(makeLabel(QStringLiteral("Tamanho"), Panel2), 0, 1);
    grid->addWidget(SpinEdit_Start, 1, 0);
    grid->addWidget(SpinEdit_Size, 1, 1);

    CheckBox_Trim = new QCheckBox(QStringLiteral("Remover margens em branco"), Panel2);
    CheckBox_Trim->setObjectName(QStringLiteral("CheckBox_Trim"));
    dialogstyle::boldArial(CheckBox_Trim, kTeal);
    grid->addWidget(CheckBox_Trim, 2, 0, 1, 2);

    ComboBox_Caracter_Inicial = new QComboBox(Panel2);
    ComboBox_Caracter_Inicial->setObjectName(QStringLiteral("ComboBox_Caracter_Inicial"));
    ComboBox_Caracter_Final = new QComboBox(Panel2);
    ComboBox_Caracter_Final->setObjectName(QStringLiteral("ComboBox_Caracter_Final"));
    for (QComboBox *combo : {ComboBox_Caracter_Inicial, ComboBox_Caracter_Final})
        dialogstyle::optionField(combo);
    grid->addWidget(makeLabel(QStringLiteral("Caracter.Inicial"), Panel2), 3, 0, 1, 2);
    grid->addWidget(ComboBox_Caracter_Inicial, 4, 0, 1, 2);
    grid->addWidget(makeLabel(QStringLiteral("Adicionar Caracter Final:"), Panel2), 5, 0, 1, 2);
    grid->addWidget(ComboBox_Caracter_Final, 6, 0, 1, 2);
    grid->setRowStretch(7, 1);

    Panel_Buttons = dialogstyle::makeButtonPanel(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel2, 1);
    layout->addWidget(Panel_Buttons);
    resize(552, 274);

    FormCreate();
}

void TfFormat_RecortarColunas::FormCreate() {
    FillFieldCombo(ComboBox_Caracter_Inicial, Caracter_Start_(), kTodos.name, false);
    FillFieldCombo(ComboBox_Caracter_Final, Caracter_Final(), kNenhum.name, false);
}

void TfFormat_RecortarColunas::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormResize();
}

void TfFormat_RecortarColunas::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfFormat_RecortarColunas::FormResize() {
    CenterButtonsInPanel(Panel_Buttons);
}

LineStart TfFormat_RecortarColunas::selectedLineStart() const {
    if (ComboSelectsField(ComboBox_Caracter_Inicial, &kTodos))
        return LineStart::Todos;
    if (ComboSelectsField(ComboBox_Caracter_Inicial, &kAlfabeto))
        return LineStart::Alfabeto;
    if (ComboSelectsField(ComboBox_Caracter_Inicial, &kNumerico))
        return LineStart::Numerico;
    if (ComboSelectsField(ComboBox_Caracter_Inicial, &kAlfanumerico))
        return LineStart::Alfanumerico;
    return LineStart::None;
}

bool TfFormat_RecortarColunas::LineMatchesStart(QStringView line) const {
    return brevnote::LineMatchesStart(line, selectedLineStart());
}

QString TfFormat_RecortarColunas::FinalCharacter() const {
    if (ComboSelectsField(ComboBox_Caracter_Final, &kPontoEVirgula))
        return QStringLiteral(";");
    if (ComboSelectsField(ComboBox_Caracter_Final, &kVirgula))
        return QStringLiteral(",");
    return {};
}

ColumnCutOptions TfFormat_RecortarColunas::options() const {
    ColumnCutOptions options;
    options.start = spinValue(SpinEdit_Start);
    options.size = spinValue(SpinEdit_Size);
    options.trim = CheckBox_Trim->isChecked();
    options.lineStart = selectedLineStart();
    options.finalText = FinalCharacter();
    return options;
}

bool RunRecortarColunas(QPlainTextEdit *editor, QWidget *owner) {
    ColumnCutOptions options;
    {
        TfFormat_RecortarColunas dialog(owner);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        options = dialog.options();
    }
    // The cut columns are shown in a small fixed font, set as the new lines go in.
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(8);
    {
        ToolProgressDialog progress(owner, QStringLiteral("Recortando colunas..."),
                                    editor->document()->blockCount());
        QStringList lines = progress.editorLines(editor);
        // The old text goes while the lines are cut.
        if (!progress.replaceEditorLinesWhileWorking(
                editor, lines.size(), EditorLinesReplacement::linesOf(lines),
                [&](const LineProgress &report) { return CutLines(lines, options, report); }, font))
            return false;
    }

    QPalette palette = editor->palette();
    palette.setColor(QPalette::Text, Qt::black);
    editor->setPalette(palette);

    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(0);
    editor->setTextCursor(cursor);
    editor->verticalScrollBar()->setValue(editor->verticalScrollBar()->minimum());
    return true;
}

} // namespace brevnote
