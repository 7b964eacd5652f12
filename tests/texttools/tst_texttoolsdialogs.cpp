#include "support/hermetic.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"

#include "texttools/capitalizelogic.h"
#include "texttools/columncutlogic.h"
#include "texttools/csvlogic.h"
#include "texttools/formatrecortarcolunas.h"
#include "texttools/formatupperfirst.h"
#include "texttools/linecommands.h"
#include "texttools/sortlogic.h"
#include "texttools/valuefrom.h"
#include "util/core/paths.h"
#include "util/core/textcodec.h"
#include "util/ui/editorlines.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::ScriptedDialogs;

namespace {

// Answers the next dialog of that class once its modal loop runs: `answer` sets options,
// then the dialog is accepted or rejected.
template<typename Dialog> void whenShown(std::function<void(Dialog *)> answer, bool accept) {
    QTimer::singleShot(0, [answer, accept] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<Dialog *>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            answer(dialog);
            accept ? dialog->accept() : dialog->reject();
            return;
        }
        qFatal("the dialog was not shown");
    });
}

void selectItem(QComboBox *combo, const QString &text) {
    combo->setCurrentIndex(combo->findText(text));
}

QString editorText(const QPlainTextEdit &editor) {
    return editor.toPlainText();
}

} // namespace

// The tools' dialogs and their effect on an editor: options, Cancel, undo, files.
class TestTextToolsDialogs : public QObject {
    Q_OBJECT

private slots:
    void cutterDialogDefaults();
    void cutterCuts_data();
    void cutterCuts();
    void cutterCancelChangesNothing();
    void upperFirstEnabling();
    void upperFirstSelectionGoesThroughClipboard();
    void upperFirstWholeTextAsks_data();
    void upperFirstWholeTextAsks();
    void ordenarAsksAndUndoes_data();
    void ordenarAsksAndUndoes();
    void groupingLeavesText();
    void csvFileWritten_data();
    void csvFileWritten();
    void csvCancelWritesNothingAndFailureRaises();
    void largeTextShowsProgressAndCancelKeepsText_data();
    void largeTextShowsProgressAndCancelKeepsText();
    void largeTextGivesWhatTheLogicGives_data();
    void largeTextGivesWhatTheLogicGives();
};

void TestTextToolsDialogs::cutterDialogDefaults() {
    TfFormat_RecortarColunas dialog;
    QCOMPARE(dialog.windowTitle(), u"Format.Recortar.Colunas"_s);
    QCOMPARE(dialog.SpinEdit_Start->value(), 1);
    QCOMPARE(dialog.SpinEdit_Size->maximum(), 1234);
    QVERIFY(!dialog.CheckBox_Trim->isChecked());
    QCOMPARE(dialog.ComboBox_Caracter_Inicial->currentText(), u"Todos"_s);
    QCOMPARE(dialog.ComboBox_Caracter_Final->currentText(), u"Nenhum"_s);
    QStringList items;
    for (int i = 0; i < dialog.ComboBox_Caracter_Inicial->count(); ++i)
        items.append(dialog.ComboBox_Caracter_Inicial->itemText(i));
    QCOMPARE(items, (QStringList{u"Todos"_s, u"Alfabeto"_s, u"Numérico"_s, u"Alfanumérico"_s}));
    selectItem(dialog.ComboBox_Caracter_Final, u"Ponto e vírgula"_s);
    QCOMPARE(dialog.FinalCharacter(), u";"_s);
    selectItem(dialog.ComboBox_Caracter_Final, u"Vírgula"_s);
    QCOMPARE(dialog.FinalCharacter(), u","_s);
    selectItem(dialog.ComboBox_Caracter_Inicial, u"Numérico"_s);
    QVERIFY(dialog.LineMatchesStart(u"1a"));
    QVERIFY(!dialog.LineMatchesStart(u"a1"));
    dialog.ComboBox_Caracter_Inicial->setCurrentIndex(-1);
    QVERIFY(!dialog.LineMatchesStart(u"1a"));
}

