#include "formatupperfirst.h"

#include "dialogstyle.h"
#include "toolprogressdialog.h"

#include "util/ui/buttonpanel.h"
#include "util/ui/editorlines.h"
#include "util/ui/messageboxes.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

namespace brevnote {

TfFormat_UpperFirst *fFormat_UpperFirst = nullptr;

namespace {

const Field kPrimeira{QStringLiteral("Primeira"), QStringLiteral("Primeira")};
const Field kTodas{QStringLiteral("Todas"), QStringLiteral("Todas")};

constexpr const char *kBlue = "#0000ff";
constexpr const char *kTeal = "#008080";

QCheckBox *makeCheck(const QString &caption, const char *name, QWidget *parent) {
    auto *check = new QCheckBox(caption, parent);
    check->setObjectName(QLatin1StringView(name));
    dialogstyle::boldArial(check, kTeal);
    return check;
}

} // namespace

const FieldList &TfFormat_UpperFirst::Modo_() {
    static const FieldList fields{&kPrimeira, &kTodas};
    return fields;
}

TfFormat_UpperFirst::TfFormat_UpperFirst(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fFormat_UpperFirst"));
    setWindowTitle(QStringLiteral("fFormat_UpperFirst"));
    // The first instance is the one kept for the run; the per-command ones are not it.
    if (!fFormat_UpperFirst)
        fFormat_UpperFirst = this;

    auto *Panel_Master = new QWidget(this);
    Panel_Master->setObjectName(QStringLiteral("Panel_Master"));
    auto *column = new QVBoxLayout(Panel_Master);
    CheckBox_Somente_minusculas = makeCheck(QStringLiteral("Somente minúsculas"),
                                            "CheckBox_Somente_minusculas", Panel_Master);
    CheckBox_Somente_Maiusculas = makeCheck(QStringLiteral("Somente maiúsculas"),
                                            "CheckBox_Somente_Maiusculas", Panel_Master);
    CheckBox_RemoveAcentos =
        makeCheck(QStringLiteral("Remover acentos"), "CheckBox_RemoveAcentos", Panel_Master);
    CheckBox_Spaces2Underlines = makeCheck(QStringLiteral("Substituit espaços por underlines"),
                                           "CheckBox_Spaces2Underlines", Panel_Master);
    Label_Palavras_Formatadas = new QLabel(QStringLiteral("Palavras formatadas:"), Panel_Master);
    Label_Palavras_Formatadas->setObjectName(QStringLiteral("Label_Palavras_Formatadas"));
    dialogstyle::boldArial(Label_Palavras_Formatadas, kBlue, 16);
    ComboBox_Modo = new QComboBox(Panel_Master);
    ComboBox_Modo->setObjectName(QStringLiteral("ComboBox_Modo"));
    dialogstyle::boldArial(ComboBox_Modo, kTeal);
    dialogstyle::optionField(ComboBox_Modo);
    for (QWidget *widget :
         {static_cast<QWidget *>(CheckBox_Somente_minusculas),
          static_cast<QWidget *>(CheckBox_Somente_Maiusculas),
          static_cast<QWidget *>(CheckBox_RemoveAcentos),
          static_cast<QWidget *>(CheckBox_Spaces2Underlines),
          static_cast<QWidget *>(Label_Palavras_Formatadas), static_cast<QWidget *>(ComboBox_Modo)})
        column->addWidget(widget);
    column->addStretch(1);

    Panel_Buttons = dialogstyle::makeButtonPanel(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel_Master, 1);
    layout->addWidget(Panel_Buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(CheckBox_Somente_minusculas, &QCheckBox::clicked, this,
            &TfFormat_UpperFirst::CheckBox_Somente_minusculasClick);
    connect(CheckBox_Somente_Maiusculas, &QCheckBox::clicked, this,
            &TfFormat_UpperFirst::CheckBox_Somente_MaiusculasClick);
    FormCreate();
}

TfFormat_UpperFirst::~TfFormat_UpperFirst() {
    if (fFormat_UpperFirst == this)
        fFormat_UpperFirst = nullptr;
}

void TfFormat_UpperFirst::FormCreate() {
    FillFieldCombo(ComboBox_Modo, Modo_(), kTodas.name, false);
}

void TfFormat_UpperFirst::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    CenterButtonsInPanel(Panel_Buttons);
}

void TfFormat_UpperFirst::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    CenterButtonsInPanel(Panel_Buttons);
}

void TfFormat_UpperFirst::CheckBox_Somente_minusculasClick() {
    CheckBox_Somente_Maiusculas->setEnabled(!CheckBox_Somente_minusculas->isChecked());
    UpdateModeEnabled();
}

void TfFormat_UpperFirst::CheckBox_Somente_MaiusculasClick() {
    CheckBox_Somente_minusculas->setEnabled(!CheckBox_Somente_Maiusculas->isChecked());
    UpdateModeEnabled();
}

void TfFormat_UpperFirst::UpdateModeEnabled() {
    const bool enabled =
        !CheckBox_Somente_minusculas->isChecked() && !CheckBox_Somente_Maiusculas->isChecked();
    Label_Palavras_Formatadas->setEnabled(enabled);
    ComboBox_Modo->setEnabled(enabled);
}

UpperFirstOptions TfFormat_UpperFirst::options() const {
    UpperFirstOptions options;
    options.lowerOnly = CheckBox_Somente_minusculas->isChecked();
    options.upperOnly = !options.lowerOnly && CheckBox_Somente_Maiusculas->isChecked();
    options.removeAccents = CheckBox_RemoveAcentos->isChecked();
    options.spacesToUnderlines = CheckBox_Spaces2Underlines->isChecked();
    options.allWords = ComboSelectsField(ComboBox_Modo, &kTodas);
    return options;
}

QString TfFormat_UpperFirst::FormatText(const QString &text) const {
    return brevnote::FormatText(text, options());
}

bool TfFormat_UpperFirst::ApplyToEditor(QPlainTextEdit *editor) {
    QTextCursor cursor = editor->textCursor();
    if (cursor.hasSelection()) {
        // The selection's plain text, paragraphs as line feeds: what the clipboard would get.
        QString selected = cursor.selectedText();
        selected.replace(QChar::ParagraphSeparator, u'\n');
        const QString formatted = FormatText(selected);
        QGuiApplication::clipboard()->setText(formatted);
        // Inserted directly rather than pasted back, so a clipboard taken over by another
        // program in between can never put foreign text into the pad.
        cursor.insertText(formatted);
        editor->setTextCursor(cursor);
        return true;
    }

    QWidget *owner = editor->window();
    if (!ConfirmDialog(owner, QStringLiteral("Atenção:\rConfirma formatação de TODO o texto?"),
                       QString()))
        return false;
    ToolProgressDialog progress(owner, QStringLiteral("Formatando o texto..."),
                                editor->document()->blockCount());
    QStringList lines = progress.editorLines(editor);
    const UpperFirstOptions chosen = options();
    // The old text goes while the lines are formatted.
    return progress.replaceEditorLinesWhileWorking(
        editor, lines.size(), EditorLinesReplacement::linesOf(lines),
        [&](const LineProgress &report) { return FormatLines(lines, chosen, report); });
}

bool RunUpperFirst(QPlainTextEdit *editor, QWidget *owner) {
    TfFormat_UpperFirst dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return dialog.ApplyToEditor(editor);
}

} // namespace brevnote
