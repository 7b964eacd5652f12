#include "support/hermetic.h"
#include "util/core/clock.h"
#include "util/core/datetimetext.h"
#include "util/core/textcodec.h"

#include <QtTest>

using namespace brevnote;

class TestDateTimeText : public QObject {
    Q_OBJECT

private slots:
    void formatDateTimeBR_data();
    void formatDateTimeBR();
    void zeroWithoutEmptyIsNow();
    void monthAbbrev_data();
    void monthAbbrev();
    void weekdayAbbrev_data();
    void weekdayAbbrev();
    void saturdayIsOneWindows1252Byte();
    void iniTexts_data();
    void iniTexts();
    void parseIniDate_data();
    void parseIniDate();
    void parseIniTime_data();
    void parseIniTime();
    void parseIniDateTime_data();
    void parseIniDateTime();
    void compactDateTimeText_data();
    void compactDateTimeText();
};

void TestDateTimeText::formatDateTimeBR_data() {
    QTest::addColumn<bool>("weekday");
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("expected");
    const QDate tuesday(2026, 12, 8);
    QTest::newRow("example") << false << QDateTime(tuesday, QTime(3, 30))
                             << QStringLiteral("08/Dez/2026 03:30");
    QTest::newRow("with weekday") << true << QDateTime(tuesday, QTime(3, 30))
                                  << QStringLiteral("Ter 08/Dez/2026 03:30");
    QTest::newRow("seconds never round up") << false << QDateTime(tuesday, QTime(23, 59, 59, 999))
                                            << QStringLiteral("08/Dez/2026 23:59");
    QTest::newRow("midnight") << false << QDateTime(QDate(2027, 1, 1), QTime(0, 0))
                              << QStringLiteral("01/Jan/2027 00:00");
    QTest::newRow("saturday") << true << QDateTime(QDate(2026, 12, 12), QTime(12, 5))
                              << QStringLiteral("S\u00E1b 12/Dez/2026 12:05");
    QTest::newRow("sunday") << true << QDateTime(QDate(2026, 12, 6), QTime(7, 0))
                            << QStringLiteral("Dom 06/Dez/2026 07:00");
    QTest::newRow("short year padded")
        << false << QDateTime(QDate(999, 3, 4), QTime(1, 2)) << QStringLiteral("04/Mar/0999 01:02");
    QTest::newRow("zero is empty") << true << QDateTime() << QString();
}

void TestDateTimeText::formatDateTimeBR() {
    QFETCH(bool, weekday);
    QFETCH(QDateTime, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatDateTimeBR(weekday, true, value), expected);
}

void TestDateTimeText::zeroWithoutEmptyIsNow() {
    const ScopedFixedClock clock(QDateTime(QDate(2026, 5, 20), QTime(14, 7, 33)));
    QCOMPARE(FormatDateTimeBR(false, false, QDateTime()), QStringLiteral("20/Mai/2026 14:07"));
    QCOMPARE(FormatDateTimeBR(true, false, QDateTime()), QStringLiteral("Qua 20/Mai/2026 14:07"));
}

void TestDateTimeText::monthAbbrev_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("expected");
    const QStringList names = {QStringLiteral("Jan"), QStringLiteral("Fev"), QStringLiteral("Mar"),
                               QStringLiteral("Abr"), QStringLiteral("Mai"), QStringLiteral("Jun"),
                               QStringLiteral("Jul"), QStringLiteral("Ago"), QStringLiteral("Set"),
                               QStringLiteral("Out"), QStringLiteral("Nov"), QStringLiteral("Dez")};
    for (int month = 1; month <= 12; ++month)
        QTest::newRow(qPrintable(names.at(month - 1))) << month << names.at(month - 1);
    QTest::newRow("zero has no name") << 0 << QString();
    QTest::newRow("thirteen has no name") << 13 << QString();
    QTest::newRow("negative has no name") << -1 << QString();
}

void TestDateTimeText::monthAbbrev() {
    QFETCH(int, month);
    QFETCH(QString, expected);
    QCOMPARE(MonthAbbrev(month), expected);
}

void TestDateTimeText::weekdayAbbrev_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    // 6 December 2026 is a Sunday.
    const QStringList names = {QStringLiteral("Dom"),     QStringLiteral("Seg"),
                               QStringLiteral("Ter"),     QStringLiteral("Qua"),
                               QStringLiteral("Qui"),     QStringLiteral("Sex"),
                               QStringLiteral("S\u00E1b")};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(qPrintable(names.at(i))) << QDate(2026, 12, 6 + i) << names.at(i);
    QTest::newRow("invalid date") << QDate() << QString();
}

void TestDateTimeText::weekdayAbbrev() {
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(WeekdayAbbrev(date), expected);
}

void TestDateTimeText::saturdayIsOneWindows1252Byte() {
    QCOMPARE(encodeWindows1252(WeekdayAbbrev(QDate(2026, 12, 12))), QByteArray("S\xE1"
                                                                               "b"));
}

void TestDateTimeText::iniTexts_data() {
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("dateTime");
    QTest::newRow("reminder") << QDateTime(QDate(2026, 12, 10), QTime(9, 15, 30))
                              << QStringLiteral("10/12/2026") << QStringLiteral("09:15:30")
                              << QStringLiteral("10/12/2026 09:15:30");
    QTest::newRow("midnight keeps its time")
        << QDateTime(QDate(2027, 1, 1), QTime(0, 0)) << QStringLiteral("01/01/2027")
        << QStringLiteral("00:00:00") << QStringLiteral("01/01/2027 00:00:00");
    QTest::newRow("milliseconds dropped")
        << QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59, 999)) << QStringLiteral("28/02/2026")
        << QStringLiteral("23:59:59") << QStringLiteral("28/02/2026 23:59:59");
    QTest::newRow("invalid") << QDateTime() << QString() << QString() << QString();
}

