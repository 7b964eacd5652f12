#include "support/hermetic.h"
#include "util/ui/editorroutines.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

using namespace brevnote;

namespace {

void placeCaret(QPlainTextEdit &editor, int anchor, int position) {
    QTextCursor cursor(editor.document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

QString numberedLines(int count, const QString &line) {
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(line);
    return lines.join(u'\n');
}

// A 300 x 200 editor with word wrap on, shown.
void showWrapping(QPlainTextEdit &editor) {
    editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor.resize(300, 200);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
}

// How many letters "a" fill that share of the editor's line.
int lettersForShare(const QPlainTextEdit &editor, double share) {
    const qreal available = editor.viewport()->width() - 2 * editor.document()->documentMargin();
    return int(available * share / QFontMetrics(editor.font()).horizontalAdvance(u'a'));
}

// The screen line of the caret counted the slow way: every block above laid out and counted.
int screenLineByLayingOutAll(QPlainTextEdit &editor) {
    QTextDocument *document = editor.document();
    const QTextBlock caretBlock = document->findBlock(editor.textCursor().position());
    int line = 0;
    for (QTextBlock block = document->firstBlock(); block != caretBlock; block = block.next()) {
        document->documentLayout()->blockBoundingRect(block);
        line += block.layout()->lineCount();
    }
    document->documentLayout()->blockBoundingRect(caretBlock);
    const QTextLine textLine = caretBlock.layout()->lineForTextPosition(
        editor.textCursor().position() - caretBlock.position());
    return line + textLine.lineNumber() + 1;
}

} // namespace

class TestEditorRoutines : public QObject {
    Q_OBJECT

private slots:
    void caretWithoutWrap_data();
    void caretWithoutWrap();
    void wrappedLinesCountAsTheEditorShowsThem_data();
    void wrappedLinesCountAsTheEditorShowsThem();
    void wrappedLinesCountAlsoWhereNeverLaidOut_data();
    void wrappedLinesCountAlsoWhereNeverLaidOut();
    void wrappedLinesStayRightAfterChanges_data();
    void wrappedLinesStayRightAfterChanges();
};

void TestEditorRoutines::caretWithoutWrap_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("expected");

    const QString twelve = numberedLines(12, QStringLiteral("abcdefgh"));
    const int twelfthLine = 11 * 9; // eight characters and a break per line

    QTest::newRow("empty editor") << QString() << 0 << 0 << QStringLiteral("0001:0001");
    QTest::newRow("start of text") << twelve << 0 << 0 << QStringLiteral("0001:0001");
    QTest::newRow("12th line, 5th character")
        << twelve << twelfthLine + 4 << twelfthLine + 4 << QStringLiteral("0012:0005");
    QTest::newRow("end of a line") << twelve << 8 << 8 << QStringLiteral("0001:0009");
    QTest::newRow("start of the next line") << twelve << 9 << 9 << QStringLiteral("0002:0001");
    QTest::newRow("selection made backwards: its start counts")
        << twelve << twelfthLine + 6 << 10 << QStringLiteral("0002:0002");
    QTest::newRow("selection made forwards: its start counts")
        << twelve << 10 << twelfthLine + 6 << QStringLiteral("0002:0002");
    QTest::newRow("empty lines") << QStringLiteral("\n\n\n") << 3 << 3
                                 << QStringLiteral("0004:0001");
    QTest::newRow("line number over 9999 written in full")
        << numberedLines(12345, QStringLiteral("x")) << 12344 * 2 << 12344 * 2
        << QStringLiteral("12345:0001");
    QTest::newRow("column over 9999 written in full")
        << QString(10004, u'y') << 10004 << 10004 << QStringLiteral("0001:10005");
}

void TestEditorRoutines::caretWithoutWrap() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, expected);
    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.setPlainText(text);
    placeCaret(editor, anchor, position);
    QCOMPARE(EditCaretPos(&editor), expected);
}

// One text line of three words, each word wider than half the editor: with word wrap on the
// editor shows it as three lines, and every one of them counts.
void TestEditorRoutines::wrappedLinesCountAsTheEditorShowsThem_data() {
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("word");   // 0 to 2 in the first block
    QTest::addColumn<int>("offset"); // within the word, or the column in the second block
    QTest::addColumn<QString>("wrapped");
    QTest::addColumn<QString>("unwrapped");
    QTest::newRow("first word") << 0 << 0 << 0 << QStringLiteral("0001:0001")
                                << QStringLiteral("0001:0001");
    QTest::newRow("second word starts the second line")
        << 0 << 1 << 0 << QStringLiteral("0002:0001") << QStringLiteral("0001:%1");
    QTest::newRow("third word, third character")
        << 0 << 2 << 2 << QStringLiteral("0003:0003") << QStringLiteral("0001:%2");
    QTest::newRow("next text line after the wrapped one")
        << 1 << 0 << 1 << QStringLiteral("0004:0002") << QStringLiteral("0002:0002");
}

