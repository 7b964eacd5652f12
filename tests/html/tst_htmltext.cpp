#include "support/hermetic.h"

#include "html/htmlfile.h"
#include "html/htmltext.h"
#include "html/htmltextpanel.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QtTest>

using namespace brevnote;

class TestHtmlText : public QObject {
    Q_OBJECT

private slots:
    void colar_data();
    void colar();
    void copiarAndBrowse_data();
    void copiarAndBrowse();
    void utf8Declaration_data();
    void utf8Declaration();
    void panelStartsEmpty();
    void panelColarCopiarThroughTheClipboard();
    void panelBrowseConvertsOnlyWithCr2Br_data();
    void panelBrowseConvertsOnlyWithCr2Br();
};

void TestHtmlText::colar_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("memo");
    QTest::newRow("two source lines glued up to the tag")
        << QStringLiteral("Primeira li\r\nnha<br>segunda")
        << QStringLiteral("Primeira linha\r\nsegunda");
    QTest::newRow("lone line feeds removed too")
        << QStringLiteral("a\nb<br>c\nd") << QStringLiteral("ab\r\ncd");
    QTest::newRow("lone carriage returns removed too")
        << QStringLiteral("a\rb\r\r\nc") << QStringLiteral("abc");
    QTest::newRow("capitals and mixed case")
        << QStringLiteral("a<BR>b<Br>c<bR>d") << QStringLiteral("a\r\nb\r\nc\r\nd");
    QTest::newRow("self-closing forms stay")
        << QStringLiteral("a<br/>b<br />c") << QStringLiteral("a<br/>b<br />c");
    QTest::newRow("tags in a row give empty lines")
        << QStringLiteral("<br><br>x<br>") << QStringLiteral("\r\n\r\nx\r\n");
    QTest::newRow("empty clipboard") << QString() << QString();
}

void TestHtmlText::colar() {
    QFETCH(QString, pasted);
    QFETCH(QString, memo);
    QCOMPARE(PastedHtmlToLines(pasted), memo);
}

void TestHtmlText::copiarAndBrowse_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("html");
    QTest::newRow("two lines, no tag at the end")
        << QStringLiteral("a\r\nb") << QStringLiteral("a<br>b");
    QTest::newRow("last line ending in a break")
        << QStringLiteral("a\r\nb\r\n") << QStringLiteral("a<br>b<br>");
    QTest::newRow("lone line feed") << QStringLiteral("a\nb\r\nc") << QStringLiteral("a<br>b<br>c");
    QTest::newRow("empty lines kept")
        << QStringLiteral("a\r\n\r\nb") << QStringLiteral("a<br><br>b");
    QTest::newRow("empty memo") << QString() << QString();
}

void TestHtmlText::copiarAndBrowse() {
    QFETCH(QString, memo);
    QFETCH(QString, html);
    QCOMPARE(LinesToHtml(memo), html);
    QCOMPARE(HtmlToBrowse(memo, true), html);
    QCOMPARE(HtmlToBrowse(memo, false), memo);
}

void TestHtmlText::utf8Declaration_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QByteArray>("bytes");
    const QString body = QStringLiteral("<p>Atenção</p>");
    QTest::newRow("no declaration: Windows-1252") << body << QByteArray("<p>Aten\xE7\xE3o</p>");
    QTest::newRow("meta charset utf-8") << QStringLiteral("<meta charset=\"UTF-8\">") + body
                                        << (QByteArray("<meta charset=\"UTF-8\">") + body.toUtf8());
    QTest::newRow("content-type utf8")
        << QStringLiteral("<META http-equiv=Content-Type content='text/html; charset=utf8'>") + body
        << (QByteArray("<META http-equiv=Content-Type content='text/html; charset=utf8'>") +
            body.toUtf8());
    QTest::newRow("latin-1 declared: Windows-1252")
        << QStringLiteral("<meta charset=iso-8859-1>") + body
        << (QByteArray("<meta charset=iso-8859-1><p>Aten\xE7\xE3o</p>"));
    QTest::newRow("charset outside a meta tag does not count")
        << QStringLiteral("<p>charset=utf-8</p>ç") << QByteArray("<p>charset=utf-8</p>\xE7");
}

void TestHtmlText::utf8Declaration() {
    QFETCH(QString, html);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeHtmlDocument(html), bytes);
}

void TestHtmlText::panelStartsEmpty() {
    TfHTMLText panel;
    QCOMPARE(panel.windowTitle(), QStringLiteral("fHTMLText"));
    QVERIFY(panel.windowState() & Qt::WindowMaximized);
    QVERIFY(panel.memo()->toPlainText().isEmpty());
    QVERIFY(!panel.checkBoxCR2BR()->isChecked());
    QCOMPARE(panel.checkBoxCR2BR()->text(), QStringLiteral("CR2BR"));
    QCOMPARE(panel.checkBoxCR2BR()->toolTip(), QStringLiteral("Deixe esta opção marcada para\n"
                                                              "gerar quebra de linha HTM para\n"
                                                              "quebras de linha em modo texto. "));
}

void TestHtmlText::panelColarCopiarThroughTheClipboard() {
    TfHTMLText panel;
    panel.setMemoText(QStringLiteral("lost"));
    QGuiApplication::clipboard()->setText(QStringLiteral("um\ndois<BR>três<br>"));
    panel.ToolButton_ColarClick();
    QCOMPARE(panel.memoText(), QStringLiteral("umdois\r\ntrês\r\n"));
    QCOMPARE(panel.memo()->blockCount(), 3);

    panel.ToolButton_CopiarClick();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("umdois<br>três<br>"));
    QCOMPARE(panel.memoText(), QStringLiteral("umdois\r\ntrês\r\n")); // unchanged

    QGuiApplication::clipboard()->clear();
    panel.ToolButton_ColarClick();
    QCOMPARE(panel.memoText(), QString());
    panel.ToolButton_CopiarClick();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestHtmlText::panelBrowseConvertsOnlyWithCr2Br_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<bool>("crToBr");
    QTest::addColumn<QString>("page");
    QTest::newRow("unchecked: raw HTML")
        << QStringLiteral("a\r\n<b>b</b>") << false << QStringLiteral("a\r\n<b>b</b>");
    QTest::newRow("checked: breaks become tags")
        << QStringLiteral("a\r\n<b>b</b>") << true << QStringLiteral("a<br><b>b</b>");
    QTest::newRow("empty memo, empty page") << QString() << true << QString();
}

void TestHtmlText::panelBrowseConvertsOnlyWithCr2Br() {
    QFETCH(QString, memo);
    QFETCH(bool, crToBr);
    QFETCH(QString, page);
    TfHTMLText panel;
    QStringList shown;
    panel.setPageShower([&shown](const QString &html) { shown.append(html); });
    panel.setMemoText(memo);
    panel.checkBoxCR2BR()->setChecked(crToBr);
    panel.ToolButton_BrowseClick();
    QCOMPARE(shown, QStringList{page});
    QCOMPARE(panel.memoText(), memo);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestHtmlText)
#include "tst_htmltext.moc"
