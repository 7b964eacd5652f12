#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"

#include "app/crashjournal.h"
#include "app/journalrecovery.h"
#include "app/mainwindow.h"
#include "util/core/clock.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <functional>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::action;
using brevnote::test::MasterFixture;
using brevnote::test::readBytes;
using brevnote::test::ScriptedDialogs;
using brevnote::test::unwritablePath;
using brevnote::test::writeBytes;

namespace {

// Generous: CI runs this on two loaded cores.
constexpr int kPatienceMs = 30000;

const QDateTime kTypedAt(QDate(2026, 12, 8), QTime(9, 41, 7));

bool setModified(const QString &path, const QDateTime &when) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(when, QFileDevice::FileModificationTime);
}

QStringList recoveredDumps(const QString &folder) {
    return QDir(folder).entryList({u"Brevnote*.recuperado.txt"_s}, QDir::Files, QDir::Name);
}

} // namespace

class TestCrashJournal : public QObject {
    Q_OBJECT

private slots:
    void journalBytesMatchTheDump_data();
    void journalBytesMatchTheDump();
    void leftJournalBecomesADump_data();
    void leftJournalBecomesADump();
    void writesOnceTypingPauses();
    void steadyTypingIsSavedToo();
    void writeNowIsOnDiskAtOnce();
    void writeNowRepaintingHandlesWaitingEvents_data();
    void writeNowRepaintingHandlesWaitingEvents();
    void unwritableFolderIsReportedOncePerRun();
    void discardRemovesAndStopsWriting();
    void padKeepsItsJournalUntilTheClosingDump();
    void startUpRecoversAndTellsTheUser_data();
    void startUpRecoversAndTellsTheUser();
    void padWithoutJournalFolderTellsOnce();
    void printWritesTheJournalFirst();
    void killedProgramLosesNothingTyped();
};

void TestCrashJournal::journalBytesMatchTheDump_data() {
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QByteArray>("bytes");
    const QChar paragraph = QChar::ParagraphSeparator;
    QTest::newRow("empty pad") << QString() << QByteArray();
    QTest::newRow("one line") << u"linha"_s << QByteArray("linha\r\n");
    QTest::newRow("lines") << (u"a"_s + paragraph + u"b"_s) << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty last line") << (u"a"_s + paragraph) << QByteArray("a\r\n\r\n");
    QTest::newRow("Windows-1252") << u"ação €"_s << QByteArray("a\xE7\xE3o \x80\r\n");
    QTest::newRow("beyond Windows-1252") << (u"ação"_s + paragraph + u"☃"_s)
                                         << QByteArray("\xEF\xBB\xBF"
                                                       "a\xC3\xA7\xC3\xA3o\r\n\xE2\x98\x83\r\n");
}

void TestCrashJournal::journalBytesMatchTheDump() {
    QFETCH(QString, raw);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encodeJournalText(raw), bytes);
}

void TestCrashJournal::leftJournalBecomesADump_data() {
    QTest::addColumn<QString>("left");        // "file", "folder" or "" for none
    QTest::addColumn<QStringList>("present"); // files already in the data folder
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("expectedName");
    const QString name = u"Brevnote20261208094107.recuperado.txt"_s;
    QTest::newRow("none") << QString() << QStringList() << int(JournalRecovery::Outcome::NoJournal)
                          << QString();
    QTest::newRow("journal") << u"file"_s << QStringList()
                             << int(JournalRecovery::Outcome::Recovered) << name;
    QTest::newRow("name taken") << u"file"_s << QStringList{name}
                                << int(JournalRecovery::Outcome::Recovered)
                                << u"Brevnote20261208094107-2.recuperado.txt"_s;
    QTest::newRow("two names taken")
        << u"file"_s << QStringList{name, u"Brevnote20261208094107-2.recuperado.txt"_s}
        << int(JournalRecovery::Outcome::Recovered) << u"Brevnote20261208094107-3.recuperado.txt"_s;
    // Named after the folder's own time, which the test cannot set: "*" stands for it.
    QTest::newRow("unreadable") << u"folder"_s << QStringList()
                                << int(JournalRecovery::Outcome::KeptAside)
                                << u"Brevnote.journal.*.ilegivel"_s;
}

