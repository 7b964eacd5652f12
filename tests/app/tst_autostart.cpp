#include "app/autostart.h"
#include "app/mainwindow.h"

#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using brevnote::test::ScopedEnvironment;

// The user's autostart entry behind "Auto-Inicializar com o Windows".
class TestAutostart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void execLineQuotesThePath_data();
    void execLineQuotesThePath();
    void entryWaitsForTheTray();
    void entryPathFollowsXdgConfigHome_data();
    void entryPathFollowsXdgConfigHome();
    void enableReplacesAForeignEntryAndDisableRemovesIt();
    void switchedOffEntriesDoNotCount_data();
    void switchedOffEntriesDoNotCount();
    void unwritableFolderIsNamed();
    void checkMarkFollowsTheEntryAtStartUp();
    void checkingWritesAndUncheckingRemoves();
    void failureShowsTheErrorAndKeepsTheMark();

private:
    static QString entryLine(const QString &text, const QString &key);
};

QString TestAutostart::entryLine(const QString &text, const QString &key) {
    const QStringList lines = text.split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return u"<missing>"_s;
}

void TestAutostart::init() {
    QFile::remove(brevnote::autostartEntryPath());
}

void TestAutostart::execLineQuotesThePath_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << u"/usr/bin/brevnote"_s << u"/usr/bin/brevnote"_s;
    QTest::newRow("space") << u"/opt/my apps/brevnote"_s << u"\"/opt/my apps/brevnote\""_s;
    // Inside quotes $ ` " \ take a backslash, which the string escape doubles again.
    QTest::newRow("dollar") << u"/opt/a$b/brevnote"_s << u"\"/opt/a\\\\$b/brevnote\""_s;
    QTest::newRow("quote") << u"/opt/a\"b/brevnote"_s << u"\"/opt/a\\\\\"b/brevnote\""_s;
    QTest::newRow("backslash") << u"/opt/a\\b/brevnote"_s << u"\"/opt/a\\\\\\\\b/brevnote\""_s;
    QTest::newRow("percent") << u"/opt/100%/brevnote"_s << u"/opt/100%%/brevnote"_s;
    QTest::newRow("accent") << u"/home/joão/brevnote"_s << u"/home/joão/brevnote"_s;
}

void TestAutostart::execLineQuotesThePath() {
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(entryLine(brevnote::autostartEntryText(program), u"Exec"_s), exec);
}

void TestAutostart::entryWaitsForTheTray() {
    const QString text = brevnote::autostartEntryText(u"/usr/bin/brevnote"_s);
    QVERIFY(text.startsWith(u"[Desktop Entry]\n"_s));
    QCOMPARE(entryLine(text, u"Type"_s), u"Application"_s);
    QCOMPARE(entryLine(text, u"Name"_s), u"Brevnote"_s);
    QCOMPARE(entryLine(text, u"Icon"_s), u"com.velmora.Brevnote"_s);
    bool isNumber = false;
    const int delay = entryLine(text, u"X-GNOME-Autostart-Delay"_s).toInt(&isNumber);
    QVERIFY(isNumber);
    QVERIFY2(delay >= 2 && delay <= 30, qPrintable(QString::number(delay)));
}

void TestAutostart::entryPathFollowsXdgConfigHome_data() {
    QTest::addColumn<QByteArray>("xdgConfigHome");
    QTest::addColumn<QString>("expected");
    const QString home = QDir::homePath();
    QTest::newRow("set") << QByteArray("/x/conf")
                         << u"/x/conf/autostart/com.velmora.Brevnote.desktop"_s;
    QTest::newRow("empty") << QByteArray()
                           << home + u"/.config/autostart/com.velmora.Brevnote.desktop"_s;
    QTest::newRow("relative") << QByteArray("conf")
                              << home + u"/.config/autostart/com.velmora.Brevnote.desktop"_s;
}

void TestAutostart::entryPathFollowsXdgConfigHome() {
    QFETCH(QByteArray, xdgConfigHome);
    QFETCH(QString, expected);
    const ScopedEnvironment config("XDG_CONFIG_HOME", xdgConfigHome);
    QCOMPARE(brevnote::autostartEntryPath(), expected);
}

