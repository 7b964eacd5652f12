#include "reminders/alarmpage.h"
#include "reminders/reminderstore.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/clock.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"

#include <QFile>
#include <QtTest>

#include <memory>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(9, 0, 0));

// The section's lines as the file holds them, header first.
QStringList sectionLines(const QString &path, const QString &section) {
    const QStringList lines =
        QString::fromLatin1(test::readBytes(path)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QStringList found;
    bool inside = false;
    for (const QString &line : lines) {
        if (line.startsWith(u'['))
            inside = line == u'[' + section + u']';
        if (inside)
            found.append(line);
    }
    return found;
}

ReminderRecord recordNamed(const QString &name) {
    ReminderRecord record = NewReminderDefaults();
    record.Evento = name;
    return record;
}

} // namespace

class TestReminderStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fileNameFromTheProgramName();
    void newReminderWrittenInKeyOrder();
    void storedMessage_data();
    void storedMessage();
    void missingOrBadKeysReadAsDefaults_data();
    void missingOrBadKeysReadAsDefaults();
    void editLoadShowsAPastDateAsToday();
    void displayLoad_data();
    void displayLoad();
    void save_data();
    void save();
    void alarmPageText_data();
    void alarmPageText();
    void alarmPageFile();

private:
    std::unique_ptr<ScopedFixedClock> m_clock;
    std::unique_ptr<IniFile> m_store;
};

void TestReminderStore::init() {
    m_clock = std::make_unique<ScopedFixedClock>(kNow);
    QFile::remove(platform::programFolder() + ReminderFileName());
    m_store = OpenReminderStore();
}

void TestReminderStore::cleanup() {
    m_store.reset();
    m_clock.reset();
}

void TestReminderStore::fileNameFromTheProgramName() {
    QCOMPARE(ReminderFileName(), u"TST_REMINDERSTORE.AutoTimer.Ini"_s);
    QCOMPARE(m_store->fileName(), platform::programFolder() + u"TST_REMINDERSTORE.AutoTimer.Ini"_s);
}

void TestReminderStore::newReminderWrittenInKeyOrder() {
    ReminderRecord record = LoadEditRecord(*m_store, EditMode::New, u"ignored"_s);
    QCOMPARE(record.Ativado, std::optional<bool>(true));
    QCOMPARE(record.IniDate, std::optional<QDate>(QDate(2026, 12, 10)));
    QCOMPARE(record.IniTime, std::optional<QTime>(QTime(9, 30, 0)));
    QCOMPARE(record.Repetir, std::optional<QString>(u"Diariamente"_s));
    QVERIFY(!record.Evento && !record.Mensagem && !record.Sleep && !record.SleepTimer);

    record.Evento = u"CONTA DE LUZ"_s;
    SaveEditRecord(*m_store, record, u"Vence hoje\nPagar no banco"_s, EditMode::New, QString());
    QCOMPARE(sectionLines(m_store->fileName(), u"CONTA DE LUZ"_s),
             QStringList({u"[CONTA DE LUZ]"_s, u"Ativado=1"_s, u"Evento=CONTA DE LUZ"_s,
                          u"IniDate=10/12/2026"_s, u"IniTime=09:30:00"_s, u"Repetir=Diariamente"_s,
                          u"Mensagem=Vence hoje<br>Pagar no banco"_s}));
}

void TestReminderStore::storedMessage_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("loaded");
    const QString x399 = QString(399, u'x');
    QTest::newRow("400 kept") << QString(400, u'a') << QString(400, u'a') << QString(400, u'a');
    QTest::newRow("401 cut") << QString(401, u'a') << QString(400, u'a') << QString(400, u'a');
    QTest::newRow("a break counts two")
        << QString(397, u'a') + u"\nbcd"_s << QString(397, u'a') + u"<br>b"_s
        << QString(397, u'a') + u"\r\nb"_s;
    QTest::newRow("cut inside CR LF drops the CR") << x399 + u"\r\nz"_s << x399 << x399;
    QTest::newRow("typed <BR> comes back as a break")
        << u"um<BR>dois<Br>tres"_s << u"um<BR>dois<Br>tres"_s << u"um\r\ndois\r\ntres"_s;
    QTest::newRow("lone CR and LF") << u"a\rb\nc"_s << u"a<br>b<br>c"_s << u"a\r\nb\r\nc"_s;
    QTest::newRow("accents") << u"Atenção"_s << u"Atenção"_s << u"Atenção"_s;
}