void TestCrashJournal::leftJournalBecomesADump() {
    QFETCH(QString, left);
    QFETCH(QStringList, present);
    QFETCH(int, outcome);
    QFETCH(QString, expectedName);
    QTemporaryDir dir;
    const QString data = dir.path();
    const QString journal = data + u'/' + journalFileName();
    const QByteArray text("texto colado\r\n\xE7\r\n");
    for (const QString &name : present)
        QVERIFY(writeBytes(data + u'/' + name, "older"));
    if (left == u"file")
        QVERIFY(writeBytes(journal, text));
    else if (left == u"folder")
        QVERIFY(QDir(data).mkpath(journalFileName() + u"/inside"_s));
    if (left == u"file")
        QVERIFY(setModified(journal, kTypedAt));
    const ScopedFixedClock clock(kTypedAt);

    const JournalRecovery recovery = recoverJournal(data, {dir.filePath(u"fallback"_s)});
    QCOMPARE(int(recovery.outcome), outcome);
    if (expectedName.isEmpty())
        return;
    const QRegularExpression expected(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(data + u'/' + expectedName).replace(u"\\*"_s, u"\\d{14}"_s)));
    QVERIFY2(expected.match(recovery.path).hasMatch(), qPrintable(recovery.path));
    QVERIFY(!QFileInfo::exists(journal));
    if (left == u"file")
        QCOMPARE(readBytes(recovery.path), text);
    else
        QVERIFY(QFileInfo(recovery.path + u"/inside"_s).isDir());
    for (const QString &name : present)
        QCOMPARE(readBytes(data + u'/' + name), QByteArray("older"));
}

void TestCrashJournal::writesOnceTypingPauses() {
    QTemporaryDir dir;
    QString text = u"um"_s;
    CrashJournal journal(dir.path(), [&text] { return text; });
    QSignalSpy writes(&journal, &CrashJournal::writeFinished);
    for (const QString &typed : {u"u"_s, u"um"_s, u"um d"_s, u"um dois"_s}) {
        text = typed;
        journal.textChanged();
    }
    QVERIFY(journal.hasUnsavedChange());
    QVERIFY(!QFileInfo::exists(journal.path()));
    QTRY_COMPARE_WITH_TIMEOUT(writes.count(), 1, kPatienceMs);
    QCOMPARE(writes.first().first().toBool(), true);
    QCOMPARE(readBytes(journal.path()), QByteArray("um dois\r\n"));
    QVERIFY(!journal.hasUnsavedChange());
    QVERIFY(!journal.timer()->isActive());
}

void TestCrashJournal::steadyTypingIsSavedToo() {
    QTemporaryDir dir;
    int keys = 0;
    CrashJournal journal(dir.path(), [&keys] { return QString::number(keys); });
    QSignalSpy writes(&journal, &CrashJournal::writeFinished);
    // A key every 100 ms never leaves the one-second pause; the journal must not wait for it.
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, &journal, [&] {
        ++keys;
        journal.textChanged();
    });
    typist.start(100);
    QElapsedTimer typing;
    typing.start();
    QTRY_VERIFY_WITH_TIMEOUT(writes.count() >= 1 || typing.elapsed() > 8000, kPatienceMs);
    typist.stop();
    QVERIFY2(writes.count() >= 1,
             qPrintable(u"no write in %1 ms of typing"_s.arg(typing.elapsed())));
    // Once the typing stops, the last key reaches the journal too.
    QTRY_COMPARE_WITH_TIMEOUT(readBytes(journal.path()), QByteArray::number(keys) + "\r\n",
                              kPatienceMs);
}

void TestCrashJournal::writeNowIsOnDiskAtOnce() {
    QTemporaryDir dir;
    QString text = u"antes"_s;
    CrashJournal journal(dir.path(), [&text] { return text; });
    QSignalSpy writes(&journal, &CrashJournal::writeFinished);
    journal.writeNow(); // nothing changed yet: nothing to write
    QCOMPARE(writes.count(), 0);
    journal.textChanged();
    text = u"depois"_s;
    journal.writeNow();
    QCOMPARE(readBytes(journal.path()), QByteArray("depois\r\n"));
    QCOMPARE(writes.count(), 1);
    QVERIFY(!journal.hasUnsavedChange());
    // The wait of the change is over too: no second write of the same text.
    QTest::qWait(CrashJournal::kLongestWaitMs + 200);
    QCOMPARE(writes.count(), 1);
}

void TestCrashJournal::writeNowRepaintingHandlesWaitingEvents_data() {
    QTest::addColumn<CrashJournal::Waiting>("waiting");
    QTest::addColumn<bool>("handled");
    QTest::newRow("repainting") << CrashJournal::Waiting::Repainting << true;
    QTest::newRow("blocked") << CrashJournal::Waiting::Blocked << false;
}

