#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"

#include "app/mainwindow.h"
#include "search/searchindexer.h"
#include "search/searchwindow.h"
#include "texttools/toolprogressdialog.h"
#include "util/core/clock.h"
#include "util/core/textcodec.h"
#include "util/ui/userdialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::action;
using brevnote::test::MasterFixture;

namespace {

const QString kOldDump = u"Brevnote20260310091500.txt"_s;

// Opens the search window from the menu item and waits until the dumps are indexed.
TfProcurar *openSearch(MasterFixture &fixture) {
    action(*fixture.master, "Procurar1")->trigger();
    auto *window = fixture.master->findChild<TfProcurar *>();
    // Nothing has been read yet: the thread has not run.
    if (!window || !window->statusLabel()->text().startsWith(u"Indexando… 0 de "_s))
        return nullptr;
    auto *service = fixture.master->findChild<SearchService *>();
    if (!QTest::qWaitFor([service] { return !service->indexing(); }, 20000))
        return nullptr;
    return window;
}

// Types the query and presses Enter, as a user does; true once the results are shown.
bool searchFor(TfProcurar *window, const QString &text) {
    QSignalSpy shown(window, &TfProcurar::resultsShown);
    window->searchBox()->clear();
    QTest::keyClicks(window->searchBox(), text);
    QTest::keyClick(window->searchBox(), Qt::Key_Return);
    return shown.wait(10000);
}

} // namespace

class TestMainWindowSearch : public QObject {
    Q_OBJECT

private slots:
    void searchFindsShowsAndMarks();
    void abrirNoBrevnoteIsOneUndoStep();
    void closingDumpFoundRightAfterItIsWritten_data();
    void closingDumpFoundRightAfterItIsWritten();
    void endingLeavesItsDumpToTheNextStart();
    void escapeCloses();
};

void TestMainWindowSearch::searchFindsShowsAndMarks() {
    MasterFixture fixture;
    writeLinesFile(fixture.dataFolder() + u'/' + kOldDump,
                   {u"Endereço novo:"_s, u"Rua das Acácias, 12"_s});
    TfProcurar *window = openSearch(fixture);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), u"Procurar nos textos salvos"_s);
    QCOMPARE(window->statusLabel()->text(), u"1 texto salvo no índice."_s);
    QVERIFY(window->isVisible());

    QVERIFY(searchFor(window, u"endereco acacias"_s));
    QCOMPARE(window->resultList()->count(), 1);
    QCOMPARE(window->statusLabel()->text(), u"1 texto encontrado."_s);
    auto *entry =
        qobject_cast<QLabel *>(window->resultList()->itemWidget(window->resultList()->item(0)));
    QVERIFY(entry);
    QVERIFY2(entry->text().startsWith(u"<b>10/03/2026 09:15:00</b>"_s), qPrintable(entry->text()));
    // The viewer holds the dump read-only with both words marked.
    QVERIFY(window->viewer()->isReadOnly());
    QCOMPARE(window->viewer()->toPlainText(), u"Endereço novo:\nRua das Acácias, 12"_s);
    QCOMPARE(window->viewer()->extraSelections().size(), 2);
    QCOMPARE(window->viewer()->extraSelections().at(1).cursor.selectedText(), u"Acácias"_s);

    QVERIFY(searchFor(window, u"inexistente"_s));
    QCOMPARE(window->resultList()->count(), 0);
    QCOMPARE(window->statusLabel()->text(), u"Nenhum texto encontrado."_s);
    QVERIFY(!window->openButton()->isEnabled());
}

void TestMainWindowSearch::abrirNoBrevnoteIsOneUndoStep() {
    MasterFixture fixture;
    writeLinesFile(fixture.dataFolder() + u'/' + kOldDump, {u"conta de luz"_s, u"vence dia 10"_s});
    QPlainTextEdit *pad = fixture.edit();
    const QString before = pad->toPlainText();
    TfProcurar *window = openSearch(fixture);
    QVERIFY(window);
    QVERIFY(searchFor(window, u"\"conta de luz\""_s));
    {
        // While a text tool works on the pad's text nothing else puts text in.
        test::ScriptedDialogs dialogs;
        dialogs.messageBoxAnswers.enqueue(IDOK);
        const ToolProgressDialog tool(fixture.master.get(), u"Ordenando..."_s,
                                      kProgressDialogLines + 1);
        QTest::mouseClick(window->openButton(), Qt::LeftButton);
        QCOMPARE(pad->toPlainText(), before);
        QCOMPARE(dialogs.messageBoxes.size(), 1);
    }
    QTest::mouseClick(window->openButton(), Qt::LeftButton);
    QCOMPARE(pad->toPlainText(), u"conta de luz\nvence dia 10"_s);

    pad->setFocus();
    QTest::keyClick(pad, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pad->toPlainText(), before);
}

void TestMainWindowSearch::closingDumpFoundRightAfterItIsWritten_data() {
    QTest::addColumn<bool>("indexStarted");
    QTest::newRow("index at work") << true;
    // The index starts a while after the program: its first pass finds the dump.
    QTest::newRow("index not started yet") << false;
}

void TestMainWindowSearch::closingDumpFoundRightAfterItIsWritten() {
    QFETCH(bool, indexStarted);
    MasterFixture fixture;
    fixture.edit()->setPlainText(u"orçamento da reforma"_s);
    TfProcurar *window = indexStarted ? openSearch(fixture) : nullptr;
    QCOMPARE(window != nullptr, indexStarted);
    {
        const ScopedFixedClock clock(QDateTime(QDate(2026, 12, 9), QTime(18, 30, 5)));
        fixture.master->SaveClosingDump();
    }
    if (!indexStarted) {
        QVERIFY(!fixture.master->findChild<SearchService *>());
        window = openSearch(fixture);
        QVERIFY(window);
    }
    QVERIFY(searchFor(window, u"orcamento"_s));
    QCOMPARE(window->results().size(), 1);
    QCOMPARE(window->results().first().caption, u"09/12/2026 18:30:05"_s);
}

// "Fechar" stops the index before the dump is written, so a large text does not hold the
// ending up; the index, started again, finds the dump.
void TestMainWindowSearch::endingLeavesItsDumpToTheNextStart() {
    MasterFixture fixture;
    fixture.edit()->setPlainText(u"orçamento da reforma"_s);
    TfProcurar *window = openSearch(fixture);
    QVERIFY(window);
    auto *service = fixture.master->findChild<SearchService *>();
    action(*fixture.master, "Fechar1")->trigger();
    QCOMPARE(fixture.terminateCalls, 1);
    QVERIFY(!service->started());

    action(*fixture.master, "Procurar1")->trigger();
    QVERIFY(service->started());
    QVERIFY(QTest::qWaitFor([service] { return !service->indexing(); }, 20000));
    QVERIFY(searchFor(window, u"orcamento"_s));
    QCOMPARE(window->results().size(), 1);
}

void TestMainWindowSearch::escapeCloses() {
    MasterFixture fixture;
    TfProcurar *window = openSearch(fixture);
    QVERIFY(window);
    QTest::keyClick(window->searchBox(), Qt::Key_Escape);
    QVERIFY(!window->isVisible());
    // The menu item shows the same window again.
    action(*fixture.master, "Procurar1")->trigger();
    QVERIFY(window->isVisible());
    QCOMPARE(fixture.master->findChildren<TfProcurar *>().size(), 1);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestMainWindowSearch)
#include "tst_mainwindowsearch.moc"
