#include "app/startupenvironment.h"

#include "support/hermetic.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// The windowing platform chosen before start-up and Qt's own texts in Portuguese.
class TestStartupEnvironment : public QObject {
    Q_OBJECT

private slots:
    void platformChoice_data();
    void platformChoice();
    void questionsAnswerInPortuguese();
};

void TestStartupEnvironment::platformChoice_data() {
    QTest::addColumn<QByteArray>("userChoice");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("X11 session") << QByteArray() << QByteArray(":0") << QByteArray()
                                 << QByteArray("x11") << QByteArray();
    QTest::newRow("Wayland with XWayland")
        << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray("wayland")
        << QByteArray("xcb;wayland");
    QTest::newRow("Wayland session type only")
        << QByteArray() << QByteArray(":1") << QByteArray() << QByteArray("wayland")
        << QByteArray("xcb;wayland");
    QTest::newRow("Wayland without X") << QByteArray() << QByteArray() << QByteArray("wayland-0")
                                       << QByteArray("wayland") << QByteArray();
    QTest::newRow("user's choice kept")
        << QByteArray("wayland") << QByteArray(":0") << QByteArray("wayland-0")
        << QByteArray("wayland") << QByteArray("wayland");
}

void TestStartupEnvironment::platformChoice() {
    QFETCH(QByteArray, userChoice);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, expected);
    QCOMPARE(brevnote::chooseQtPlatform(userChoice, display, waylandDisplay, sessionType),
             expected);
}

void TestStartupEnvironment::questionsAnswerInPortuguese() {
    // The hermetic run has no Portuguese locale: the translation is loaded all the same.
    QVERIFY2(brevnote::installQtTranslations(*qApp),
             "Qt's translations (qt6-translations-l10n) are missing");
    QMessageBox box(QMessageBox::Question, u"Brevnote"_s, u"?"_s,
                    QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(u'&'), u"Sim"_s);
    QCOMPARE(box.button(QMessageBox::No)->text().remove(u'&'), u"Não"_s);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestStartupEnvironment)
#include "tst_startupenvironment.moc"