// Before a tool on a large text the windows keep repainting while the worker writes: events
// already waiting (a repaint is one) are handled before writeNow() returns.
void TestCrashJournal::writeNowRepaintingHandlesWaitingEvents() {
    QFETCH(CrashJournal::Waiting, waiting);
    QFETCH(bool, handled);
    QTemporaryDir dir;
    QString text = u"antes"_s;
    CrashJournal journal(dir.path(), [&text] { return text; });
    journal.textChanged();
    text = u"depois"_s;
    bool waitingEventHandled = false;
    QMetaObject::invokeMethod(
        &journal, [&waitingEventHandled] { waitingEventHandled = true; }, Qt::QueuedConnection);
    journal.writeNow(waiting);
    QCOMPARE(waitingEventHandled, handled);
    QCOMPARE(readBytes(journal.path()), QByteArray("depois\r\n"));
    QVERIFY(!journal.hasUnsavedChange());
}

void TestCrashJournal::unwritableFolderIsReportedOncePerRun() {
    QTemporaryDir dir;
    const QString folder = unwritablePath(dir, u"velmora/brevnote"_s);
    CrashJournal journal(folder, [] { return u"texto"_s; });
    QSignalSpy failures(&journal, &CrashJournal::cannotWrite);
    QSignalSpy writes(&journal, &CrashJournal::writeFinished);
    for (int change = 1; change <= 2; ++change) {
        journal.textChanged();
        QTRY_COMPARE_WITH_TIMEOUT(writes.count(), change, kPatienceMs);
        QCOMPARE(writes.last().first().toBool(), false);
        // No retry of its own: the next change tries again.
        QVERIFY(!journal.timer()->isActive());
    }
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.first().first().toString(), folder);
}

void TestCrashJournal::discardRemovesAndStopsWriting() {
    QTemporaryDir dir;
    CrashJournal journal(dir.path(), [] { return u"texto"_s; });
    journal.textChanged();
    journal.writeNow();
    QVERIFY(QFileInfo::exists(journal.path()));
    journal.textChanged(); // a write is waiting when the dump is done
    journal.discard();
    QVERIFY(!QFileInfo::exists(journal.path()));
    journal.textChanged();
    journal.writeNow();
    QTest::qWait(CrashJournal::kLongestWaitMs + 200);
    QVERIFY(!QFileInfo::exists(journal.path()));
}

void TestCrashJournal::padKeepsItsJournalUntilTheClosingDump() {
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    const QString journal = fixture.dataFolder() + u'/' + journalFileName();
    // The boot banner alone is no text of the user's.
    QTest::qWait(CrashJournal::kLongestWaitMs + 200);
    QVERIFY(!QFileInfo::exists(journal));
    fixture.edit()->moveCursor(QTextCursor::End);
    fixture.edit()->insertPlainText(u"colado às 9h"_s);
    QTRY_VERIFY_WITH_TIMEOUT(readBytes(journal).contains("colado \xE0s 9h\r\n"), kPatienceMs);
    fixture.edit()->insertPlainText(u" e mais"_s);
    action(master, "Fechar1")->trigger();
    QCOMPARE(fixture.terminateCalls, 1);
    QCOMPARE(fixture.dumpFiles(fixture.dataFolder()).size(), 1);
    QVERIFY(!QFileInfo::exists(journal));
    QTest::qWait(CrashJournal::kLongestWaitMs + 200);
    QVERIFY(!QFileInfo::exists(journal));
}

void TestCrashJournal::startUpRecoversAndTellsTheUser_data() {
    QTest::addColumn<bool>("useTray");
    QTest::newRow("tray") << true;
    QTest::newRow("no tray") << false;
}

void TestCrashJournal::startUpRecoversAndTellsTheUser() {
    QFETCH(bool, useTray);
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_s);
    QVERIFY(QDir().mkpath(data));
    const QString journal = data + u'/' + journalFileName();
    QVERIFY(writeBytes(journal, "o texto de ontem\r\n"));
    QVERIFY(setModified(journal, kTypedAt));
    qputenv("BREVNOTE_DATA_DIR", data.toLocal8Bit());
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDOK);

    TfMaster master(useTray);
    QSignalSpy told(&master, &TfMaster::userNotified);
    const QString recovered = data + u"/Brevnote20261208094107.recuperado.txt"_s;
    QCOMPARE(readBytes(recovered), QByteArray("o texto de ontem\r\n"));
    QVERIFY(!QFileInfo::exists(journal));
    // Nothing is merged into the pad: it starts with the boot banner as always.
    QVERIFY(!master.richEdit()->toPlainText().contains(u"ontem"_s));
    QTRY_COMPARE_WITH_TIMEOUT(told.count(), 1, kPatienceMs);
    const QString message = u"Texto recuperado em: "_s + recovered;
    QCOMPARE(told.first().first().toString(), message);
    QCOMPARE(dialogs.messageBoxes.size(), useTray ? 0 : 1);
    if (!useTray)
        QCOMPARE(dialogs.messageBoxes.first().text, message);
}

