#include "modalrunner.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"

#include "util/core/apperror.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "util/core/textcodec.h"
#include "util/ui/userdialogs.h"
#include "web/htmleditor.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

using namespace brevnote;
using brevnote::test::ScriptedDialogs;
using brevnote::test::whileShown;

namespace {

const QString kQuestion = QStringLiteral("O texto possui modificações, deseja sair sem salvar?");
constexpr int kNoDefaultQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;

} // namespace

class TestHtmlEditor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void salvarFollowsTheModifiedFlag();
    void cancelAsksOnlyAfterAnEdit_data();
    void cancelAsksOnlyAfterAnEdit();
    void savingRunsBothSteps_data();
    void savingRunsBothSteps();
    void captionIsTheLowerCasedName();
    void unreadableFileIsNotShown();
    void fontIsKeptForTheNextUse();
    void damagedFontSettingKeepsTheDefault();
    void previewShowsTheMemoFromTmp();

private:
    QString writeFile(const QString &name, const QStringList &lines);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHtmlEditor::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile::remove(TfHTMLEdit::settingsFileName());
}

QString TestHtmlEditor::writeFile(const QString &name, const QStringList &lines) {
    const QString path = m_dir->filePath(name);
    writeLinesFile(path, lines);
    return path;
}

void TestHtmlEditor::salvarFollowsTheModifiedFlag() {
    const QString first = writeFile(QStringLiteral("a.htm"), {QStringLiteral("<p>a</p>")});
    const QString other = writeFile(QStringLiteral("b.htm"), {QStringLiteral("<p>b</p>")});
    ScriptedDialogs dialogs;
    dialogs.fileNames << other;
    dialogs.messageBoxAnswers << IDYES;
    TfHTMLEdit editor;
    QList<bool> enabled;
    QString memoAfterArquivo;
    whileShown<TfHTMLEdit>([&](TfHTMLEdit *shown) {
        enabled << shown->saveButton()->isEnabled();
        QTest::keyClicks(shown->memo(), QStringLiteral("x"));
        enabled << shown->saveButton()->isEnabled();
        shown->ToolButton1Click();
        enabled << shown->saveButton()->isEnabled();
        memoAfterArquivo = shown->memo()->toPlainText();
        QTest::keyClick(shown, Qt::Key_Escape); // unmodified again: no question
    });
    editor.LoadFromFile(first);
    QCOMPARE(enabled, QList<bool>({false, true, false}));
    QCOMPARE(memoAfterArquivo, QStringLiteral("<p>b</p>"));
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QVERIFY(dialogs.messageBoxes.isEmpty());
}

void TestHtmlEditor::cancelAsksOnlyAfterAnEdit_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("questions");
    QTest::newRow("no edit: closes at once") << false << QList<int>{} << 0;
    QTest::newRow("edit, Yes: closes") << true << QList<int>{IDYES} << 1;
    QTest::newRow("edit, No then Yes") << true << QList<int>{IDNO, IDYES} << 2;
}

void TestHtmlEditor::cancelAsksOnlyAfterAnEdit() {
    QFETCH(bool, edit);
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    const QString file = writeFile(QStringLiteral("a.htm"), {QStringLiteral("<p>a</p>")});
    ScriptedDialogs dialogs;
    for (const int answer : answers)
        dialogs.messageBoxAnswers << answer;
    TfHTMLEdit editor;
    QList<bool> openAfterCancel;
    QString textAfterNo;
    whileShown<TfHTMLEdit>([&](TfHTMLEdit *shown) {
        if (edit)
            QTest::keyClicks(shown->memo(), QStringLiteral("x"));
        for (int i = 0; i < qMax(1, int(answers.size())); ++i) {
            QTest::mouseClick(shown->findChild<QPushButton *>(QStringLiteral("BitBtn_Cancelar")),
                              Qt::LeftButton);
            openAfterCancel << shown->isVisible();
            if (shown->isVisible())
                textAfterNo = shown->memo()->toPlainText();
        }
    });
    editor.LoadFromFile(file);
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QCOMPARE(dialogs.messageBoxes.size(), questions);
    for (const auto &box : dialogs.messageBoxes) {
        QCOMPARE(box.text, kQuestion);
        QCOMPARE(box.style, kNoDefaultQuestion);
        QCOMPARE(box.owner, nullptr);
    }
    QCOMPARE(openAfterCancel.last(), false);
    if (questions == 2) {
        QCOMPARE(openAfterCancel.first(), true);
        QCOMPARE(textAfterNo, QStringLiteral("x<p>a</p>"));
    }
    QCOMPARE(test::readBytes(file), QByteArray("<p>a</p>\r\n")); // nothing saved
}

