#include "support/hermetic.h"
#include "util/ui/qfontconvert.h"

#include <QGuiApplication>
#include <QPalette>
#include <QtTest>

using namespace brevnote;

class TestQFontConvert : public QObject {
    Q_OBJECT

private slots:
    void colourIsBlueGreenRed_data();
    void colourIsBlueGreenRed();
    void systemColourIsTheTextColour();
    void descriptionBecomesQFont();
    void qfontBecomesDescription();
    void pixelSizedFontKeepsItsHeight();
    void roundTripKeepsEverything();
};

void TestQFontConvert::colourIsBlueGreenRed_data() {
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<QColor>("color");
    QTest::newRow("navy") << qint32(0x800000) << QColor(0, 0, 128);
    QTest::newRow("red") << qint32(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("pale yellow") << qint32(0xE1FFFF) << QColor(255, 255, 225);
    QTest::newRow("black") << qint32(0) << QColor(0, 0, 0);
    QTest::newRow("white") << qint32(0xFFFFFF) << QColor(255, 255, 255);
}

void TestQFontConvert::colourIsBlueGreenRed() {
    QFETCH(qint32, stored);
    QFETCH(QColor, color);
    FontDescription description;
    description.color = stored;
    QCOMPARE(toQColor(description), color);
    QCOMPARE(describeFont(QFont(), color).color, stored);
}

void TestQFontConvert::systemColourIsTheTextColour() {
    FontDescription description;
    description.color = qint32(0xFF000008); // the system's window text colour
    QCOMPARE(toQColor(description), QGuiApplication::palette().color(QPalette::Text));
}

void TestQFontConvert::descriptionBecomesQFont() {
    FontDescription description;
    description.name = QStringLiteral("Courier New");
    description.setSize(12);
    description.pitch = 2;
    description.bold = true;
    description.underline = true;
    const QFont font = toQFont(description);
    QCOMPARE(font.family(), QStringLiteral("Courier New"));
    QCOMPARE(font.pointSize(), 12);
    QVERIFY(font.fixedPitch());
    QCOMPARE(font.styleHint(), QFont::Monospace);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    QVERIFY(font.underline());
    QVERIFY(!font.strikeOut());
}

void TestQFontConvert::qfontBecomesDescription() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(9);
    font.setItalic(true);
    font.setStrikeOut(true);
    const FontDescription description = describeFont(font, QColor(0x80, 0x80, 0));
    QCOMPARE(description.name, QStringLiteral("Arial"));
    QCOMPARE(description.size(), 9);
    QCOMPARE(description.height(), -12); // 9 points at 96 pixels per inch
    QCOMPARE(description.pitch, 0);
    QCOMPARE(description.color, qint32(0x008080)); // teal
    QVERIFY(!description.bold);
    QVERIFY(description.italic);
    QVERIFY(!description.underline);
    QVERIFY(description.strikeOut);
}

void TestQFontConvert::pixelSizedFontKeepsItsHeight() {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(16);
    const FontDescription description = describeFont(font, Qt::black);
    QCOMPARE(description.height(), -16);
    QCOMPARE(description.size(), 12);
}

void TestQFontConvert::roundTripKeepsEverything() {
    FontDescription original;
    original.name = QStringLiteral("Arial");
    original.setSize(11);
    original.color = 0x123456;
    original.pitch = 2;
    original.italic = true;
    original.strikeOut = true;
    const FontDescription back = describeFont(toQFont(original), toQColor(original));
    QCOMPARE(FontToText(back), FontToText(original));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestQFontConvert)
#include "tst_qfontconvert.moc"