void TestCrashJournal::padWithoutJournalFolderTellsOnce() {
    MasterFixture fixture(true, true);
    QSignalSpy told(fixture.master.get(), &TfMaster::userNotified);
    fixture.edit()->moveCursor(QTextCursor::End);
    fixture.edit()->insertPlainText(u"a"_s);
    QTRY_COMPARE_WITH_TIMEOUT(told.count(), 1, kPatienceMs);
    QCOMPARE(told.first().first().toString(), u"Sem cópia de segurança: "_s + fixture.dataFolder());
    // The pad goes on working, and a later change tries again without a second message.
    QSignalSpy writes(fixture.master->crashJournal(), &CrashJournal::writeFinished);
    fixture.edit()->insertPlainText(u"b"_s);
    QTRY_COMPARE_WITH_TIMEOUT(writes.count(), 1, kPatienceMs);
    QCoreApplication::processEvents();
    QCOMPARE(told.count(), 1);
    QVERIFY(fixture.edit()->toPlainText().endsWith(u"ab"_s));
}

void TestCrashJournal::printWritesTheJournalFirst() {
    MasterFixture fixture(true);
    const QString journal = fixture.dataFolder() + u'/' + journalFileName();
    fixture.edit()->moveCursor(QTextCursor::End);
    fixture.edit()->insertPlainText(u"para imprimir"_s);
    ScriptedDialogs dialogs;
    dialogs.printerAnswers.enqueue(false);
    action(*fixture.master, "ToolButton_Printer")->trigger();
    QVERIFY(readBytes(journal).contains("para imprimir\r\n"));
}

// The real program, typed into, killed without warning and started again.
void TestCrashJournal::killedProgramLosesNothingTyped() {
    QTemporaryDir dir;
    const QString data = dir.filePath(u"velmora/brevnote"_s);
    const QString journal = data + u'/' + journalFileName();
    const QString typed = u"colado antes do kill: ação"_s;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"BREVNOTE_DATA_DIR"_s, data);
    environment.insert(u"BREVNOTE_HOME"_s, dir.filePath(u"program"_s));
    environment.insert(u"BREVNOTE_DEVELOPER"_s, u"0"_s);

    const auto start = [&](QProcess &program) {
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(BREVNOTE_EXE), {});
        return program.waitForStarted(kPatienceMs);
    };
    const auto waitFor = [](const std::function<bool()> &done, QProcess &program) {
        const QDeadlineTimer deadline(2 * kPatienceMs);
        while (!done() && !deadline.hasExpired() && program.state() == QProcess::Running)
            QThread::msleep(10);
        return done();
    };

    QProcess first;
    environment.insert(u"BREVNOTE_TEST_TYPING"_s, typed);
    QVERIFY(start(first));
    environment.remove(u"BREVNOTE_TEST_TYPING"_s);
    // The data folder appears as the window is made; the text is typed right after.
    QVERIFY2(waitFor([&] { return QFileInfo(data).isDir(); }, first), "no start-up");
    QElapsedTimer sinceTyping;
    sinceTyping.start();
    const QByteArray typedBytes = typed.toLatin1();
    QVERIFY2(waitFor([&] { return readBytes(journal).contains(typedBytes); }, first),
             "the journal never held the text");
    qInfo("typed text in the journal %lld ms after start-up", sinceTyping.elapsed());
    QCOMPARE(::kill(pid_t(first.processId()), SIGKILL), 0);
    QVERIFY(first.waitForFinished(kPatienceMs));
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);

    // Started again over the dead one's lock, it turns the journal into a dump.
    QProcess second;
    QVERIFY(start(second));
    QVERIFY2(waitFor([&] { return recoveredDumps(data).size() == 1; }, second),
             "nothing was recovered");
    QCOMPARE(second.state(), QProcess::Running);
    const QByteArray recovered = readBytes(data + u'/' + recoveredDumps(data).first());
    QVERIFY(recovered.contains("Boot:\r\n"));
    QVERIFY(recovered.contains(typedBytes + "\r\n"));

    QCOMPARE(::kill(pid_t(second.processId()), SIGTERM), 0);
    QVERIFY(second.waitForFinished(kPatienceMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(journal));
    QCOMPARE(recoveredDumps(data).size(), 1);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestCrashJournal)
#include "tst_crashjournal.moc"