void TestHtmlEditor::savingRunsBothSteps_data() {
    QTest::addColumn<bool>("useArquivo");
    QTest::addColumn<bool>("cancelSecond");
    QTest::newRow("started file only") << false << false;
    QTest::newRow("loaded file, then the started file") << true << false;
    QTest::newRow("second dialog cancelled keeps the editor open") << true << true;
}

void TestHtmlEditor::savingRunsBothSteps() {
    QFETCH(bool, useArquivo);
    QFETCH(bool, cancelSecond);
    const QString started = writeFile(QStringLiteral("Inicio.htm"), {QStringLiteral("<p>a</p>")});
    const QString loaded = writeFile(QStringLiteral("outro.htm"), {QStringLiteral("<p>b</p>")});
    const QString target = m_dir->filePath(QStringLiteral("destino.htm"));
    ScriptedDialogs dialogs;
    if (useArquivo)
        dialogs.fileNames << loaded << loaded << (cancelSecond ? QString() : target);
    else
        dialogs.fileNames << target;
    if (cancelSecond)
        dialogs.messageBoxAnswers << IDYES;
    TfHTMLEdit editor;
    bool openAfterSalvar = false;
    whileShown<TfHTMLEdit>([&](TfHTMLEdit *shown) {
        if (useArquivo)
            shown->ToolButton1Click();
        QTest::keyClicks(shown->memo(), QStringLiteral("Ç"));
        shown->saveButton()->click();
        openAfterSalvar = shown->isVisible();
        if (openAfterSalvar)
            shown->reject();
    });
    editor.LoadFromFile(started);

    // The open dialog's folder first, when "Arquivo" was used; then the save proposals.
    QStringList proposals = dialogs.fileDialogFolders;
    if (useArquivo)
        proposals.removeFirst();
    QCOMPARE(proposals, useArquivo ? QStringList({loaded, started}) : QStringList{started});
    QCOMPARE(dialogs.fileDialogFilters.last(), QStringLiteral("HTML Files|*.htm*"));
    const QByteArray written = useArquivo ? QByteArray("\xC7<p>b</p>\r\n") : "\xC7<p>a</p>\r\n";
    if (useArquivo)
        QCOMPARE(test::readBytes(loaded), written);
    QCOMPARE(openAfterSalvar, cancelSecond);
    QCOMPARE(editor.result(), int(cancelSecond ? QDialog::Rejected : QDialog::Accepted));
    if (!cancelSecond)
        QCOMPARE(test::readBytes(target), written);
    else
        QVERIFY(!QFile::exists(target));
}

void TestHtmlEditor::captionIsTheLowerCasedName() {
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("Docs")));
    const QString file =
        writeFile(QStringLiteral("Docs/Historico.HTM"), {QStringLiteral("<p>h</p>")});
    TfHTMLEdit editor;
    QCOMPARE(editor.windowTitle(), QStringLiteral("HTMLEdit"));
    QString caption;
    QString focused;
    whileShown<TfHTMLEdit>([&](TfHTMLEdit *shown) {
        caption = shown->windowTitle();
        focused = shown->pageControl()->currentWidget()->objectName();
    });
    editor.LoadFromFile(file);
    QCOMPARE(caption, QStringLiteral("HTMLEditor - ") + file.toLower());
    QCOMPARE(focused, QStringLiteral("TabSheet_Editor"));
    QCOMPARE(editor.EditedFile(), file);
}

