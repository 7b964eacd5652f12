#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "support/scripteddialogs.h"

#include "app/mainwindow.h"
#include "util/ui/userdialogs.h"

#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::action;
using brevnote::test::MasterFixture;
using brevnote::test::readBytes;
using brevnote::test::ScriptedDialogs;
using brevnote::test::writeBytes;

namespace {

// Prints into a PDF file instead of a printer, recording the job's title.
class PdfPrintDialogs final : public UserDialogs {
public:
    explicit PdfPrintDialogs(QString pdfPath)
        : m_pdfPath(std::move(pdfPath)) {
        setUserDialogs(this);
    }
    ~PdfPrintDialogs() override { setUserDialogs(nullptr); }
    PdfPrintDialogs(const PdfPrintDialogs &) = delete;
    PdfPrintDialogs &operator=(const PdfPrintDialogs &) = delete;

    int messageBox(QWidget *, const QString &, const QString &, int) override { return IDOK; }
    void errorBox(QWidget *, const QString &message) override { errors.append(message); }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         bool) override {
        return {};
    }
    bool chooseFont(QWidget *, const QFont &, QFont *) override { return false; }
    bool choosePrinter(QWidget *, QPrinter *printer) override {
        docName = printer->docName();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_pdfPath);
        return true;
    }

    QString docName;
    QStringList errors;

private:
    QString m_pdfPath;
};

} // namespace

// The commands on the pad's text: clipboard, files, font and printing.
class TestMainWindowCommands : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cutAndCopyWithoutSelectionTakeEverything_data();
    void cutAndCopyWithoutSelectionTakeEverything();
    void copyWithSelectionTakesTheSelection();
    void pasteReplacesTheSelection();
    void abrirReplacesTextThroughTheCodec();
    void abrirReadsRtfOnlyWithPlainTextOff();
    void abrirFailureKeepsText_data();
    void abrirFailureKeepsText();
    void abrirCancelledChangesNothing();
    void salvarWritesPlainTextAndReplaces();
    void salvarCancelledStillSwitchesPlainText();
    void salvarFailureIsReported();
    void openThenSaveKeepsTheFile();
    void saveKeepsTheEncodingOfTheOpenedFile_data();
    void saveKeepsTheEncodingOfTheOpenedFile();
    void abrirIsOneUndoStep();
    void fontDialogSetsTheFont();
    void printUsesTheTitleAsJobName();
    void pageCommandsWithoutTheWebLibrary_data();
    void pageCommandsWithoutTheWebLibrary();
};

void TestMainWindowCommands::init() {
    QGuiApplication::clipboard()->clear();
}

void TestMainWindowCommands::cutAndCopyWithoutSelectionTakeEverything_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("copy") << u"ToolButton_Copy"_s << u"abc\ndéf"_s;
    QTest::newRow("cut empties the pad") << u"ToolButton_Cut"_s << u""_s;
}

void TestMainWindowCommands::cutAndCopyWithoutSelectionTakeEverything() {
    QFETCH(QString, button);
    QFETCH(QString, textAfter);
    MasterFixture fixture;
    fixture.edit()->setPlainText(QStringLiteral("abc\ndéf"));
    QVERIFY(!fixture.edit()->textCursor().hasSelection());
    action(*fixture.master, button.toLatin1().constData())->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc\ndéf"));
    QCOMPARE(fixture.edit()->toPlainText(), textAfter);
}