void TestAutostart::enableReplacesAForeignEntryAndDisableRemovesIt() {
    const QString path = brevnote::autostartEntryPath();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(brevnote::test::writeBytes(path, "[Desktop Entry]\nType=Application\nExec=/old/x\n"));
    QFile(path).setPermissions(QFileDevice::ReadOwner);

    brevnote::enableAutostart(u"/new/brevnote"_s);
    QCOMPARE(QString::fromUtf8(brevnote::test::readBytes(path)),
             brevnote::autostartEntryText(u"/new/brevnote"_s));
    QVERIFY(brevnote::autostartEnabled());

    brevnote::disableAutostart();
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!brevnote::autostartEnabled());
    brevnote::disableAutostart(); // nothing to remove: no error
}

void TestAutostart::switchedOffEntriesDoNotCount_data() {
    QTest::addColumn<QByteArray>("extraLine");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("plain") << QByteArray() << true;
    QTest::newRow("Hidden=true") << QByteArray("Hidden=true\n") << false;
    QTest::newRow("Hidden=false") << QByteArray("Hidden=false\n") << true;
    QTest::newRow("GNOME off") << QByteArray("X-GNOME-Autostart-enabled=false\n") << false;
}

void TestAutostart::switchedOffEntriesDoNotCount() {
    QFETCH(QByteArray, extraLine);
    QFETCH(bool, enabled);
    const QString path = brevnote::autostartEntryPath();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(brevnote::test::writeBytes(path, "[Desktop Entry]\nExec=/x\n" + extraLine));
    QCOMPARE(brevnote::autostartEnabled(), enabled);
}

void TestAutostart::unwritableFolderIsNamed() {
    QTemporaryDir dir;
    const QString config = brevnote::test::unwritablePath(dir, u"config"_s);
    const ScopedEnvironment environment("XDG_CONFIG_HOME", config.toLocal8Bit());
    try {
        brevnote::enableAutostart(u"/usr/bin/brevnote"_s);
        QFAIL("no error raised");
    } catch (const brevnote::AppError &error) {
        QVERIFY2(error.message().contains(config + u"/autostart"_s), qPrintable(error.message()));
    }
}

void TestAutostart::checkMarkFollowsTheEntryAtStartUp() {
    {
        brevnote::test::MasterFixture fixture;
        QAction *item = brevnote::test::action(*fixture.master, "AutoInicializarcomoWindows1");
        QCOMPARE(item->text(), u"Auto-Inicializar com o Windows"_s);
        QVERIFY(item->isCheckable());
        QVERIFY(!item->isChecked());
    }
    brevnote::enableAutostart(u"/usr/bin/brevnote"_s);
    brevnote::test::MasterFixture fixture;
    QVERIFY(brevnote::test::action(*fixture.master, "AutoInicializarcomoWindows1")->isChecked());
}

void TestAutostart::checkingWritesAndUncheckingRemoves() {
    brevnote::test::ScriptedDialogs dialogs;
    brevnote::test::MasterFixture fixture;
    QAction *item = brevnote::test::action(*fixture.master, "AutoInicializarcomoWindows1");
    const QString path = brevnote::autostartEntryPath();

    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(QString::fromUtf8(brevnote::test::readBytes(path)),
             brevnote::autostartEntryText(QCoreApplication::applicationFilePath()));

    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(dialogs.errors.isEmpty());
}

void TestAutostart::failureShowsTheErrorAndKeepsTheMark() {
    brevnote::test::ScriptedDialogs dialogs;
    brevnote::test::MasterFixture fixture;
    QAction *item = brevnote::test::action(*fixture.master, "AutoInicializarcomoWindows1");
    QTemporaryDir dir;
    const QString config = brevnote::test::unwritablePath(dir, u"config"_s);
    const ScopedEnvironment environment("XDG_CONFIG_HOME", config.toLocal8Bit());

    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(dialogs.errors.first().contains(config), qPrintable(dialogs.errors.first()));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestAutostart)
#include "tst_autostart.moc"