void TestTextToolsDialogs::cutterCuts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("expected");

    QTest::newRow("defaults") << u"abc\n\nxyz"_s << 1 << u"Nenhum"_s << u"a\n\nx"_s;
    QTest::newRow("break at the end adds no line")
        << u"abc\ndef\n"_s << 2 << u"Nenhum"_s << u"b\ne"_s;
    QTest::newRow("separator on every line")
        << u"abc\r\n\r\nx"_s << 2 << u"Ponto e vírgula"_s << u"b;\n;\n;"_s;
    QTest::newRow("empty editor stays empty") << u""_s << 1 << u"Vírgula"_s << u""_s;
}

void TestTextToolsDialogs::cutterCuts() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(QString, final);
    QPlainTextEdit editor;
    editor.setPlainText(text);
    whenShown<TfFormat_RecortarColunas>(
        [start, final](TfFormat_RecortarColunas *dialog) {
            dialog->SpinEdit_Start->setValue(start);
            selectItem(dialog->ComboBox_Caracter_Final, final);
        },
        true);
    QVERIFY(RunRecortarColunas(&editor, nullptr));
    QTEST(editorText(editor), "expected");
    QCOMPARE(editor.font().family(), u"Courier New"_s);
    QCOMPARE(editor.font().pointSize(), 8);
    QVERIFY(!editor.font().bold() && !editor.font().italic() && !editor.font().underline());
    QCOMPARE(editor.palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(!editor.textCursor().hasSelection());
    QCOMPARE(editor.textCursor().position(), 0);
    editor.undo();
    QCOMPARE(editorText(editor), QString(text).replace(u"\r\n"_s, u"\n"_s));
}

void TestTextToolsDialogs::cutterCancelChangesNothing() {
    QPlainTextEdit editor;
    editor.resize(200, 80);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines.append(u"linha %1"_s.arg(i));
    editor.setPlainText(lines.join(u'\n'));
    editor.verticalScrollBar()->setValue(50);
    const QFont font = editor.font();
    const int scroll = editor.verticalScrollBar()->value();
    whenShown<TfFormat_RecortarColunas>(
        [](TfFormat_RecortarColunas *dialog) {
            dialog->SpinEdit_Start->setValue(3);
            dialog->SpinEdit_Size->setValue(9);
            dialog->CheckBox_Trim->setChecked(true);
            selectItem(dialog->ComboBox_Caracter_Inicial, u"Alfabeto"_s);
            selectItem(dialog->ComboBox_Caracter_Final, u"Vírgula"_s);
        },
        false);
    QVERIFY(!RunRecortarColunas(&editor, nullptr));
    QCOMPARE(editorText(editor), lines.join(u'\n'));
    QCOMPARE(editor.font(), font);
    QCOMPARE(editor.verticalScrollBar()->value(), scroll);
    QVERIFY(!editor.document()->isUndoAvailable());
}

void TestTextToolsDialogs::upperFirstEnabling() {
    TfFormat_UpperFirst dialog;
    QCOMPARE(dialog.ComboBox_Modo->currentText(), u"Todas"_s);
    QVERIFY(dialog.options().allWords);
    dialog.CheckBox_Somente_minusculas->click();
    QVERIFY(!dialog.CheckBox_Somente_Maiusculas->isEnabled());
    QVERIFY(!dialog.Label_Palavras_Formatadas->isEnabled());
    QVERIFY(!dialog.ComboBox_Modo->isEnabled());
    dialog.CheckBox_Somente_minusculas->click();
    QVERIFY(dialog.CheckBox_Somente_Maiusculas->isEnabled());
    QVERIFY(dialog.Label_Palavras_Formatadas->isEnabled());
    QVERIFY(dialog.ComboBox_Modo->isEnabled());
    dialog.CheckBox_Somente_Maiusculas->click();
    QVERIFY(!dialog.CheckBox_Somente_minusculas->isEnabled());
    QVERIFY(!dialog.ComboBox_Modo->isEnabled());
    QVERIFY(dialog.options().upperOnly);
    selectItem(dialog.ComboBox_Modo, u"Primeira"_s);
    QVERIFY(!dialog.options().allWords);
}

void TestTextToolsDialogs::upperFirstSelectionGoesThroughClipboard() {
    ScriptedDialogs dialogs; // no question may be asked
    QPlainTextEdit editor;
    editor.setPlainText(u"x maria DA silva\nJOÃO y"_s);
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(2);
    cursor.setPosition(21, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    whenShown<TfFormat_UpperFirst>([](TfFormat_UpperFirst *) {}, true);
    QVERIFY(RunUpperFirst(&editor, nullptr));
    QCOMPARE(editorText(editor), u"x Maria Da Silva\nJoão y"_s);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"Maria Da Silva\nJoão"_s);
    QVERIFY(dialogs.messageBoxes.isEmpty());
    editor.undo();
    QCOMPARE(editorText(editor), u"x maria DA silva\nJOÃO y"_s);
}