void TestMainWindowCommands::copyWithSelectionTakesTheSelection() {
    MasterFixture fixture;
    QPlainTextEdit *edit = fixture.edit();
    edit->setPlainText(QStringLiteral("abc def"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    action(*fixture.master, "Recortar1")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("def"));
    QCOMPARE(edit->toPlainText(), QStringLiteral("abc "));
}

void TestMainWindowCommands::pasteReplacesTheSelection() {
    MasterFixture fixture;
    QPlainTextEdit *edit = fixture.edit();
    edit->setPlainText(QStringLiteral("abc def"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
    QGuiApplication::clipboard()->setText(QStringLiteral("xyz\n1"));
    action(*fixture.master, "Colar1")->trigger();
    QCOMPARE(edit->toPlainText(), QStringLiteral("xyz\n1 def"));
}

void TestMainWindowCommands::abrirReplacesTextThroughTheCodec() {
    MasterFixture fixture;
    const QString path = fixture.scratchPath(QStringLiteral("acentos.txt"));
    QVERIFY(writeBytes(path, QByteArray("S\xC3\xA1"
                                        "bado\r\na\xC3\xA7\xC3\xA3o\r\n\r\nfim\r\n")));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QCOMPARE(dialogs.fileDialogFilters, QStringList({u"TXT files|*.txt"_s}));
    QVERIFY(dialogs.errors.isEmpty());
    // The boot banner is gone with the rest; the final break starts no further line.
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral("Sábado\nação\n\nfim"));
}

void TestMainWindowCommands::abrirReadsRtfOnlyWithPlainTextOff() {
    MasterFixture fixture;
    const QString path = fixture.scratchPath(QStringLiteral("doc.txt"));
    QVERIFY(
        writeBytes(path, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Ol\\'e1\\par mundo\\par }"));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QVERIFY(fixture.edit()->toPlainText().startsWith(QStringLiteral("{\\rtf1")));
    fixture.master->setPlainTextMode(false);
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral("Olá\nmundo"));
}

void TestMainWindowCommands::abrirFailureKeepsText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // written to the file when not empty
    QTest::addColumn<QString>("message");  // %1 is the path; empty: any text naming it
    QTest::newRow("nul bytes") << u"binario.txt"_s << QByteArray("ab\0cd", 5)
                               << u"O arquivo \"%1\" não é um arquivo de texto."_s;
    QTest::newRow("missing file") << u"missing.txt"_s << QByteArray() << u""_s;
    QTest::newRow("below a regular file") << u"afile.txt/x.txt"_s << QByteArray() << u""_s;
}

void TestMainWindowCommands::abrirFailureKeepsText() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    MasterFixture fixture;
    QVERIFY(writeBytes(fixture.scratchPath(QStringLiteral("afile.txt")), "x"));
    const QString path = fixture.scratchPath(name);
    if (!bytes.isEmpty())
        QVERIFY(writeBytes(path, bytes));
    fixture.edit()->setPlainText(QStringLiteral("texto que fica"));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    if (message.isEmpty())
        QVERIFY2(dialogs.errors.first().contains(path), qPrintable(dialogs.errors.first()));
    else
        QCOMPARE(dialogs.errors.first(), message.arg(path));
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral("texto que fica"));
}

void TestMainWindowCommands::abrirCancelledChangesNothing() {
    MasterFixture fixture;
    fixture.edit()->setPlainText(QStringLiteral("antes"));
    ScriptedDialogs dialogs;
    dialogs.fileNames << QString();
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral("antes"));
    QVERIFY(dialogs.errors.isEmpty());
}

void TestMainWindowCommands::salvarWritesPlainTextAndReplaces() {
    MasterFixture fixture;
    fixture.master->setPlainTextMode(false);
    const QString path = fixture.scratchPath(QStringLiteral("salvo.txt"));
    QVERIFY(writeBytes(path, "conteúdo antigo que é mais longo"));
    fixture.edit()->setPlainText(QStringLiteral("ação\n\u00A0x\n"));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path;
    action(*fixture.master, "ToolButton_Salvar")->trigger();
    QVERIFY(dialogs.errors.isEmpty());
    QVERIFY(dialogs.messageBoxes.isEmpty()); // replaced without asking
    QCOMPARE(dialogs.fileDialogFilters, QStringList({u"TXT files|*.txt"_s}));
    QVERIFY(fixture.master->plainTextMode());
    // Three lines, the last one empty, each ended by CR LF; the non-breaking space is kept.
    QCOMPARE(readBytes(path), QByteArray("a\xE7\xE3o\r\n\xA0x\r\n\r\n"));
}

void TestMainWindowCommands::salvarCancelledStillSwitchesPlainText() {
    MasterFixture fixture;
    fixture.master->setPlainTextMode(false);
    ScriptedDialogs dialogs;
    dialogs.fileNames << QString();
    action(*fixture.master, "ToolButton_Salvar")->trigger();
    QVERIFY(fixture.master->plainTextMode());
    QVERIFY(dialogs.errors.isEmpty());
}

void TestMainWindowCommands::salvarFailureIsReported() {
    MasterFixture fixture;
    QVERIFY(writeBytes(fixture.scratchPath(QStringLiteral("afile")), "x"));
    const QString path = fixture.scratchPath(QStringLiteral("afile/salvo.txt"));
    fixture.edit()->setPlainText(QStringLiteral("texto"));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path;
    action(*fixture.master, "ToolButton_Salvar")->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(dialogs.errors.first().contains(path), qPrintable(dialogs.errors.first()));
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral("texto"));
}

void TestMainWindowCommands::openThenSaveKeepsTheFile() {
    MasterFixture fixture;
    const QString path = fixture.scratchPath(QStringLiteral("volta.txt"));
    const QByteArray bytes("linha 1\r\n\r\nlinha 3 \xE9\r\n");
    QVERIFY(writeBytes(path, bytes));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    action(*fixture.master, "ToolButton_Salvar")->trigger();
    QCOMPARE(readBytes(path), bytes);
}

