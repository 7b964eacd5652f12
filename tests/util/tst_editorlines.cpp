#include "support/hermetic.h"
#include "util/ui/editorlines.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

using namespace brevnote;
using namespace Qt::StringLiterals;

class TestEditorLines : public QObject {
    Q_OBJECT

private slots:
    void linesOfTheEditor_data();
    void linesOfTheEditor();
    void replacingIsOneUndoStep();
    void replacingInSlicesAsTheWholeText_data();
    void replacingInSlicesAsTheWholeText();
    void scrollRangeFitsTheNewLines_data();
    void scrollRangeFitsTheNewLines();
    void cancelPutsTheOldTextBack_data();
    void cancelPutsTheOldTextBack();
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

void TestEditorLines::replacingInSlicesAsTheWholeText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("slice"); // paragraphs or lines per step; 0: all in finish()
    QTest::newRow("every line differs") << u"a\nb\nc"_s << QStringList{"x", "y", "z"} << 0;
    QTest::newRow("some lines kept") << u"a\nb\nc"_s << QStringList{"a", "Y", "c"} << 1;
    QTest::newRow("fewer lines") << u"a\nb\nc\nd"_s << QStringList{"a", "B"} << 1;
    QTest::newRow("more lines") << u"a"_s << QStringList{"a", "b", "c"} << 2;
    QTest::newRow("break at the end dropped") << u"b\na\n"_s << QStringList{"a", "b"} << 1;
    QTest::newRow("empty editor gets lines") << QString() << QStringList{"x", ""} << 0;
    QTest::newRow("no lines empties the editor") << u"a\nb"_s << QStringList() << 0;
    QTest::newRow("only a break") << u"\n"_s << QStringList{""} << 0;
    QTest::newRow("a line holding a break") << u"a\nb\nc"_s << QStringList{"x\ny", "b", "z"} << 1;
    // The earlier step typed "." at the end.
    QTest::newRow("nothing changes") << u"\na\nb"_s << QStringList{"", "a", "b."} << 1;
    QTest::newRow("emoji and empty lines") << u"😀a\n\n\nb"_s << QStringList{"😀b", "", "a"} << 2;
    QString many;
    QStringList reversed;
    for (int i = 0; i < 300; ++i) {
        many += u"linha %1\n"_s.arg(i);
        reversed.prepend(u"linha %1"_s.arg(i % 7 == 0 ? i : 299 - i));
    }
    QTest::newRow("scrolled, many lines") << many << reversed << 64;
}

// The replacement in slices leaves what inserting the whole joined text over the whole text
// leaves: the text, the caret, the view, one undo step and its redo.
void TestEditorLines::replacingInSlicesAsTheWholeText() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QFETCH(int, slice);
    QPlainTextEdit whole;
    QPlainTextEdit byLine;
    for (QPlainTextEdit *editor : {&whole, &byLine}) {
        editor->resize(200, 120);
        editor->show();
        editor->setPlainText(text);
        QTextCursor typing(editor->document());
        typing.movePosition(QTextCursor::End);
        typing.insertText(u"."_s); // an earlier undo step
        editor->verticalScrollBar()->setValue(40);
    }
    QVERIFY(QTest::qWaitForWindowExposed(&byLine));
    const QString before = whole.toPlainText();

    replaceEditorText(&whole, joinEditorLines(lines));
    {
        EditorLinesReplacement replacement(&byLine, lines);
        while (slice > 0 && replacement.done() < replacement.total())
            replacement.step(slice);
        replacement.finish();
    }
    QCOMPARE(byLine.toPlainText(), whole.toPlainText());
    QCOMPARE(byLine.toPlainText(), joinEditorLines(lines));
    QCOMPARE(byLine.textCursor().position(), whole.textCursor().position());
    QCOMPARE(byLine.verticalScrollBar()->value(), whole.verticalScrollBar()->value());
    for (QPlainTextEdit *editor : {&whole, &byLine}) {
        editor->undo();
        QCOMPARE(editor->toPlainText(), before);
        editor->redo();
        QCOMPARE(editor->toPlainText(), joinEditorLines(lines));
        editor->undo();
        editor->undo();
        QCOMPARE(editor->toPlainText(), text);
    }
}