void TestHtmlEditor::unreadableFileIsNotShown() {
    TfHTMLEdit editor;
    bool shown = false;
    whileShown<TfHTMLEdit>([&](TfHTMLEdit *) { shown = true; });
    QVERIFY_THROWS_EXCEPTION(AppError, editor.LoadFromFile(m_dir->filePath("missing.htm")));
    QCoreApplication::processEvents();
    QVERIFY(!shown);
}

void TestHtmlEditor::fontIsKeptForTheNextUse() {
    ScriptedDialogs dialogs;
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSize(15);
    chosen.setBold(true);
    dialogs.fontToChoose = chosen;
    dialogs.fontAnswers << true << false;
    {
        TfHTMLEdit editor;
        editor.ToolButton3Click();
        QCOMPARE(editor.memo()->font().family(), chosen.family());
        editor.ToolButton3Click(); // cancelled: nothing changes
        QCOMPARE(editor.memo()->font().pointSize(), 15);
    }
    const IniFile settings(TfHTMLEdit::settingsFileName());
    QVERIFY(settings.valueExists(QStringLiteral("TfHTMLEdit"), QStringLiteral("Fonte")));
    const QString text = settings.readString(QStringLiteral("TfHTMLEdit"), QStringLiteral("Font"));
    QVERIFY2(text.startsWith(QStringLiteral(";Name=DejaVu Sans Mono;")), qPrintable(text));

    TfHTMLEdit next;
    QCOMPARE(next.memo()->font().family(), chosen.family());
    QCOMPARE(next.memo()->font().pointSize(), 15);
    QVERIFY(next.memo()->font().bold());
}

void TestHtmlEditor::damagedFontSettingKeepsTheDefault() {
    IniFile settings(TfHTMLEdit::settingsFileName());
    settings.writeString(QStringLiteral("TfHTMLEdit"), QStringLiteral("Font"),
                         QStringLiteral(";Name=Serif;Size=grande"));
    TfHTMLEdit withoutFonte;
    const QFont standard = withoutFonte.memo()->font();
    settings.writeString(QStringLiteral("TfHTMLEdit"), QStringLiteral("Fonte"),
                         QStringLiteral("1"));
    TfHTMLEdit damaged;
    QCOMPARE(damaged.memo()->font(), standard);
}

void TestHtmlEditor::previewShowsTheMemoFromTmp() {
    const QString file = writeFile(QStringLiteral("a.htm"), {QStringLiteral("<p>a</p>")});
    TfHTMLEdit editor;
    QUrl shownUrl;
    QByteArray page;
    whileShown<TfHTMLEdit>(
        [&](TfHTMLEdit *shown) {
            shown->memo()->setPlainText(QStringLiteral("<img src=\"x.png\">\n<p>novo</p>"));
            shown->pageControl()->setCurrentIndex(1);
            QVERIFY(shown->previewBrowser());
            QTRY_VERIFY_WITH_TIMEOUT(!shown->previewBrowser()->url().isEmpty(), 30000);
            shownUrl = shown->previewBrowser()->url();
            page = test::readBytes(shownUrl.toLocalFile());
        },
        QDialog::Rejected);
    editor.LoadFromFile(file);
    QCOMPARE(
        QDir::cleanPath(shownUrl.toLocalFile()),
        QDir::cleanPath(platform::programFolder() + QStringLiteral("tmp/HTMLText2Browse.htm")));
    QCOMPARE(page, QByteArray("<img src=\"x.png\">\r\n<p>novo</p>\r\n"));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestHtmlEditor)
#include "tst_htmleditor.moc"