void TestMainWindowCommands::saveKeepsTheEncodingOfTheOpenedFile_data() {
    QTest::addColumn<QByteArray>("opened");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray bom("\xEF\xBB\xBF");
    QTest::newRow("UTF-8 stays UTF-8") << QByteArray("a\xC3\xA7\xC3\xA3o\r\n") << QString()
                                       << QByteArray("a\xC3\xA7\xC3\xA3o\r\n");
    QTest::newRow("UTF-8 with BOM keeps it") << bom + "a\xC3\xA7\xC3\xA3o\r\n"
                                             << QString() << bom + "a\xC3\xA7\xC3\xA3o\r\n";
    QTest::newRow("Windows-1252 stays")
        << QByteArray("a\xE7\xE3o\r\n") << QString() << QByteArray("a\xE7\xE3o\r\n");
    QTest::newRow("Windows-1252 that no longer fits")
        << QByteArray("a\xE7\xE3o\r\n") << QStringLiteral("\u03A9")
        << bom + "\xCE\xA9"
                 "a\xC3\xA7\xC3\xA3o\r\n";
    QTest::newRow("plain ASCII is valid UTF-8") << QByteArray("abc\r\n") << QStringLiteral("\u00E9")
                                                << QByteArray("\xC3\xA9"
                                                              "abc\r\n");
}

void TestMainWindowCommands::saveKeepsTheEncodingOfTheOpenedFile() {
    QFETCH(QByteArray, opened);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    MasterFixture fixture;
    const QString path = fixture.scratchPath(QStringLiteral("texto.txt"));
    QVERIFY(writeBytes(path, opened));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QTextCursor cursor(fixture.edit()->document());
    cursor.insertText(typed);
    action(*fixture.master, "ToolButton_Salvar")->trigger();
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(readBytes(path), saved);
}

void TestMainWindowCommands::abrirIsOneUndoStep() {
    MasterFixture fixture;
    QPlainTextEdit *edit = fixture.edit();
    edit->setPlainText(QStringLiteral("colado antes"));
    const QString path = fixture.scratchPath(QStringLiteral("novo.txt"));
    QVERIFY(writeBytes(path, QByteArray("linha 1\r\nlinha 2\r\n")));
    ScriptedDialogs dialogs;
    dialogs.fileNames << path;
    action(*fixture.master, "ToolButton_Abrir")->trigger();
    QCOMPARE(edit->toPlainText(), QStringLiteral("linha 1\nlinha 2"));
    QCOMPARE(edit->textCursor().position(), 0);
    edit->undo();
    QCOMPARE(edit->toPlainText(), QStringLiteral("colado antes"));
    edit->redo();
    QCOMPARE(edit->toPlainText(), QStringLiteral("linha 1\nlinha 2"));
}

void TestMainWindowCommands::fontDialogSetsTheFont() {
    MasterFixture fixture;
    ScriptedDialogs dialogs;
    const QFont before = fixture.edit()->font();
    QVERIFY(before.bold());
    // A family the system has, fixed-width, in the pad's style: the dialog opens on it.
    QVERIFY2(QFontDatabase::hasFamily(before.family()), qPrintable(before.family()));
    if (!QFontDatabase::hasFamily(QStringLiteral("Courier New")))
        QCOMPARE(before.family(),
                 QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family());
    QCOMPARE(before.pointSize(), 12);
    dialogs.fontAnswers << false << true;
    dialogs.fontToChoose = QFont(QStringLiteral("Monospace"), 20);
    action(*fixture.master, "ToolButton_Font")->trigger();
    QCOMPARE(fixture.edit()->font(), before);
    QCOMPARE(dialogs.fontDialogInitialFonts.value(0), before);
    action(*fixture.master, "ToolButton_Font")->trigger();
    QCOMPARE(fixture.edit()->font().pointSize(), 20);
}

void TestMainWindowCommands::printUsesTheTitleAsJobName() {
    MasterFixture fixture;
    const QString pdf = fixture.scratchPath(QStringLiteral("impresso.pdf"));
    PdfPrintDialogs dialogs(pdf);
    action(*fixture.master, "ToolButton_Printer")->trigger();
    QCOMPARE(dialogs.docName, QStringLiteral("Brevnote"));
    QVERIFY(QFileInfo(pdf).size() > 0);
}

void TestMainWindowCommands::pageCommandsWithoutTheWebLibrary_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("Browser") << u"Browser1"_s;
    QTest::newRow("Agrupar") << u"Agrupar1"_s;
}

// The command ends with the reason in the error box; the pad keeps its text and goes on.
void TestMainWindowCommands::pageCommandsWithoutTheWebLibrary() {
    QFETCH(QString, command);
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QString missing = empty.filePath(u"libbrevnote_web.so"_s);
    const test::ScopedEnvironment module("BREVNOTE_WEB_MODULE", QFile::encodeName(missing));
    ScriptedDialogs dialogs;
    MasterFixture fixture;
    fixture.edit()->setPlainText(u"b\na\nb"_s);
    action(*fixture.master, command.toLatin1().constData())->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(
        dialogs.errors.at(0).startsWith(
            u"As páginas web não estão disponíveis: não foi possível carregar\r\n"_s + missing),
        qPrintable(dialogs.errors.at(0)));
    QVERIFY(fixture.master->findChildren<QDialog *>(u"BrowserDialog"_s).isEmpty());
    QCOMPARE(fixture.edit()->toPlainText(), u"b\na\nb"_s);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestMainWindowCommands)
#include "tst_mainwindowcommands.moc"
