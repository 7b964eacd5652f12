#include "support/hermetic.h"

#include "util/ui/statuspanels.h"
#include "util/ui/textviewer.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

using namespace brevnote;

namespace {

TfRascunho *shownViewer() {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *viewer = qobject_cast<TfRascunho *>(widget);
        if (viewer && viewer->isVisible())
            return viewer;
    }
    return nullptr;
}

} // namespace

class TestTextViewer : public QObject {
    Q_OBJECT

private slots:
    void captionAndText_data();
    void captionAndText();
    void caretText_data();
    void caretText();
    void readOnlyWithoutWrapAndCaretFollowsKeys();
};

void TestTextViewer::captionAndText_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("empty list, empty title") << QStringList() << QString() << "Itens: 0";
    QTest::newRow("count of lines") << QStringList({"a", "", "c"}) << QString() << "Itens: 3";
    QTest::newRow("title used unchanged")
        << QStringList({"a", "b"}) << QStringLiteral("Arquivos a enviar") << "Arquivos a enviar";
}

void TestTextViewer::captionAndText() {
    QFETCH(QStringList, lines);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    QString seenCaption;
    QString seenText;
    bool maximized = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        TfRascunho *viewer = shownViewer();
        if (!viewer)
            return;
        seen = true;
        seenCaption = viewer->windowTitle();
        seenText = viewer->textFile()->toPlainText();
        maximized = viewer->windowState() & Qt::WindowMaximized;
        viewer->close();
    });
    ShowTextWindow(lines, title, true);
    QVERIFY(seen);
    QCOMPARE(seenCaption, caption);
    QCOMPARE(seenText, lines.join(u'\n'));
    QVERIFY(maximized);
    QCOMPARE(shownViewer(), nullptr);
    QCoreApplication::processEvents();
    QVERIFY(QApplication::topLevelWidgets().isEmpty()); // destroyed before returning
}

void TestTextViewer::caretText_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("start of the text") << 0 << "   1:0";
    QTest::newRow("sixth character of the third line") << 12 << "   3:5";
    QTest::newRow("end of a line") << 3 << "   1:3";
    QTest::newRow("tenth line, no padding") << 40 << "   10:1";
}

void TestTextViewer::caretText() {
    QFETCH(int, position);
    QFETCH(QString, text);
    TfRascunho viewer;
    // Lines: "abc", "de", "fghijkl", then 7 lines "xyz".
    QStringList lines{"abc", "de", "fghijkl"};
    for (int i = 0; i < 7; ++i)
        lines.append(QStringLiteral("xyz"));
    viewer.present(lines, QString());
    QTextCursor cursor = viewer.textFile()->textCursor();
    cursor.setPosition(position);
    viewer.textFile()->setTextCursor(cursor);
    QCOMPARE(LinColText(viewer.textFile()), text);
    viewer.LinColMemo();
    QCOMPARE(viewer.statusBar()->panelText(0), text);
}

void TestTextViewer::readOnlyWithoutWrapAndCaretFollowsKeys() {
    TfRascunho viewer;
    const QString longLine(500, u'w');
    viewer.present({QStringLiteral("um"), longLine, QStringLiteral("tres")}, QString());
    viewer.show();
    QPlainTextEdit *text = viewer.textFile();
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(text->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(viewer.statusBar()->panelCount(), 4);
    QCOMPARE(viewer.statusBar()->panelText(0), QStringLiteral("   1:0"));

    QTest::keyClicks(text, QStringLiteral("zz"));
    QCOMPARE(text->toPlainText(), QStringLiteral("um\n") + longLine + QStringLiteral("\ntres"));

    QTest::keyClick(text, Qt::Key_Down);
    QTest::keyClick(text, Qt::Key_End);
    QCOMPARE(viewer.statusBar()->panelText(0), QStringLiteral("   2:500"));
    QVERIFY(text->horizontalScrollBar()->value() > 0); // scrolled to the long line's end
}

BREVNOTE_TEST_WIDGETS_MAIN(TestTextViewer)
#include "tst_textviewer.moc"