void TestDateTimeText::iniTexts() {
    QFETCH(QDateTime, value);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, dateTime);
    QCOMPARE(IniDateText(value.date()), date);
    QCOMPARE(IniTimeText(value.time()), time);
    QCOMPARE(IniDateTimeText(value), dateTime);
    if (value.isValid()) {
        QCOMPARE(ParseIniDate(date), value.date());
        QCOMPARE(ParseIniTime(time),
                 QTime(value.time().hour(), value.time().minute(), value.time().second()));
        QCOMPARE(IniDateTimeText(ParseIniDateTime(dateTime)), dateTime);
    }
}

void TestDateTimeText::parseIniDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("plain") << QStringLiteral("11/12/2026") << QDate(2026, 12, 11);
    QTest::newRow("surrounding blanks")
        << QStringLiteral(" \t11/12/2026\r\n") << QDate(2026, 12, 11);
    QTest::newRow("leap day") << QStringLiteral("29/02/2028") << QDate(2028, 2, 29);
    QTest::newRow("no leap day") << QStringLiteral("29/02/2027") << QDate();
    QTest::newRow("day 31 of february") << QStringLiteral("31/02/2026") << QDate();
    QTest::newRow("month 13") << QStringLiteral("01/13/2026") << QDate();
    QTest::newRow("day zero") << QStringLiteral("00/12/2026") << QDate();
    QTest::newRow("one-digit day") << QStringLiteral("1/12/2026") << QDate();
    QTest::newRow("two-digit year") << QStringLiteral("11/12/26") << QDate();
    QTest::newRow("dashes") << QStringLiteral("11-12-2026") << QDate();
    QTest::newRow("trailing text") << QStringLiteral("11/12/2026x") << QDate();
    QTest::newRow("sign in year") << QStringLiteral("11/12/+026") << QDate();
    QTest::newRow("non-ascii digits") << QStringLiteral("١١/١٢/٢٠٢٦") << QDate();
    QTest::newRow("date and time") << QStringLiteral("11/12/2026 09:00:00") << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TestDateTimeText::parseIniDate() {
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const QDate parsed = ParseIniDate(text);
    QCOMPARE(parsed.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(parsed, expected);
}

void TestDateTimeText::parseIniTime_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTime>("expected");
    QTest::newRow("plain") << QStringLiteral("09:00:00") << QTime(9, 0);
    QTest::newRow("surrounding blanks") << QStringLiteral("  23:59:58 ") << QTime(23, 59, 58);
    QTest::newRow("midnight") << QStringLiteral("00:00:00") << QTime(0, 0);
    QTest::newRow("hour 24") << QStringLiteral("24:00:00") << QTime();
    QTest::newRow("minute 60") << QStringLiteral("12:60:00") << QTime();
    QTest::newRow("no seconds") << QStringLiteral("09:00") << QTime();
    QTest::newRow("one-digit hour") << QStringLiteral("9:00:00") << QTime();
    QTest::newRow("dots") << QStringLiteral("09.00.00") << QTime();
    QTest::newRow("with milliseconds") << QStringLiteral("09:00:00.5") << QTime();
    QTest::newRow("empty") << QString() << QTime();
}

void TestDateTimeText::parseIniTime() {
    QFETCH(QString, text);
    QFETCH(QTime, expected);
    const QTime parsed = ParseIniTime(text);
    QCOMPARE(parsed.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(parsed, expected);
}

void TestDateTimeText::parseIniDateTime_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime snooze(QDate(2026, 12, 10), QTime(9, 15, 30));
    QTest::newRow("plain") << QStringLiteral("10/12/2026 09:15:30") << snooze;
    QTest::newRow("surrounding blanks") << QStringLiteral("\t10/12/2026 09:15:30  ") << snooze;
    QTest::newRow("two spaces between") << QStringLiteral("10/12/2026  09:15:30") << QDateTime();
    QTest::newRow("tab between") << QStringLiteral("10/12/2026\t09:15:30") << QDateTime();
    QTest::newRow("date only") << QStringLiteral("10/12/2026") << QDateTime();
    QTest::newRow("bad date") << QStringLiteral("32/12/2026 09:15:30") << QDateTime();
    QTest::newRow("bad time") << QStringLiteral("10/12/2026 09:75:30") << QDateTime();
    QTest::newRow("iso form") << QStringLiteral("2026-12-10T09:15:30") << QDateTime();
    QTest::newRow("empty") << QString() << QDateTime();
}

void TestDateTimeText::parseIniDateTime() {
    QFETCH(QString, text);
    QFETCH(QDateTime, expected);
    const QDateTime parsed = ParseIniDateTime(text);
    QCOMPARE(parsed.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(parsed, expected);
}

void TestDateTimeText::compactDateTimeText_data() {
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded fields")
        << QDateTime(QDate(2026, 1, 8), QTime(3, 4, 5, 678)) << QStringLiteral("20260108030405");
    QTest::newRow("end of year") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                                 << QStringLiteral("20261231235959");
    QTest::newRow("invalid") << QDateTime() << QString();
}

void TestDateTimeText::compactDateTimeText() {
    QFETCH(QDateTime, value);
    QFETCH(QString, expected);
    QCOMPARE(CompactDateTimeText(value), expected);
}

BREVNOTE_TEST_GUILESS_MAIN(TestDateTimeText)
#include "tst_datetimetext.moc"
