#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "support/scripteddialogs.h"

#include "app/appsession.h"
#include "app/mainwindow.h"
#include "texttools/toolprogressdialog.h"
#include "util/core/clock.h"
#include "util/core/platform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <unistd.h>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::action;
using brevnote::test::MasterFixture;
using brevnote::test::readBytes;
using brevnote::test::ScriptedDialogs;

namespace {

const QDateTime kDumpTime(QDate(2019, 2, 8), QTime(17, 36, 5));
const QString kDumpName = u"Brevnote20190208173605.txt"_s;

QByteArray rule() {
    return QByteArray(20, '-');
}

} // namespace

class TestMainWindowTray : public QObject {
    Q_OBJECT

private slots:
    void applicationLivesOnWithoutWindows();
    void closeHidesIntoTheTray();
    void minimiseHidesIntoTheTray();
    void restoreShowsAndRaises();
    void leftClickRestoresRightClickDoesNot_data();
    void leftClickRestoresRightClickDoesNot();
    void withoutTrayCloseMinimises();
    void fecharIsInToolsMenuOnlyWithoutTray_data();
    void fecharIsInToolsMenuOnlyWithoutTray();
    void closeIsAllowedWhileEnding();
    void fecharWritesTheDumpAndEnds();
    void fecharAndTheReminderPassWaitForATextTool();
    void dumpRightAfterStartUpHoldsBothBanners();
    void secondDumpInTheSameSecondReplacesTheFirst();
    void fecharFailureKeepsIconAndProgram();
    void endingFallsBackToProgramFolder();
    void endingFallsBackToTemporaryFolder();
    void onlyOneDumpPerRun_data();
    void onlyOneDumpPerRun();
    void endingMakesNoFallbackFolderItDoesNotUse();
    void aTrayThatComesLaterIsUsed();
    void textIsLeftToTheSystemOnlyAfterTheDump_data();
    void textIsLeftToTheSystemOnlyAfterTheDump();
};

void TestMainWindowTray::aTrayThatComesLaterIsUsed() {
    MasterFixture fixture(false);
    TfMaster &master = *fixture.master;
    master.presentAtStartUp();
    const auto *tools = master.findChild<QMenu *>(u"PopupMenu_Tools"_s);
    QAction *fechar = action(master, "Fechar1");
    QVERIFY(tools->actions().contains(fechar));
    bool available = false;
    master.setTrayAvailableFunction([&available] { return available; });
    master.checkForTray();
    QVERIFY(!master.usesTray());
    QVERIFY(!master.notificationIcon()->isVisible());

    available = true;
    master.checkForTray();
    QVERIFY(master.usesTray());
    QVERIFY(master.notificationIcon()->isVisible());
    QVERIFY(!tools->actions().contains(fechar));
    QVERIFY(!tools->actions().constLast()->isSeparator());
    QVERIFY(master.isVisible());
    // From now on closing hides into the tray, as on a desktop that had one from the start.
    master.close();
    QVERIFY(!master.isVisible());
    QVERIFY(!master.isMinimized());
}

void TestMainWindowTray::textIsLeftToTheSystemOnlyAfterTheDump_data() {
    QTest::addColumn<bool>("ended");
    QTest::newRow("after the dump") << true;
    QTest::newRow("no dump yet") << false;
}

// Without its dump the text must not outlive the window unseen; after it, freeing a long
// document is left to the end of the process.
void TestMainWindowTray::textIsLeftToTheSystemOnlyAfterTheDump() {
    QFETCH(bool, ended);
    MasterFixture fixture(true);
    fixture.edit()->setPlainText(u"linha"_s);
    if (ended)
        fixture.master->endProgram();
    QPointer<QTextDocument> document = fixture.edit()->document();
    fixture.master->leaveTextToTheSystem();
    fixture.master.reset();
    QCOMPARE(!document.isNull(), ended);
    if (document) {
        QVERIFY(document->toRawText().endsWith(u"linha"_s));
        delete document;
    }
}

