#include "modalrunner.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"

#include "app/mainwindow.h"
#include "util/core/textcodec.h"
#include "util/ui/userdialogs.h"
#include "web/browserdocument.h"
#include "web/htmldialog.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>

using namespace brevnote;
using brevnote::test::ScriptedDialogs;
using brevnote::test::shownDialog;
using brevnote::test::whileShown;

namespace {

constexpr int kLoadMs = 30000;

const QString kCopiedMessage = QStringLiteral("Conteúdo copiado para a memória.\r\n"
                                              "\r\n"
                                              "Este conteúdo poderá ser colado\r\n"
                                              "em uma planilha eletrônica Excel\r\n"
                                              "ou compatível.\r\n");

const QString kPage = QStringLiteral("<html><head><title>Pagina</title></head>\r\n"
                                     "<body><h1>Olá</h1></body></html>");

template<class T> T *child(const QObject *parent, const char *name) {
    auto *found = parent->findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

void trigger(const TfHTMDialog *dialog, const char *action) {
    child<QAction>(dialog, action)->trigger();
}

bool pageShown(const TfHTMDialog *dialog, const QString &title) {
    return dialog->webBrowser() && dialog->webBrowser()->title() == title;
}

} // namespace

class TestHtmDialog : public QObject {
    Q_OBJECT

private slots:
    void executeConfiguresTheDialog_data();
    void executeConfiguresTheDialog();
    void temporaryPageGoneAfterClosing_data();
    void temporaryPageGoneAfterClosing();
    void pageFileHoldsTheBytesOfItsLines_data();
    void pageFileHoldsTheBytesOfItsLines();
    void escapeClosesOnlyWithCancel();
    void copiarHtmlPutsThePageOnTheClipboard();
    void salvarWritesThePage();
    void imprimirPreviewsWithoutAsking();
    void commandsBeforeAnyPage();
    void documentThatDoesNotAnswerInTime();
    void browserKeepsPageAndAddress();
};

void TestHtmDialog::executeConfiguresTheDialog_data() {
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<bool>("showCancel");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no suffix") << QString() << false << false << QStringLiteral("Brevnote");
    QTest::newRow("suffix, Cancel, maximised")
        << QStringLiteral("Agrupar") << true << true << QStringLiteral("Brevnote :: Agrupar");
}

void TestHtmDialog::executeConfiguresTheDialog() {
    QFETCH(QString, suffix);
    QFETCH(bool, maximized);
    QFETCH(bool, showCancel);
    QFETCH(QString, caption);
    TfHTMDialog owner;
    QString seenCaption;
    bool cancelShown = !showCancel;
    bool buttonsShown = maximized;
    bool wasMaximized = !maximized;
    bool addressShown = true;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        seenCaption = dialog->windowTitle();
        cancelShown = !child<QPushButton>(dialog, "BitBtn_Cancel")->isHidden();
        buttonsShown = child<QWidget>(dialog, "Panel_Buttons")->isVisible();
        wasMaximized = dialog->windowState() & Qt::WindowMaximized;
        addressShown = child<QWidget>(dialog, "Panel_URL")->isVisible();
        child<QPushButton>(dialog, "BitBtn_Ok")->click();
    });
    const int result = owner.Execute(QStringLiteral("about:blank"), maximized, showCancel, suffix);
    QCOMPARE(seenCaption, caption);
    QCOMPARE(cancelShown, showCancel);
    QCOMPARE(buttonsShown, !maximized);
    QCOMPARE(wasMaximized, maximized);
    QVERIFY(!addressShown);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!owner.isVisible());
    QVERIFY(owner.findChildren<TfHTMDialog *>().isEmpty()); // destroyed
    QCOMPARE(shownDialog<TfHTMDialog>(), nullptr);
}

void TestHtmDialog::temporaryPageGoneAfterClosing_data() {
    QTest::addColumn<bool>("okButton");
    QTest::addColumn<int>("result");
    QTest::newRow("OK button") << true << int(QDialog::Accepted);
    QTest::newRow("close button") << false << int(QDialog::Rejected);
}

void TestHtmDialog::temporaryPageGoneAfterClosing() {
    QFETCH(bool, okButton);
    QFETCH(int, result);
    TfHTMDialog owner;
    QString page;
    QByteArray bytes;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->webBrowser()->url().isEmpty(), kLoadMs);
        page = dialog->webBrowser()->url().toLocalFile();
        bytes = test::readBytes(page);
        if (okButton)
            child<QPushButton>(dialog, "BitBtn_Ok")->click();
        else
            dialog->close();
    });
    QCOMPARE(owner.LoadFromString(QStringLiteral("<p>a\nb"), false, false, QString()), result);
    QVERIFY(page.endsWith(QStringLiteral(".htm")));
    QCOMPARE(bytes, QByteArray("<p>a\r\nb\r\n"));
    QVERIFY(!QFileInfo::exists(page));
}