void TestTextToolsDialogs::upperFirstWholeTextAsks_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("yes") << IDYES << u"Um Dois\nTrês\n\nQuatro 😀"_s;
    QTest::newRow("no") << IDNO << u"um DOIS\ntrês\n\nquatro 😀\n"_s;
}

void TestTextToolsDialogs::upperFirstWholeTextAsks() {
    QFETCH(int, answer);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(answer);
    QPlainTextEdit editor;
    editor.setPlainText(u"um DOIS\ntrês\n\nquatro 😀\n"_s);
    whenShown<TfFormat_UpperFirst>([](TfFormat_UpperFirst *) {}, true);
    RunUpperFirst(&editor, nullptr);
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    QCOMPARE(dialogs.messageBoxes.constFirst().text,
             u"Atenção:\rConfirma formatação de TODO o texto?"_s);
    QCOMPARE(dialogs.messageBoxes.constFirst().style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    QTEST(editorText(editor), "expected");
    if (answer == IDYES) {
        editor.undo();
        QCOMPARE(editorText(editor), u"um DOIS\ntrês\n\nquatro 😀\n"_s);
    }
}

void TestTextToolsDialogs::ordenarAsksAndUndoes_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("yes") << IDYES << u"\nbanana\ncherry"_s;
    QTest::newRow("no") << IDNO << u"cherry\n\nbanana\n"_s;
}

void TestTextToolsDialogs::ordenarAsksAndUndoes() {
    QFETCH(int, answer);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(answer);
    QPlainTextEdit editor;
    editor.setPlainText(u"cherry\n\nbanana\n"_s);
    QCOMPARE(RunOrdenar(&editor, nullptr), answer == IDYES);
    QCOMPARE(dialogs.messageBoxes.constFirst().text, u"Confirma ordenação do texto atual?"_s);
    QTEST(editorText(editor), "expected");
    editor.undo();
    QCOMPARE(editorText(editor), u"cherry\n\nbanana\n"_s);
}

void TestTextToolsDialogs::groupingLeavesText() {
    QPlainTextEdit editor;
    editor.setPlainText(u"Sim\nsim\n<b>x</b>"_s);
    // The table shows in a modal viewer; close it as soon as it is up, with the page file
    // it shows read.
    const QDir temporary(TempFolder());
    const QStringList pages{u"*.htm"_s};
    bool viewerShown = false;
    QByteArray page;
    QTimer poll;
    poll.setInterval(50);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QDialog *>(window); dialog && dialog->isVisible()) {
                viewerShown = true;
                const QStringList files = temporary.entryList(pages, QDir::Files);
                if (files.size() == 1)
                    page = test::readBytes(temporary.filePath(files.first()));
                dialog->done(QDialog::Accepted);
            }
        }
    });
    poll.start();
    GroupLines(&editor, nullptr);
    poll.stop();
    QVERIFY(viewerShown);
    QCOMPARE(page,
             encodeTextAsLines(GroupLinesHTML(QStringList{u"Sim"_s, u"sim"_s, u"<b>x</b>"_s})));
    QCOMPARE(temporary.entryList(pages, QDir::Files), QStringList());
    QCOMPARE(editorText(editor), u"Sim\nsim\n<b>x</b>"_s);
    QVERIFY(!editor.document()->isUndoAvailable());
}

void TestTextToolsDialogs::csvFileWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty editor") << u""_s << "CSV_Header;\r\n"_ba;
    QTest::newRow("lines") << u"a;b;c\n\n  ação \n"_s
                           << "CSV_Header;\r\na.b.c;\r\n;\r\na\xe7\xe3o;\r\n"_ba;
    QTest::newRow("emoji keeps everything") << u"😀"_s
                                            << "\xef\xbb\xbf"
                                               "CSV_Header;\r\n\xf0\x9f\x98\x80;\r\n"_ba;
}