void TestReminderStore::storedMessage() {
    QFETCH(QString, memo);
    QFETCH(QString, stored);
    QFETCH(QString, loaded);
    SaveEditRecord(*m_store, recordNamed(u"R"_s), memo, EditMode::New, QString());
    QCOMPARE(m_store->readString(u"R"_s, u"Mensagem"_s), stored);
    // Read back by a second instance, as the other window or program would.
    const IniFile other(m_store->fileName());
    QCOMPARE(LoadEditRecord(other, EditMode::Edit, u"R"_s).Mensagem,
             std::optional<QString>(loaded));
}

void TestReminderStore::missingOrBadKeysReadAsDefaults_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("ativado");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QDateTime>("sleepTimer");
    const QDate today(2026, 12, 10);
    QTest::newRow("no keys: inactive, today, now")
        << QByteArray("") << false << today << QTime(9, 0, 0) << kNow;
    QTest::newRow("bad texts")
        << QByteArray("Ativado=sim\r\nIniDate=31/02/2026\r\nIniTime=25:00:00\r\nSleep=1\r\n"
                      "SleepTimer=amanha\r\n")
        << false << today << QTime(9, 0, 0) << kNow;
    QTest::newRow("other date order does not parse")
        << QByteArray("Ativado=2\r\nIniDate=2026-12-24\r\nIniTime=7:5\r\nSleep=1\r\n"
                      "SleepTimer=24/12/2026\r\n")
        << true << today << QTime(9, 0, 0) << kNow;
    QTest::newRow("good texts")
        << QByteArray("Ativado=1\r\nIniDate=24/12/2026\r\nIniTime=07:05:09\r\nSleep=1\r\n"
                      "SleepTimer=11/12/2026 08:15:30\r\n")
        << true << QDate(2026, 12, 24) << QTime(7, 5, 9)
        << QDateTime(QDate(2026, 12, 11), QTime(8, 15, 30));
}

void TestReminderStore::missingOrBadKeysReadAsDefaults() {
    QFETCH(QByteArray, keys);
    QFETCH(bool, ativado);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    QFETCH(QDateTime, sleepTimer);
    QVERIFY(test::writeBytes(m_store->fileName(), "[R]\r\n" + keys));
    const ReminderRecord shown = LoadDisplayRecord(*m_store, u"R"_s);
    QCOMPARE(shown.Ativado, std::optional<bool>(ativado));
    QCOMPARE(shown.IniDate, std::optional<QDate>(date));
    QCOMPARE(shown.IniTime, std::optional<QTime>(time));
    QCOMPARE(ReadSleepTimer(*m_store, u"R"_s), sleepTimer);
}

void TestReminderStore::editLoadShowsAPastDateAsToday() {
    QVERIFY(test::writeBytes(m_store->fileName(),
                             "[R]\r\nAtivado=1\r\nEvento=R\r\nIniDate=01/01/2020\r\n"
                             "IniTime=10:00:00\r\nSleep=1\r\nSleepTimer=01/01/2020 10:15:00\r\n"));
    const ReminderRecord record = LoadEditRecord(*m_store, EditMode::Edit, u"R"_s);
    QCOMPARE(record.IniDate, std::optional<QDate>(QDate(2026, 12, 10)));
    QVERIFY(!record.Sleep && !record.SleepTimer);
    SaveEditRecord(*m_store, record, QString(), EditMode::Edit, u"R"_s);
    QCOMPARE(m_store->readString(u"R"_s, u"IniDate"_s), u"10/12/2026"_s);
    // The snooze state is the scheduler's: saving under the same name keeps it.
    QCOMPARE(m_store->readString(u"R"_s, u"SleepTimer"_s), u"01/01/2020 10:15:00"_s);
}

void TestReminderStore::displayLoad_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<bool>("hasSleepTimer");
    QTest::newRow("nothing selected") << QString() << true << false;
    QTest::newRow("only spaces") << u"   "_s << true << false;
    QTest::newRow("not snoozed") << u"AWAKE"_s << false << false;
    QTest::newRow("snoozed") << u"asleep"_s << false << true;
}

