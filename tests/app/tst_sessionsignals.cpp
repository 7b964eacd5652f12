#include "support/hermetic.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>

using namespace Qt::Literals::StringLiterals;

// The real program, ended from outside as a logout, a shutdown or Ctrl+C end it.
class TestSessionSignals : public QObject {
    Q_OBJECT

private slots:
    void signalWritesOneDumpAndEnds_data();
    void signalWritesOneDumpAndEnds();
};

void TestSessionSignals::signalWritesOneDumpAndEnds_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestSessionSignals::signalWritesOneDumpAndEnds() {
    QFETCH(int, signalNumber);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Not there yet: the program creates it at start-up, which tells us it is running.
    const QString dataFolder = dir.filePath(u"velmora/brevnote"_s);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"BREVNOTE_DATA_DIR"_s, dataFolder);
    environment.insert(u"BREVNOTE_HOME"_s, dir.filePath(u"program"_s));
    environment.insert(u"BREVNOTE_DEVELOPER"_s, u"0"_s);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(BREVNOTE_EXE), {});
    QVERIFY2(program.waitForStarted(10000), qPrintable(program.errorString()));

    const QDeadlineTimer started(30000);
    while (!QFileInfo(dataFolder).isDir() && !started.hasExpired() &&
           program.state() == QProcess::Running)
        QThread::msleep(20);
    QVERIFY2(QFileInfo(dataFolder).isDir(), "the program did not start up");
    QCOMPARE(program.state(), QProcess::Running);

    QCOMPARE(::kill(pid_t(program.processId()), signalNumber), 0);
    QVERIFY2(program.waitForFinished(30000), "the program did not end");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);

    const QStringList dumps =
        QDir(dataFolder).entryList({u"Brevnote*.txt"_s}, QDir::Files, QDir::Name);
    QCOMPARE(dumps.size(), 1);
    QVERIFY(QRegularExpression(u"^Brevnote\\d{14}\\.txt$"_s).match(dumps.first()).hasMatch());
    QFile dump(QDir(dataFolder).filePath(dumps.first()));
    QVERIFY(dump.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = dump.readAll().split('\n');
    QVERIFY(lines.size() > 11);
    QCOMPARE(lines.at(0), QByteArray(" \r"));
    QCOMPARE(lines.at(3), QByteArray("Finalizado:\r"));
    QCOMPARE(lines.at(10), QByteArray("Boot:\r"));
}

BREVNOTE_TEST_GUILESS_MAIN(TestSessionSignals)
#include "tst_sessionsignals.moc"
