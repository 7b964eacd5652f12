#include "reminders/reminderscheduler.h"
#include "reminders/reminderstore.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"

#include <QFile>
#include <QQueue>
#include <QtTest>

#include <memory>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;

namespace {

// A reminder section, due at `start` ("dd/MM/yyyy HH:mm:ss").
QByteArray section(const char *name, const char *start, const char *extra = "") {
    const QByteArray text(start);
    return QByteArray("[") + name + "]\r\nAtivado=1\r\nEvento=" + name +
           "\r\nIniDate=" + text.left(10) + "\r\nIniTime=" + text.mid(11) + "\r\nMensagem=msg " +
           name + "\r\n" + extra;
}

struct Answer {
    bool snooze = true;
    bool deactivate = false;
    qint64 openForMs = 0;   // how long the user leaves the alarm open
    QByteArray otherWrites; // "section|key|value" another program writes while it is open
};

struct Shown {
    QString name;
    QString message;
    QString iniDateWhileOpen; // as another program would read it
    QString sleepWhileOpen;
};

} // namespace

class TestReminderScheduler : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dueDecision_data();
    void dueDecision();
    void claimedBeforeTheAlarmShows();
    void longAbsenceGivesOneAlarm();
    void twoDueInFileOrder();
    void snoozeCountsFromTheClose();
    void deactivateOnlyTheOne();
    void changesWhileAnAlarmIsOpen_data();
    void changesWhileAnAlarmIsOpen();
    void openFailureRaisedOnceAndRetried();
    void alarmFailureEndsThePass();

private:
    void writeFile(const QByteArray &bytes) {
        QVERIFY(test::writeBytes(platform::programFolder() + ReminderFileName(), bytes));
    }
    QString stored(const QString &name, const QString &key) const {
        return IniFile(platform::programFolder() + ReminderFileName()).readString(name, key);
    }
    ReminderScheduler::AlarmFunction scriptedAlarm() {
        return [this](const QString &name, const QString &message, bool &snooze, bool &deactivate) {
            QVERIFY(!snooze && !deactivate); // both cleared before each alarm
            shown.append({name, message, stored(name, u"IniDate"_s), stored(name, u"Sleep"_s)});
            const Answer answer = answers.isEmpty() ? Answer() : answers.dequeue();
            m_clock->advance(answer.openForMs);
            if (!answer.otherWrites.isEmpty()) {
                const QList<QByteArray> parts = answer.otherWrites.split('|');
                IniFile(platform::programFolder() + ReminderFileName())
                    .writeString(QString::fromUtf8(parts.at(0)), QString::fromUtf8(parts.at(1)),
                                 QString::fromUtf8(parts.at(2)));
            }
            snooze = answer.snooze;
            deactivate = answer.deactivate;
        };
    }
    std::unique_ptr<ReminderScheduler> makeScheduler() {
        return std::make_unique<ReminderScheduler>(&OpenReminderStore, scriptedAlarm());
    }

    std::unique_ptr<ScopedFixedClock> m_clock;
    QList<Shown> shown;
    QQueue<Answer> answers;
};

void TestReminderScheduler::init() {
    m_clock = std::make_unique<ScopedFixedClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    shown.clear();
    answers.clear();
}

void TestReminderScheduler::cleanup() {
    m_clock.reset();
    QFile::remove(platform::programFolder() + ReminderFileName());
}

void TestReminderScheduler::dueDecision_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("due");
    // Now is 10/12/2026 09:00:00.
    QTest::newRow("exactly at the start") << section("R", "10/12/2026 09:00:00") << false;
    QTest::newRow("one second later") << section("R", "10/12/2026 08:59:59") << true;
    QTest::newRow("tomorrow") << section("R", "11/12/2026 08:00:00") << false;
    QTest::newRow("inactive")
        << section("R", "09/12/2026 09:00:00").replace("Ativado=1", "Ativado=0") << false;
    QTest::newRow("no Ativado") << QByteArray("[R]\r\nIniDate=01/01/2020\r\n") << false;
    QTest::newRow("snooze passed")
        << section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=10/12/2026 08:59:59\r\n")
        << true;
    QTest::newRow("snooze exactly now")
        << section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=10/12/2026 09:00:00\r\n")
        << false;
    QTest::newRow("snooze time but not snoozed")
        << section("R", "11/12/2026 08:00:00", "Sleep=0\r\nSleepTimer=10/12/2026 08:00:00\r\n")
        << false;
    QTest::newRow("snooze on an earlier day")
        << section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=09/12/2026 23:59:59\r\n")
        << true;
    QTest::newRow("snooze on a later day, earlier hour")
        << section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=11/12/2026 00:00:00\r\n")
        << false;
    QTest::newRow("snooze moment unparseable")
        << section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=09/12/2026\r\n") << false;
    QTest::newRow("unparseable date reads as today") << section("R", "xx/12/2026 08:00:00") << true;
}

void TestReminderScheduler::dueDecision() {
    QFETCH(QByteArray, file);
    QFETCH(bool, due);
    writeFile(file);
    makeScheduler()->CheckReminders();
    QCOMPARE(shown.size(), due ? 1 : 0);
    if (due) {
        QCOMPARE(shown.at(0).name, u"R"_s);
        QCOMPARE(shown.at(0).message, u"msg R"_s);
    }
}

void TestReminderScheduler::claimedBeforeTheAlarmShows() {
    writeFile(section("R", "11/12/2026 07:00:00", "Sleep=1\r\nSleepTimer=10/12/2026 08:00:00\r\n"));
    answers.enqueue({true, false, 0, {}});
    makeScheduler()->CheckReminders();
    QCOMPARE(shown.size(), 1);
    // Whoever reads the file while the alarm is open finds nothing due.
    QCOMPARE(shown.at(0).iniDateWhileOpen, u"11/12/2026"_s);
    QCOMPARE(shown.at(0).sleepWhileOpen, u"0"_s);
}