void TestTextToolsDialogs::csvFileWritten() {
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"out.csv"_s);
    QVERIFY(test::writeBytes(path, "old content that is longer than the new one\r\n"));
    ScriptedDialogs dialogs;
    dialogs.fileNames.enqueue(path);
    QPlainTextEdit editor;
    editor.setPlainText(text);
    TSaveDialogCSV saveDialog(nullptr);
    QVERIFY(GerarArquivoCSV(&editor, nullptr, saveDialog));
    QTEST(test::readBytes(path), "bytes");
    QCOMPARE(saveDialog.FileName, path);
    QCOMPARE(dialogs.fileDialogFilters, QStringList{u"CSV files|*.csv"_s});
    QCOMPARE(editorText(editor), text);
}

void TestTextToolsDialogs::csvCancelWritesNothingAndFailureRaises() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QPlainTextEdit editor;
    editor.setPlainText(u"x"_s);
    TSaveDialogCSV saveDialog(nullptr);
    saveDialog.FileName = dir.filePath(u"last.csv"_s);
    dialogs.fileNames.enqueue(QString());
    QVERIFY(!GerarArquivoCSV(&editor, nullptr, saveDialog));
    QVERIFY(QDir(dir.path()).isEmpty());
    QCOMPARE(saveDialog.FileName, dir.filePath(u"last.csv"_s));

    dialogs.fileNames.enqueue(test::unwritablePath(dir, u"sub/out.csv"_s));
    QVERIFY_THROWS_EXCEPTION(std::exception, GerarArquivoCSV(&editor, nullptr, saveDialog));
}

void TestTextToolsDialogs::largeTextShowsProgressAndCancelKeepsText_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("onceTextGoes"); // "Cancelar" once the old text started to go
    QTest::newRow("Ordenar") << u"Ordenar"_s << u"Ordenando..."_s << false;
    QTest::newRow("Ordenar, old text going") << u"Ordenar"_s << u"Ordenando..."_s << true;
    QTest::newRow("Recortar colunas")
        << u"Recortar colunas"_s << u"Recortando colunas..."_s << false;
    QTest::newRow("Recortar colunas, old text going")
        << u"Recortar colunas"_s << u"Recortando colunas..."_s << true;
    QTest::newRow("UpperFirst, old text going")
        << u"UpperFirst"_s << u"Formatando o texto..."_s << true;
    QTest::newRow("Agrupar") << u"Agrupar"_s << u"Agrupando..."_s << false;
}

// Above 100,000 lines a tool shows its progress; "Cancelar" there leaves the text as it was
// and shows nothing more.
void TestTextToolsDialogs::largeTextShowsProgressAndCancelKeepsText() {
    QFETCH(QString, tool);
    QFETCH(QString, label);
    QFETCH(bool, onceTextGoes);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDYES);
    QStringList lines;
    for (int i = 0; i < 150000; ++i)
        lines.append(u"linha %1 Ação"_s.arg((i * 7919) % 150000));
    const QString text = lines.join(u'\n');
    QPlainTextEdit editor;
    editor.setPlainText(text);
    // A selection, except for UpperFirst, which would then format only that.
    const int caretEnd = tool == u"UpperFirst"_s ? 20 : 35;
    QTextCursor caret(editor.document());
    caret.setPosition(20);
    caret.setPosition(caretEnd, QTextCursor::KeepAnchor);
    editor.setTextCursor(caret);
    const QFont font = editor.font();

    QStringList progressLabels;
    int otherDialogs = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (auto *progress = qobject_cast<QProgressDialog *>(window)) {
                // While the old text goes the bar counts its paragraphs and the new lines.
                const bool textGoing = progress->maximum() > lines.size() && progress->value() > 0;
                if (!progress->wasCanceled() && (textGoing || !onceTextGoes)) {
                    progressLabels.append(progress->labelText());
                    progress->cancel();
                }
            } else if (auto *dialog = qobject_cast<QDialog *>(window);
                       dialog && !qobject_cast<TfFormat_RecortarColunas *>(dialog)) {
                ++otherDialogs; // the grouping's table: it must not come
                dialog->done(QDialog::Accepted);
            }
        }
    });
    poll.start(0);
    if (tool == u"Ordenar"_s) {
        QVERIFY(!RunOrdenar(&editor, nullptr));
    } else if (tool == u"Recortar colunas"_s) {
        whenShown<TfFormat_RecortarColunas>(
            [](TfFormat_RecortarColunas *dialog) { dialog->SpinEdit_Start->setValue(3); }, true);
        QVERIFY(!RunRecortarColunas(&editor, nullptr));
    } else if (tool == u"UpperFirst"_s) {
        whenShown<TfFormat_UpperFirst>([](TfFormat_UpperFirst *) {}, true);
        QVERIFY(!RunUpperFirst(&editor, nullptr));
    } else {
        GroupLines(&editor, nullptr);
    }
    poll.stop();
    QCOMPARE(progressLabels, QStringList{label});
    QCOMPARE(otherDialogs, 0);
    QVERIFY(editorText(editor) == text);
    QVERIFY(!editor.document()->isUndoAvailable());
    QVERIFY(!editor.document()->isRedoAvailable());
    QCOMPARE(editor.textCursor().anchor(), 20);
    QCOMPARE(editor.textCursor().position(), caretEnd);
    QVERIFY(editor.viewport()->updatesEnabled());
    QCOMPARE(editor.font(), font);
}