void TestMainWindowTray::endingMakesNoFallbackFolderItDoesNotUse() {
    MasterFixture fixture(true);
    const QString temporary = QDir::temp().filePath(QStringLiteral("brevnote-%1").arg(::getuid()));
    QDir(temporary).removeRecursively();
    fixture.master->endProgram();
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()).size(), 1);
    QVERIFY2(!QFileInfo::exists(temporary), qPrintable(temporary));
}

void TestMainWindowTray::applicationLivesOnWithoutWindows() {
    configureApplication();
    QCOMPARE(QCoreApplication::applicationName(), u"Brevnote"_s);
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    // The pad closed into the tray, then a dialog closed while the pad is hidden: the last
    // visible window goes, and the loop must still run until it is told to end.
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog, &master] {
        master.show();
        master.close();
        dialog.show();
        QTimer::singleShot(50, &dialog, &QDialog::reject);
    });
    QTimer::singleShot(1000, qApp, [] { QCoreApplication::exit(7); });
    QCOMPARE(QCoreApplication::exec(), 7);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!master.isVisible());
    QVERIFY(master.timer()->isActive());
}

void TestMainWindowTray::closeHidesIntoTheTray() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    master.show();
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    QVERIFY(!master.close());
    QVERIFY(!master.isVisible());
    QVERIFY(master.timer()->isActive());
    QVERIFY(master.notificationIcon());
    QCOMPARE(fixture.terminateCalls, 0);
    QVERIFY(fixture.dumpFiles(fixture.dataFolder()).isEmpty());
}

void TestMainWindowTray::minimiseHidesIntoTheTray() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    master.show();
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    for (int cycle = 0; cycle < 3; ++cycle) {
        master.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!master.isVisible());
        QVERIFY(master.timer()->isActive());
        QCOMPARE(fixture.terminateCalls, 0);
        // Restored, it comes back as a normal window on top of the others, not as an icon.
        action(master, "Restaurar1")->trigger();
        QVERIFY(master.isVisible());
        QVERIFY(!master.isMinimized());
        QVERIFY(master.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(master.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(master.windowHandle()->windowState(), Qt::WindowNoState);
    }
}

void TestMainWindowTray::restoreShowsAndRaises() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    master.presentAtStartUp();
    QVERIFY(!master.isVisible());
    // The first restore shows the window although it was never minimised.
    action(master, "Restaurar1")->trigger();
    QVERIFY(master.isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    // Restoring a shown window only brings it forward.
    action(master, "Restaurar1")->trigger();
    QVERIFY(master.isVisible());
    QVERIFY(!master.isMinimized());
}

void TestMainWindowTray::leftClickRestoresRightClickDoesNot_data() {
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("restored");
    QTest::newRow("left click") << QSystemTrayIcon::Trigger << true;
    QTest::newRow("right click") << QSystemTrayIcon::Context << false;
    QTest::newRow("middle click") << QSystemTrayIcon::MiddleClick << false;
}

void TestMainWindowTray::leftClickRestoresRightClickDoesNot() {
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, restored);
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    QSignalSpy restores(action(master, "Restaurar1"), &QAction::triggered);
    emit master.notificationIcon()->activated(reason);
    QCOMPARE(master.isVisible(), restored);
    QCOMPARE(restores.count(), restored ? 1 : 0);
}

void TestMainWindowTray::withoutTrayCloseMinimises() {
    MasterFixture fixture(false);
    TfMaster &master = *fixture.master;
    master.presentAtStartUp();
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    QVERIFY(!master.close());
    QVERIFY(master.isMinimized());
    QVERIFY(master.isVisible()); // still reachable from the task bar
    master.setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    QVERIFY(master.isVisible());
    QCOMPARE(fixture.terminateCalls, 0);
}

void TestMainWindowTray::fecharIsInToolsMenuOnlyWithoutTray_data() {
    QTest::addColumn<bool>("useTray");
    QTest::newRow("tray") << true;
    QTest::newRow("no tray") << false;
}