void TestReminderScheduler::longAbsenceGivesOneAlarm() {
    writeFile(section("R", "01/12/2026 08:00:00"));
    answers.enqueue({false, false, 60'000, {}});
    const auto scheduler = makeScheduler();
    scheduler->CheckReminders();
    scheduler->CheckReminders();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(stored(u"R"_s, u"IniDate"_s), u"11/12/2026"_s);
    QCOMPARE(stored(u"R"_s, u"Sleep"_s), u"0"_s);
    // Tomorrow at its time it is due again.
    m_clock->advance(24 * 3600 * 1000);
    scheduler->CheckReminders();
    QCOMPARE(shown.size(), 2);
}

void TestReminderScheduler::twoDueInFileOrder() {
    writeFile(section("ZETA", "10/12/2026 08:00:00") + section("ALFA", "10/12/2026 08:30:00") +
              section("LATER", "10/12/2026 10:00:00"));
    makeScheduler()->CheckReminders();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).name, u"ZETA"_s);
    QCOMPARE(shown.at(1).name, u"ALFA"_s);
}

void TestReminderScheduler::snoozeCountsFromTheClose() {
    writeFile(section("R", "11/12/2026 08:00:00", "Sleep=1\r\nSleepTimer=10/12/2026 08:40:00\r\n"));
    answers.enqueue({true, false, 5 * 60'000 + 30'000, {}}); // closed at 09:05:30
    const auto scheduler = makeScheduler();
    scheduler->CheckReminders();
    QCOMPARE(stored(u"R"_s, u"Sleep"_s), u"1"_s);
    QCOMPARE(stored(u"R"_s, u"SleepTimer"_s), u"10/12/2026 09:20:30"_s);
    QCOMPARE(stored(u"R"_s, u"Ativado"_s), u"1"_s);
    m_clock->advance(15 * 60'000);
    scheduler->CheckReminders();
    QCOMPARE(shown.size(), 1); // 09:20:30 exactly: not yet
    m_clock->advance(1000);
    scheduler->CheckReminders();
    QCOMPARE(shown.size(), 2);
}

void TestReminderScheduler::deactivateOnlyTheOne() {
    writeFile(section("A", "10/12/2026 08:00:00") + section("B", "10/12/2026 08:00:00"));
    answers.enqueue({false, true, 0, {}});
    answers.enqueue({false, false, 0, {}});
    makeScheduler()->CheckReminders();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(stored(u"A"_s, u"Ativado"_s), u"0"_s);
    QCOMPARE(stored(u"B"_s, u"Ativado"_s), u"1"_s);
    QCOMPARE(stored(u"A"_s, u"IniDate"_s), u"11/12/2026"_s);
}

void TestReminderScheduler::changesWhileAnAlarmIsOpen_data() {
    QTest::addColumn<QByteArray>("otherWrites");
    QTest::addColumn<int>("alarms");
    QTest::newRow("nothing") << QByteArray() << 2;
    QTest::newRow("the next one claimed") << QByteArray("B|IniDate|11/12/2026") << 1;
    QTest::newRow("the next one deactivated") << QByteArray("B|Ativado|0") << 1;
}

// The pass decides each reminder from the file as it is after the alarms before it closed.
void TestReminderScheduler::changesWhileAnAlarmIsOpen() {
    QFETCH(QByteArray, otherWrites);
    QFETCH(int, alarms);
    writeFile(section("A", "10/12/2026 08:00:00") + section("B", "10/12/2026 08:00:00"));
    answers.enqueue({false, false, 0, otherWrites});
    makeScheduler()->CheckReminders();
    QCOMPARE(shown.size(), alarms);
}

void TestReminderScheduler::openFailureRaisedOnceAndRetried() {
    int opens = 0;
    bool writable = false;
    ReminderScheduler scheduler(
        [&]() -> std::unique_ptr<IniFile> {
            ++opens;
            if (!writable)
                throw AppError(u"Unable to write to x"_s);
            return OpenReminderStore();
        },
        scriptedAlarm());
    QVERIFY_THROWS_EXCEPTION(AppError, scheduler.CheckReminders());
    scheduler.CheckReminders(); // the same fault: not reported again
    scheduler.CheckReminders();
    QCOMPARE(opens, 3);
    QVERIFY(!scheduler.isOpen());
    writeFile(section("R", "10/12/2026 08:00:00"));
    writable = true;
    scheduler.CheckReminders();
    QCOMPARE(opens, 4);
    QCOMPARE(shown.size(), 1);
}

void TestReminderScheduler::alarmFailureEndsThePass() {
    writeFile(section("A", "10/12/2026 08:00:00") + section("B", "10/12/2026 08:00:00"));
    int alarms = 0;
    ReminderScheduler scheduler(&OpenReminderStore,
                                [&](const QString &, const QString &, bool &, bool &) {
                                    ++alarms;
                                    throw AppError(u"Cannot create file page"_s);
                                });
    QVERIFY_THROWS_EXCEPTION(AppError, scheduler.CheckReminders());
    QCOMPARE(alarms, 1);
    // The failed one was claimed for tomorrow; the other waits for the next pass.
    QCOMPARE(stored(u"A"_s, u"IniDate"_s), u"11/12/2026"_s);
    QCOMPARE(stored(u"B"_s, u"IniDate"_s), u"10/12/2026"_s);
    scheduler.CheckReminders(); // same text again: not raised a second time
    QCOMPARE(alarms, 2);
}

BREVNOTE_TEST_GUILESS_MAIN(TestReminderScheduler)
#include "tst_reminderscheduler.moc"