void TestReminderStore::displayLoad() {
    QFETCH(QString, selected);
    QFETCH(bool, blank);
    QFETCH(bool, hasSleepTimer);
    QVERIFY(
        test::writeBytes(m_store->fileName(),
                         "[AWAKE]\r\nAtivado=1\r\nSleep=0\r\nSleepTimer=11/12/2026 08:00:00\r\n"
                         "[ASLEEP]\r\nAtivado=1\r\nSleep=1\r\nSleepTimer=11/12/2026 08:00:00\r\n"));
    const ReminderRecord record = LoadDisplayRecord(*m_store, selected);
    QCOMPARE(!record.Ativado, blank);
    QCOMPARE(!record.Mensagem, blank);
    QCOMPARE(record.SleepTimer.has_value(), hasSleepTimer);
}

void TestReminderStore::save_data() {
    // An existing section, a save (mode, previous name, new name) and the sections after it.
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<bool>("keepsSnooze");
    const auto edit = int(EditMode::Edit);
    const auto fresh = int(EditMode::New);
    QTest::newRow("same name keeps snooze")
        << edit << u"CONTA"_s << u"CONTA"_s << QStringList{u"conta"_s} << true;
    QTest::newRow("rename leaves one section, no snooze")
        << edit << u"conta"_s << u"BOLETO"_s << QStringList{u"BOLETO"_s} << false;
    QTest::newRow("ASCII case-only rename keeps the section it wrote")
        << edit << u"conta"_s << u"CONTA"_s << QStringList{u"conta"_s} << true;
    QTest::newRow("new in another case writes into the existing one")
        << fresh << QString() << u"CONTA"_s << QStringList{u"conta"_s} << true;
    QTest::newRow("accented letters are different names to the file")
        << edit << u"conta"_s << u"CONTÁ"_s << QStringList{u"CONTÁ"_s} << false;
}

void TestReminderStore::save() {
    QFETCH(int, mode);
    QFETCH(QString, previous);
    QFETCH(QString, name);
    QFETCH(QStringList, sections);
    QFETCH(bool, keepsSnooze);
    QVERIFY(test::writeBytes(m_store->fileName(),
                             "[conta]\r\nAtivado=0\r\nEvento=conta\r\nSleep=1\r\n"
                             "SleepTimer=10/12/2026 09:15:00\r\n"));
    ReminderRecord record = recordNamed(name);
    SaveEditRecord(*m_store, record, u"nova"_s, EditMode(mode), previous);
    QCOMPARE(m_store->sections(), sections);
    const QString section = sections.constFirst();
    QCOMPARE(m_store->readString(section, u"Mensagem"_s), u"nova"_s);
    QCOMPARE(m_store->readString(section, u"Ativado"_s), u"1"_s);
    QCOMPARE(m_store->valueExists(section, u"Sleep"_s), keepsSnooze);
    QCOMPARE(m_store->valueExists(section, u"SleepTimer"_s), keepsSnooze);
}

void TestReminderStore::alarmPageText_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("banner");
    QTest::addColumn<QString>("body");
    QTest::newRow("plain") << u"CONTA"_s << u"Vence<br>hoje"_s << u"CONTA"_s << u"Vence<br>hoje"_s;
    QTest::newRow("blank message shows the name")
        << u"CONTA"_s << u"  "_s << u"CONTA"_s << u"CONTA"_s;
    QTest::newRow("name holding [Mensagem] gets the message")
        << u"A [mensagem] B"_s << u"texto"_s << u"A texto B"_s << u"texto"_s;
    QTest::newRow("message holding [Evento] stays")
        << u"N"_s << u"[Evento]"_s << u"N"_s << u"[Evento]"_s;
}

void TestReminderStore::alarmPageText() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, banner);
    QFETCH(QString, body);
    const QStringList lines = AlarmPageText(name, message).split(u"\r\n"_s);
    QCOMPARE(lines.size(), 17);
    QStringList expected = AlarmPageTemplate();
    expected[11].replace(u"[Evento]"_s, banner);
    expected[13].replace(u"[Mensagem]"_s, body);
    QCOMPARE(lines, expected);
    QCOMPARE(expected.at(13),
             u"<div style=\"text-align: center; font-family: Arial;\"><big>"_s + body);
}

void TestReminderStore::alarmPageFile() {
    const ScopedFixedClock at(QDateTime(QDate(2026, 12, 10), QTime(7, 5, 9, 42)));
    const QString path = WriteAlarmPage(u"<p>Atenção\r\n<hr>"_s);
    QCOMPARE(path, platform::programFolder() + u"tmp/070509042.htm"_s);
    QCOMPARE(test::readBytes(path), QByteArray("<p>Aten\xE7\xE3o\r\n<hr>\r\n"));
}

BREVNOTE_TEST_GUILESS_MAIN(TestReminderStore)
#include "tst_reminderstore.moc"