void TestHtmDialog::pageFileHoldsTheBytesOfItsLines_data() {
    QTest::addColumn<QString>("html");
    QTest::newRow("empty") << QString();
    QTest::newRow("one line break") << QStringLiteral("\r\n");
    QTest::newRow("every kind of break") << QStringLiteral("<p>a\r\nb\rc\n\n\rd\r");
    QTest::newRow("not Windows-1252") << QStringLiteral("<p>Ω\n");
}

// The page is written from the whole text at once; its file holds what its lines, each
// followed by CR LF, always gave.
void TestHtmDialog::pageFileHoldsTheBytesOfItsLines() {
    QFETCH(QString, html);
    TfHTMDialog owner;
    QByteArray bytes;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->webBrowser()->url().isEmpty(), kLoadMs);
        bytes = test::readBytes(dialog->webBrowser()->url().toLocalFile());
        dialog->close();
    });
    owner.LoadFromString(html, false, false, QString());
    QCOMPARE(bytes, encodeText(joinLines(splitLines(html))));
}

void TestHtmDialog::escapeClosesOnlyWithCancel() {
    TfHTMDialog owner;
    bool openAfterEscape = false;
    whileShown<TfHTMDialog>(
        [&](TfHTMDialog *dialog) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            openAfterEscape = dialog->isVisible();
        },
        QDialog::Accepted);
    QCOMPARE(owner.Execute(QStringLiteral("about:blank"), false, false, QString()),
             int(QDialog::Accepted));
    QVERIFY(openAfterEscape);

    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); },
                            QDialog::Accepted);
    QCOMPARE(owner.Execute(QStringLiteral("about:blank"), false, true, QString()),
             int(QDialog::Rejected));
}

void TestHtmDialog::copiarHtmlPutsThePageOnTheClipboard() {
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers << IDOK;
    QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
    TfHTMDialog owner;
    QWidget *copiedFrom = nullptr;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(pageShown(dialog, QStringLiteral("Pagina")), kLoadMs);
        copiedFrom = dialog;
        trigger(dialog, "CopiarHTML1");
    });
    owner.LoadFromString(kPage, false, false, QString());
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.contains(QStringLiteral("<h1>Olá</h1>")), qPrintable(copied));
    QVERIFY(copied.contains(QStringLiteral("<title>Pagina</title>")));
    QVERIFY(copied.endsWith(QStringLiteral("</html>\r\n")));
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    QCOMPARE(dialogs.messageBoxes.at(0).text, kCopiedMessage);
    QCOMPARE(dialogs.messageBoxes.at(0).caption, QStringLiteral("Brevnote"));
    QCOMPARE(dialogs.messageBoxes.at(0).style, MB_ICONINFORMATION);
    QCOMPARE(dialogs.messageBoxes.at(0).owner, copiedFrom);
}

void TestHtmDialog::salvarWritesThePage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("salva.htm"));
    const QString unwritable = test::unwritablePath(dir, QStringLiteral("x.htm"));
    ScriptedDialogs dialogs;
    const QString pattern = dir.filePath(QStringLiteral("*.htm"));
    dialogs.fileNames << saved << QString() << unwritable << pattern;
    dialogs.messageBoxAnswers << IDOK << IDOK;
    TfHTMDialog owner;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(pageShown(dialog, QStringLiteral("Pagina")), kLoadMs);
        trigger(dialog, "Salvar1"); // saved
        trigger(dialog, "Salvar1"); // cancelled
        trigger(dialog, "Salvar1"); // cannot be created
        trigger(dialog, "Salvar1"); // the pattern accepted unchanged
    });
    owner.LoadFromString(kPage, false, false, QString());

    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString proposal = QDir(desktop).filePath(QStringLiteral("*.htm"));
    QCOMPARE(dialogs.fileDialogFolders, QStringList({proposal, proposal, proposal, proposal}));
    QCOMPARE(dialogs.fileDialogFilters.value(0), QStringLiteral("HTML files|*.htm*"));
    const QString text = decodeText(test::readBytes(saved));
    QVERIFY2(text.contains(QStringLiteral("<h1>Olá</h1>")), qPrintable(text));
    QCOMPARE(dialogs.messageBoxes.size(), 2);
    QCOMPARE(dialogs.messageBoxes.at(0).text, QStringLiteral("Salvo em:\r") + saved);
    QCOMPARE(dialogs.messageBoxes.at(1).text,
             QStringLiteral("Não foi possível salvar o arquivo\r") + pattern);
    QVERIFY(!QFileInfo::exists(pattern));
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("Cannot create file ") + unwritable});
}