void TestTextToolsDialogs::largeTextGivesWhatTheLogicGives_data() {
    QTest::addColumn<QString>("tool");
    QTest::newRow("Ordenar") << u"Ordenar"_s;
    QTest::newRow("UpperFirst") << u"UpperFirst"_s;
    QTest::newRow("Recortar colunas") << u"Recortar colunas"_s;
    QTest::newRow("Gerar Arquivo CSV") << u"Gerar Arquivo CSV"_s;
}

// Above 100,000 lines the lines are taken and put back in slices while a progress dialog
// shows: the result is the logic's on the editor's lines, one undo step that brings the text
// back with the step before it intact, and one change signal (the journal's cue).
void TestTextToolsDialogs::largeTextGivesWhatTheLogicGives() {
    QFETCH(QString, tool);
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDYES);
    const QString csvPath = dir.filePath(u"large.csv"_s);
    dialogs.fileNames.enqueue(csvPath);
    QStringList original;
    for (int i = 0; i < 120000; ++i)
        original.append(i % 1000 == 0 ? QString() : u" linha %1 ação;😀"_s.arg((i * 7919) % 120000));
    QPlainTextEdit editor;
    editor.setPlainText(original.join(u'\n') + u'\n');
    QTextCursor typing(editor.document());
    typing.insertText(u"zz "_s); // the step before
    const QString before = editor.toPlainText();
    QStringList expected = editorLines(&editor, EmptyLastParagraph::StartsNoLine);
    QSignalSpy changed(&editor, &QPlainTextEdit::textChanged);

    if (tool == u"Ordenar"_s) {
        SortLinesCaseBlind(expected);
        QVERIFY(RunOrdenar(&editor, nullptr));
    } else if (tool == u"UpperFirst"_s) {
        FormatLines(expected, TfFormat_UpperFirst().options());
        whenShown<TfFormat_UpperFirst>([](TfFormat_UpperFirst *) {}, true);
        QVERIFY(RunUpperFirst(&editor, nullptr));
    } else if (tool == u"Recortar colunas"_s) {
        ColumnCutOptions options;
        options.start = 3;
        options.size = 7;
        CutLines(expected, options);
        whenShown<TfFormat_RecortarColunas>(
            [](TfFormat_RecortarColunas *dialog) {
                dialog->SpinEdit_Start->setValue(3);
                dialog->SpinEdit_Size->setValue(7);
            },
            true);
        QVERIFY(RunRecortarColunas(&editor, nullptr));
    } else {
        TSaveDialogCSV saveDialog(nullptr);
        QVERIFY(GerarArquivoCSV(&editor, nullptr, saveDialog));
        QCOMPARE(test::readBytes(csvPath), encodeText(joinLines(CsvLines(expected))));
        QCOMPARE(editor.toPlainText(), before);
        return;
    }
    QCOMPARE(editorText(&editor), joinEditorLines(expected));
    QCOMPARE(changed.size(), 1);
    editor.undo();
    QVERIFY(editor.toPlainText() == before);
    editor.undo();
    QVERIFY(editor.toPlainText() == original.join(u'\n') + u'\n');
}

BREVNOTE_TEST_WIDGETS_MAIN(TestTextToolsDialogs)
#include "tst_texttoolsdialogs.moc"