void TestEditorRoutines::wrappedLinesCountAsTheEditorShowsThem() {
    QFETCH(int, block);
    QFETCH(int, word);
    QFETCH(int, offset);
    QFETCH(QString, wrapped);
    QFETCH(QString, unwrapped);

    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor.resize(320, 300);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));

    const qreal available = editor.viewport()->width() - 2 * editor.document()->documentMargin();
    const int charWidth = QFontMetrics(editor.font()).horizontalAdvance(u'a');
    QVERIFY(charWidth > 0);
    const int n = int(available * 0.6 / charWidth);
    QVERIFY2(n >= 4, "the editor is too narrow for the test");
    const QString aWord(n, u'a');
    editor.setPlainText(aWord + u' ' + aWord + u' ' + aWord + QStringLiteral("\nxyz"));
    QCoreApplication::processEvents();
    QCOMPARE(editor.document()->firstBlock().layout()->lineCount(), 3);

    const int position =
        block == 0 ? word * (n + 1) + offset : editor.document()->lastBlock().position() + offset;
    placeCaret(editor, position, position);
    QCOMPARE(EditCaretPos(&editor), wrapped);

    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    QCoreApplication::processEvents();
    const QString expected =
        unwrapped.contains(u'%') ? unwrapped.arg(position + 1, 4, 10, QChar(u'0')) : unwrapped;
    QCOMPARE(EditCaretPos(&editor), expected);
}

// 200 text lines that the editor shows as four lines each: the end of the text is on line
// 800, although only the lines near the caret have been laid out (and a resize clears them).
void TestEditorRoutines::wrappedLinesCountAlsoWhereNeverLaidOut_data() {
    QTest::addColumn<bool>("resized");
    QTest::newRow("never laid out") << false;
    QTest::newRow("laid out again after a resize") << true;
}

void TestEditorRoutines::wrappedLinesCountAlsoWhereNeverLaidOut() {
    QFETCH(bool, resized);
    QPlainTextEdit editor;
    showWrapping(editor);
    // Four words, each wider than half the line: one screen line each.
    const int n = lettersForShare(editor, 0.6);
    QVERIFY2(n >= 4, "the editor is too narrow for the test");
    const QString aWord(n, u'a');
    const QString line = QStringList(4, aWord).join(u' ');
    editor.setPlainText(QStringList(200, line).join(u'\n'));
    QCoreApplication::processEvents();
    if (resized) {
        editor.moveCursor(QTextCursor::End);
        QCoreApplication::processEvents();
        editor.resize(600, 200);
        QCoreApplication::processEvents();
        editor.resize(300, 200);
        QCoreApplication::processEvents();
    }

    editor.moveCursor(QTextCursor::End);
    QCOMPARE(EditCaretPos(&editor), QStringLiteral("0800:%1").arg(n + 1, 4, 10, QChar(u'0')));
    editor.moveCursor(QTextCursor::Start);
    editor.moveCursor(QTextCursor::Down); // the second screen line of the first text line
    QCOMPARE(EditCaretPos(&editor), QStringLiteral("0002:0001"));
}

// Every change that lays blocks out anew or edits them, made after a first call has walked
// the whole text: the next answer counts the lines as the editor now shows them.
void TestEditorRoutines::wrappedLinesStayRightAfterChanges_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("nothing changed") << QStringLiteral("none");
    QTest::newRow("two words typed above wrap one more line") << QStringLiteral("type");
    QTest::newRow("a break inserted above") << QStringLiteral("enter");
    QTest::newRow("a line removed above") << QStringLiteral("remove");
    QTest::newRow("wider editor") << QStringLiteral("wider");
    QTest::newRow("larger font") << QStringLiteral("font");
    QTest::newRow("whole text replaced") << QStringLiteral("replace");
}

void TestEditorRoutines::wrappedLinesStayRightAfterChanges() {
    QFETCH(QString, change);
    QPlainTextEdit editor;
    showWrapping(editor);
    // Five words, each a little under a third of the line: two screen lines each.
    const int n = lettersForShare(editor, 0.3);
    QVERIFY2(n >= 4, "the editor is too narrow for the test");
    const QString line = QStringList(5, QString(n, u'a')).join(u' ');
    editor.setPlainText(QStringList(100, line).join(u'\n'));
    editor.moveCursor(QTextCursor::End);
    const QString before = EditCaretPos(&editor);
    QCOMPARE(before.section(u':', 0, 0).toInt(), screenLineByLayingOutAll(editor));

    QTextCursor cursor(editor.document()->findBlockByNumber(10));
    if (change == u"type") {
        cursor.insertText(QString(n, u'b') + u' ' + QString(n, u'b') + u' ');
    } else if (change == u"enter") {
        cursor.movePosition(QTextCursor::EndOfWord);
        cursor.insertText(QStringLiteral("\n"));
    } else if (change == u"remove") {
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.removeSelectedText();
    } else if (change == u"wider") {
        editor.resize(500, 200);
    } else if (change == u"font") {
        QFont font = editor.font();
        font.setPointSizeF(font.pointSizeF() * 1.5);
        editor.setFont(font);
    } else if (change == u"replace") {
        editor.setPlainText(QStringList(60, line + u' ' + line).join(u'\n'));
    }
    QCoreApplication::processEvents();
    editor.moveCursor(QTextCursor::End);
    const QString after = EditCaretPos(&editor);
    QCOMPARE(after.section(u':', 0, 0).toInt(), screenLineByLayingOutAll(editor));
    QCOMPARE(after == before, change == u"none");
}

BREVNOTE_TEST_WIDGETS_MAIN(TestEditorRoutines)
#include "tst_editorroutines.moc"