void TestHtmDialog::imprimirPreviewsWithoutAsking() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ScriptedDialogs dialogs; // a print dialog would end the test program
    TfHTMDialog owner;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(pageShown(dialog, QStringLiteral("Pagina")), kLoadMs);
        trigger(dialog, "Imprimir1");
        QCOMPARE(dialogs.printPreviews, 1);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        dialogs.lastPrintPreviewPaint(&printer);
    });
    owner.LoadFromString(kPage, false, false, QString());
    QVERIFY(test::readBytes(dir.filePath(QStringLiteral("page.pdf"))).startsWith("%PDF"));
    QVERIFY(dialogs.errors.isEmpty());
}

// The "Browser" dialog before its first address: harmless empty results.
void TestHtmDialog::commandsBeforeAnyPage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("vazia.htm"));
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers << IDOK << IDOK;
    dialogs.fileNames << saved;
    QGuiApplication::clipboard()->setText(QStringLiteral("stale"));
    TfHTMDialog dialog;
    dialog.ShowAddressBar();

    trigger(&dialog, "CopiarHTML1");
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    QCOMPARE(dialogs.messageBoxes.at(0).text, kCopiedMessage);

    trigger(&dialog, "Salvar1");
    QVERIFY(QFileInfo::exists(saved));
    QCOMPARE(test::readBytes(saved), QByteArray());
    QCOMPARE(dialogs.messageBoxes.at(1).text, QStringLiteral("Salvo em:\r") + saved);

    trigger(&dialog, "Imprimir1");
    QCOMPARE(dialogs.printPreviews, 1);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("empty.pdf")));
    dialogs.lastPrintPreviewPaint(&printer);
    QVERIFY(test::readBytes(dir.filePath(QStringLiteral("empty.pdf"))).startsWith("%PDF"));
    QVERIFY(dialog.webBrowser() == nullptr); // still no web view
}

void TestHtmDialog::documentThatDoesNotAnswerInTime() {
    QWebEngineView view;
    view.setHtml(QStringLiteral("<p>x</p>"));
    QTRY_VERIFY_WITH_TIMEOUT(!view.url().isEmpty(), kLoadMs);
    QStringList lines;
    QVERIFY(BrowserDocumentHTML(&view, &lines));
    // A page busy in a script cannot answer: the wait gives up.
    view.page()->runJavaScript(
        QStringLiteral("const t = Date.now(); while (Date.now() - t < 3000) {}"));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!BrowserDocumentHTML(&view, &lines, 300));
    QVERIFY(clock.elapsed() < 2500);
    QCOMPARE(lines.size(), 1);
    QTest::qWait(3500); // the late answer arrives after the wait gave up, harmlessly
    QVERIFY(BrowserDocumentHTML(&view, &lines));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(1).contains(QStringLiteral("<p>x</p>")));
}

void TestHtmDialog::browserKeepsPageAndAddress() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString page = dir.filePath(QStringLiteral("pagina.htm"));
    writeLinesFile(page, {kPage});
    TfMaster master(false);
    master.timer()->stop();

    TfHTMDialog *first = nullptr;
    bool openAfterEnter = false;
    QString caption;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        first = dialog;
        caption = dialog->windowTitle();
        QVERIFY(child<QWidget>(dialog, "Panel_URL")->isVisible());
        auto *edit = child<QLineEdit>(dialog, "Edit_URL");
        edit->setText(page);
        QTest::keyClick(edit, Qt::Key_Return);
        openAfterEnter = dialog->isVisible();
        QTRY_VERIFY_WITH_TIMEOUT(pageShown(dialog, QStringLiteral("Pagina")), kLoadMs);
        child<QPushButton>(dialog, "BitBtn_Ok")->click();
    });
    master.Browser1Click();
    QVERIFY(openAfterEnter);
    QCOMPARE(caption, QStringLiteral("HTMDialog"));

    TfHTMDialog *second = nullptr;
    QString address;
    QUrl shown;
    whileShown<TfHTMDialog>([&](TfHTMDialog *dialog) {
        second = dialog;
        address = child<QLineEdit>(dialog, "Edit_URL")->text();
        shown = dialog->webBrowser()->url();
        dialog->close();
    });
    master.Browser1Click();
    QVERIFY(first && first == second);
    QCOMPARE(address, page);
    QCOMPARE(shown, QUrl::fromLocalFile(page));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestHtmDialog)
#include "tst_htmldialog.moc"