void TestMainWindowTray::fecharIsInToolsMenuOnlyWithoutTray() {
    QFETCH(bool, useTray);
    MasterFixture fixture(useTray);
    const auto *tools = fixture.master->findChild<QMenu *>(u"PopupMenu_Tools"_s);
    QVERIFY(tools);
    QAction *fechar = action(*fixture.master, "Fechar1");
    QCOMPARE(tools->actions().contains(fechar), !useTray);
    if (useTray)
        return;
    // From the Tools menu it is the very same command: dump, then the end.
    const ScopedFixedClock clock(kDumpTime);
    fechar->trigger();
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()), QStringList({kDumpName}));
    QCOMPARE(fixture.terminateCalls, 1);
}

void TestMainWindowTray::closeIsAllowedWhileEnding() {
    MasterFixture fixture(false);
    TfMaster &master = *fixture.master;
    master.presentAtStartUp();
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    master.setEnding(true);
    QVERIFY(master.close());
    QVERIFY(!master.isVisible());
}

void TestMainWindowTray::fecharWritesTheDumpAndEnds() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    const ScopedFixedClock clock(kDumpTime);
    fixture.edit()->setPlainText(u"primeira linha\nação"_s);
    master.setPlainTextMode(false);
    ScriptedDialogs dialogs;
    action(master, "Fechar1")->trigger();

    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()), QStringList({kDumpName}));
    QCOMPARE(readBytes(fixture.dataFolder() + u'/' + kDumpName),
             " \r\n \r\n" + rule() + "\r\nFinalizado:\r\n08/Fev/2019 17:36\r\n" + rule() +
                 "\r\nprimeira linha\r\na\xE7\xE3o\r\n");
    QVERIFY(master.plainTextMode());
    QVERIFY(!master.notificationIcon()); // removed at once
    QVERIFY(!master.findChild<QSystemTrayIcon *>());
    QCOMPARE(fixture.terminateCalls, 1);
    QVERIFY(master.closingDumpDone());
}

// A tool at work on a large text may have it half replaced: the tray's "Fechar" ends the
// program only once the tool is done, and the reminder pass skips its tick.
void TestMainWindowTray::fecharAndTheReminderPassWaitForATextTool() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    fixture.edit()->setPlainText(u"texto"_s);
    ScriptedDialogs dialogs;
    {
        const ToolProgressDialog tool(&master, u"Ordenando..."_s, kProgressDialogLines + 1);
        master.TimerTimer();
        QVERIFY(!master.reminderChecker());
        action(master, "Fechar1")->trigger();
        QTest::qWait(400);
        QCOMPARE(fixture.terminateCalls, 0);
        QVERIFY(fixture.dumpFiles(fixture.dataFolder()).isEmpty());
    }
    QTRY_COMPARE(fixture.terminateCalls, 1);
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()).size(), 1);
    master.TimerTimer();
    QVERIFY(master.reminderChecker());
}

void TestMainWindowTray::dumpRightAfterStartUpHoldsBothBanners() {
    std::optional<ScopedFixedClock> boot(std::in_place, QDateTime(QDate(2019, 2, 8), QTime(9, 0)));
    MasterFixture fixture;
    boot.reset();
    const ScopedFixedClock clock(kDumpTime);
    fixture.master->SaveClosingDump();
    const QList<QByteArray> lines = readBytes(fixture.dataFolder() + u'/' + kDumpName).split('\n');
    const QList<QByteArray> expected = {
        " \r", " \r", rule() + '\r', "Finalizado:\r", "08/Fev/2019 17:36\r", rule() + '\r', " \r",
        " \r", " \r", rule() + '\r', "Boot:\r",       "08/Fev/2019 09:00\r", rule() + '\r', "\r",
        ""};
    QCOMPARE(lines, expected);
}

void TestMainWindowTray::secondDumpInTheSameSecondReplacesTheFirst() {
    MasterFixture fixture;
    const ScopedFixedClock clock(kDumpTime);
    fixture.edit()->setPlainText(u"texto"_s);
    fixture.master->SaveClosingDump();
    fixture.master->SaveClosingDump();
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()), QStringList({kDumpName}));
    const QByteArray bytes = readBytes(fixture.dataFolder() + u'/' + kDumpName);
    // The second dump holds both banners: it replaced the first file rather than adding.
    QCOMPARE(bytes.count("Finalizado:"), 2);
    QVERIFY(bytes.endsWith("texto\r\n"));
}

