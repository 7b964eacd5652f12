#include "support/hermetic.h"

#include "app/layoutdefault.h"
#include "app/mastertexts.h"

#include <QtTest>

using namespace brevnote;

class TestMasterTexts : public QObject {
    Q_OBJECT

private slots:
    void defaultGeometry_data();
    void defaultGeometry();
    void caption();
    void bootBanner();
    void closingBanner();
    void dumpFileName_data();
    void dumpFileName();
    void checkTimerTextUsesTheLocale_data();
    void checkTimerTextUsesTheLocale();
};

void TestMasterTexts::defaultGeometry_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QRect(1220, 25, 690, 720);
    QTest::newRow("800x600") << QSize(800, 600) << QRect(474, 25, 316, 400);
    // 800 / 3 is 266, doubled 532; not 533 as two thirds would round to.
    QTest::newRow("height 800 divides first") << QSize(1024, 800) << QRect(623, 25, 391, 532);
    QTest::newRow("1366x768") << QSize(1366, 768) << QRect(851, 25, 505, 512);
    // 300 / 3 + 50 is 150: the minimum width wins and the left edge follows it.
    QTest::newRow("tiny screen keeps minimum width") << QSize(300, 200) << QRect(40, 25, 250, 132);
    QTest::newRow("width just at the minimum") << QSize(600, 300) << QRect(340, 25, 250, 200);
}

void TestMasterTexts::defaultGeometry() {
    QFETCH(QSize, screen);
    QFETCH(QRect, geometry);
    QCOMPARE(defaultMasterGeometry(screen, 250), geometry);
}

void TestMasterTexts::caption() {
    QCOMPARE(masterCaption(QStringLiteral("Brevnote"), QStringLiteral("2019.2.8.1736")),
             QStringLiteral("Brevnote [2019.2.8.1736]"));
    QCOMPARE(masterCaption(QStringLiteral("Brevnote"), QString()), QStringLiteral("Brevnote []"));
}

void TestMasterTexts::bootBanner() {
    const QDateTime when(QDate(2019, 2, 8), QTime(17, 36, 59));
    const QString rule(20, u'-');
    QCOMPARE(bootBannerLines(when),
             QStringList({QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "), rule,
                          QStringLiteral("Boot:"), QStringLiteral("08/Fev/2019 17:36"), rule}));
}

void TestMasterTexts::closingBanner() {
    const QDateTime when(QDate(2026, 12, 8), QTime(3, 30, 5));
    const QString rule(20, u'-');
    QCOMPARE(closingBannerLines(when), QStringList({QStringLiteral(" "), QStringLiteral(" "), rule,
                                                    QStringLiteral("Finalizado:"),
                                                    QStringLiteral("08/Dez/2026 03:30"), rule}));
}

void TestMasterTexts::dumpFileName_data() {
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("name");
    QTest::newRow("afternoon") << QDateTime(QDate(2019, 2, 8), QTime(17, 36, 5))
                               << QStringLiteral("Brevnote20190208173605.txt");
    QTest::newRow("midnight is hour 00") << QDateTime(QDate(2026, 12, 31), QTime(0, 0, 0))
                                         << QStringLiteral("Brevnote20261231000000.txt");
    QTest::newRow("milliseconds dropped") << QDateTime(QDate(2026, 1, 2), QTime(23, 59, 59, 999))
                                          << QStringLiteral("Brevnote20260102235959.txt");
}

void TestMasterTexts::dumpFileName() {
    QFETCH(QDateTime, when);
    QFETCH(QString, name);
    QCOMPARE(closingDumpFileName(when), name);
}

void TestMasterTexts::checkTimerTextUsesTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    // Hours, minutes and seconds as the desktop shows them, never the time zone.
    QTest::newRow("pt_BR") << QLocale(QLocale::Portuguese, QLocale::Brazil)
                           << QStringLiteral("CheckTimer em 08/12/2026 03:30:59");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QStringLiteral("CheckTimer em 12/8/26 3:30:59 AM");
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                           << QStringLiteral("CheckTimer em 08.12.26 03:30:59");
}

void TestMasterTexts::checkTimerTextUsesTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    const QDateTime when(QDate(2026, 12, 8), QTime(3, 30, 59));
    QCOMPARE(checkTimerText(when, locale), expected);
}

BREVNOTE_TEST_GUILESS_MAIN(TestMasterTexts)
#include "tst_mastertexts.moc"
