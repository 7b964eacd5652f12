#include "support/hermetic.h"
#include "util/ui/editorlines.h"

#include <QPlainTextEdit>
#include <QtTest>

using namespace brevnote;

class TestEditorLines : public QObject {
    Q_OBJECT

private slots:
    void linesOfTheEditor_data();
    void linesOfTheEditor();
    void replacingIsOneUndoStep();
};

void TestEditorLines::linesOfTheEditor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pad");   // EmptyLastParagraph::IsALine
    QTest::addColumn<QStringList>("tools"); // EmptyLastParagraph::StartsNoLine
    QTest::newRow("empty editor") << QString() << QStringList() << QStringList();
    QTest::newRow("one line") << QStringLiteral("a") << QStringList{"a"} << QStringList{"a"};
    QTest::newRow("break at the end")
        << QStringLiteral("a\nb\n") << QStringList{"a", "b", ""} << QStringList{"a", "b"};
    QTest::newRow("only a break") << QStringLiteral("\n") << QStringList{"", ""} << QStringList{""};
    QTest::newRow("empty lines inside stay")
        << QStringLiteral("a\n\nb") << QStringList{"a", "", "b"} << QStringList{"a", "", "b"};
    QTest::newRow("two breaks at the end: one empty line stays")
        << QStringLiteral("a\n\n") << QStringList{"a", "", ""} << QStringList{"a", ""};
    QTest::newRow("non-breaking space kept")
        << QStringLiteral("a\u00A0b") << QStringList{"a\u00A0b"} << QStringList{"a\u00A0b"};
}

void TestEditorLines::linesOfTheEditor() {
    QFETCH(QString, text);
    QFETCH(QStringList, pad);
    QFETCH(QStringList, tools);
    QPlainTextEdit editor;
    editor.setPlainText(text);
    QCOMPARE(editorLines(&editor), pad);
    QCOMPARE(editorLines(&editor, EmptyLastParagraph::StartsNoLine), tools);
    QCOMPARE(editorText(&editor), pad.join(u'\n'));
}

void TestEditorLines::replacingIsOneUndoStep() {
    QPlainTextEdit editor;
    editor.setPlainText(QStringLiteral("antes"));
    editor.textCursor().insertText(QStringLiteral("x"));
    replaceEditorLines(&editor, {QStringLiteral("um"), QStringLiteral("dois")});
    QCOMPARE(editorLines(&editor), QStringList({"um", "dois"}));
    editor.undo();
    QCOMPARE(editor.toPlainText(), QStringLiteral("xantes"));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestEditorLines)
#include "tst_editorlines.moc"