void TestEditorLines::scrollRangeFitsTheNewLines_data() {
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("smallerFont");
    const QString wide(300, u'W');
    QStringList narrow;
    QStringList manyOld;
    for (int i = 0; i < 200; ++i) {
        narrow << u"linha %1"_s.arg(i % 10);
        manyOld << (i == 150 ? wide : u"antes"_s);
    }
    QStringList lastWidest = narrow;
    lastWidest.last() = u"a última linha, a mais larga de todas"_s;
    // The paragraph that held the widest old line is gone, or far below the view.
    QTest::newRow("fewer lines") << QStringList{u"a"_s, wide, u"b"_s} << QStringList{u"x"_s, u"y"_s}
                                 << false;
    QTest::newRow("widest old line out of view") << manyOld << narrow << false;
    // The caret goes to the last line, laid out before the top of the text is seen.
    QTest::newRow("new font, the last line the widest") << manyOld << lastWidest << true;
}

// After a replacement the horizontal scroll range is that of an editor given the new lines
// afresh: nothing of the old text's width stays.
void TestEditorLines::scrollRangeFitsTheNewLines() {
    QFETCH(QStringList, old);
    QFETCH(QStringList, lines);
    QFETCH(bool, smallerFont);
    QPlainTextEdit fresh;
    QPlainTextEdit replaced;
    QFont font = replaced.font();
    font.setPointSize(std::max(4, font.pointSize() / 2));
    for (QPlainTextEdit *editor : {&fresh, &replaced}) {
        editor->setLineWrapMode(QPlainTextEdit::NoWrap);
        editor->resize(300, 200);
        editor->show();
    }
    replaced.setPlainText(old.join(u'\n'));
    QVERIFY(QTest::qWaitForWindowExposed(&replaced));
    replaced.verticalScrollBar()->setValue(int(old.size()) * 3 / 4 - 3);
    QCoreApplication::processEvents(); // the widest old line is laid out
    replaced.verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();
    QVERIFY(replaced.horizontalScrollBar()->maximum() > 0);

    if (smallerFont)
        fresh.setFont(font);
    fresh.setPlainText(lines.join(u'\n'));
    fresh.moveCursor(QTextCursor::End);
    fresh.verticalScrollBar()->setValue(0);
    {
        EditorLinesReplacement replacement(&replaced, lines,
                                           smallerFont ? std::optional(font) : std::nullopt);
        while (replacement.done() < replacement.total())
            replacement.step(16);
        replacement.finish();
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(replaced.toPlainText(), fresh.toPlainText());
    QCOMPARE(replaced.font(), fresh.font());
    QCOMPARE(replaced.horizontalScrollBar()->maximum(), fresh.horizontalScrollBar()->maximum());
}

BREVNOTE_TEST_WIDGETS_MAIN(TestEditorLines)
void TestEditorLines::cancelPutsTheOldTextBack_data() {
    QTest::addColumn<int>("steps");    // of two paragraphs or lines each
    QTest::addColumn<bool>("dropped"); // left unfinished instead of cancelled
    QTest::newRow("nothing done") << 0 << false;
    QTest::newRow("old text partly gone") << 1 << false;
    QTest::newRow("old text gone, new font set") << 3 << false;
    QTest::newRow("new lines partly in") << 4 << false;
    QTest::newRow("dropped with new lines partly in") << 4 << true;
}

// A replacement given up at any point leaves the text, font, caret and undo history as they
// were before it began.
void TestEditorLines::cancelPutsTheOldTextBack() {
    QFETCH(int, steps);
    QFETCH(bool, dropped);
    QPlainTextEdit editor;
    editor.setPlainText(u"um\ndois\ntrês\nquatro\ncinco"_s);
    editor.textCursor().insertText(u"x"_s); // an earlier undo step
    QTextCursor caret(editor.document());
    caret.setPosition(4);
    caret.setPosition(9, QTextCursor::KeepAnchor);
    editor.setTextCursor(caret);
    const QString before = editor.toPlainText();
    const QFont font = editor.font();
    QFont courier(u"Courier New"_s);
    courier.setPointSize(font.pointSize() + 3);
    const QStringList lines{u"a"_s, u"b"_s, u"c"_s, u"d"_s};

    {
        EditorLinesReplacement replacement(&editor, lines, courier);
        for (int i = 0; i < steps; ++i)
            replacement.step(2);
        if (!dropped)
            replacement.cancel();
    }
    QCOMPARE(editor.toPlainText(), before);
    QCOMPARE(editor.font(), font);
    QCOMPARE(editor.textCursor().anchor(), 4);
    QCOMPARE(editor.textCursor().position(), 9);
    QVERIFY(editor.viewport()->updatesEnabled());
    QVERIFY(!editor.document()->isRedoAvailable());
    editor.undo();
    QCOMPARE(editor.toPlainText(), before.mid(1)); // the earlier step, untouched
}

#include "tst_editorlines.moc"