void TestMainWindowTray::fecharFailureKeepsIconAndProgram() {
    MasterFixture fixture(true, true);
    TfMaster &master = *fixture.master;
    const ScopedFixedClock clock(kDumpTime);
    fixture.edit()->setPlainText(u"não perder"_s);
    ScriptedDialogs dialogs;
    action(master, "Fechar1")->trigger();

    QCOMPARE(dialogs.errors.size(), 1);
    const QString path = fixture.dataFolder() + u'/' + kDumpName;
    QVERIFY2(dialogs.errors.first().contains(path), qPrintable(dialogs.errors.first()));
    QVERIFY(master.notificationIcon());
    QVERIFY(master.notificationIcon()->isVisible());
    QCOMPARE(fixture.terminateCalls, 0);
    QVERIFY(master.timer()->isActive());
    QVERIFY(!master.closingDumpDone());
    // The banner stays, so the user can still save the text by hand.
    QVERIFY(
        fixture.edit()->toPlainText().startsWith(u" \n \n--------------------\nFinalizado:\n"_s));
    QVERIFY(fixture.edit()->toPlainText().endsWith(u"não perder"_s));
}

void TestMainWindowTray::endingFallsBackToProgramFolder() {
    MasterFixture fixture(true, true);
    const ScopedFixedClock clock(kDumpTime);
    fixture.edit()->setPlainText(u"salvo no programa"_s);
    fixture.master->endProgram();
    const QString programFolder = platform::programFolder();
    QCOMPARE(fixture.dumpFiles(programFolder), QStringList({kDumpName}));
    QVERIFY(readBytes(programFolder + kDumpName).endsWith("salvo no programa\r\n"));
    QCOMPARE(fixture.terminateCalls, 1);
    QVERIFY(QFile::remove(programFolder + kDumpName));
}

void TestMainWindowTray::endingFallsBackToTemporaryFolder() {
    MasterFixture fixture(true, true);
    const test::ScopedEnvironment home(
        "BREVNOTE_HOME", fixture.scratchPath(u"regular-file/programa"_s).toLocal8Bit());
    const ScopedFixedClock clock(kDumpTime);
    fixture.edit()->setPlainText(u"salvo no temporário"_s);
    fixture.master->endProgram();
    const QString tempFolder = platform::tempFolder();
    QCOMPARE(fixture.dumpFiles(tempFolder), QStringList({kDumpName}));
    QVERIFY(readBytes(tempFolder + kDumpName).endsWith("salvo no tempor\xE1rio\r\n"));
    QCOMPARE(fixture.terminateCalls, 1);
    QVERIFY(QFile::remove(tempFolder + kDumpName));
}

void TestMainWindowTray::onlyOneDumpPerRun_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("Fechar, then the quit") << QStringList({u"fechar"_s, u"quit"_s});
    QTest::newRow("Fechar, then a signal") << QStringList({u"fechar"_s, u"signal"_s});
    QTest::newRow("two signals") << QStringList({u"signal"_s, u"signal"_s});
    QTest::newRow("a signal, then Fechar") << QStringList({u"signal"_s, u"fechar"_s});
}

void TestMainWindowTray::onlyOneDumpPerRun() {
    QFETCH(QStringList, steps);
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    ScopedFixedClock clock(kDumpTime);
    ScriptedDialogs dialogs;
    for (const QString &step : std::as_const(steps)) {
        if (step == u"fechar")
            action(master, "Fechar1")->trigger();
        else if (step == u"quit")
            master.saveClosingDumpBeforeExit();
        else
            master.endProgram();
        clock.advance(2000); // a second dump would have another name
    }
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()), QStringList({kDumpName}));
    QCOMPARE(fixture.edit()->toPlainText().count(u"Finalizado:"_s), 1);
    QVERIFY(dialogs.errors.isEmpty());
}

BREVNOTE_TEST_WIDGETS_MAIN(TestMainWindowTray)
#include "tst_mainwindowtray.moc"
