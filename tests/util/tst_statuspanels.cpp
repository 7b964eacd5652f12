#include "support/hermetic.h"
#include "util/core/apperror.h"
#include "util/ui/statuspanels.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QSignalSpy>
#include <QtTest>

using namespace brevnote;

namespace {

// The bar's visible labels from left to right.
QList<QLabel *> shownLabels(const StatusPanels &bar) {
    QList<QLabel *> labels;
    for (QLabel *label : bar.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!label->isHidden())
            labels.append(label);
    }
    std::sort(labels.begin(), labels.end(),
              [](const QLabel *a, const QLabel *b) { return a->x() < b->x(); });
    return labels;
}

// A shown main window whose status bar has the pad's two panels (123 and 50 pixels).
struct ShownBar {
    QMainWindow window;
    StatusPanels *bar = new StatusPanels; // owned by the window from the constructor on

    explicit ShownBar(int width) {
        window.setStatusBar(bar);
        bar->setPanelWidths({123, 50});
        window.resize(width, 200);
        window.show();
    }
};

// Counts paint events of the widgets it watches.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestStatusPanels : public QObject {
    Q_OBJECT

private slots:
    void panelsHaveFixedWidthsAndTheLastStretches();
    void messageReplacesPanelTextAndReturnsPrevious();
    void simpleModeShowsOneTextAcross();
    void hiddenMessageChangesNothing();
    void missingPanelRaises_data();
    void missingPanelRaises();
    void longTextDoesNotWidenTheWindow();
    void textIsNeverMarkup();
    void messageIsPaintedAtOnce();
    void pauseBlocksTheCaller();
    void doubleClickAnywhereIsReported();
};

void TestStatusPanels::panelsHaveFixedWidthsAndTheLastStretches() {
    ShownBar shown(600);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    StatusPanels *bar = shown.bar;

    QCOMPARE(bar->panelCount(), 2);
    const QList<QLabel *> labels = shownLabels(*bar);
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels.at(0)->width(), 123);
    // The last panel takes what the first leaves, far more than its own 50 pixels.
    QVERIFY2(labels.at(1)->width() > 300, qPrintable(QString::number(labels.at(1)->width())));

    // Side by side once both hold text: the second starts where the first ends.
    bar->setPanelText(0, QStringLiteral("0008:0013"));
    bar->setPanelText(1, QStringLiteral("CheckTimer em 08/12/2026 17:36:05"));
    QTRY_VERIFY(labels.at(0)->isVisible());
    QCoreApplication::processEvents();
    QVERIFY2(labels.at(1)->x() >= labels.at(0)->x() + 123,
             qPrintable(QStringLiteral("panel 0 at %1, panel 1 at %2")
                            .arg(labels.at(0)->x())
                            .arg(labels.at(1)->x())));
    QCOMPARE(labels.at(0)->width(), 123);

    bar->setPanelWidths({160, 160, 160, 160});
    QCOMPARE(bar->panelCount(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bar->panelText(i), QString());
}

void TestStatusPanels::messageReplacesPanelTextAndReturnsPrevious() {
    StatusPanels bar;
    bar.setPanelWidths({123, 50});
    bar.setPanelText(1, QStringLiteral("CheckTimer em 08/12/2026"));

    QString previous = QStringLiteral("untouched");
    StatusBarMessage(&bar, 0, QStringLiteral("0001:0001"), &previous, true, 0);
    QCOMPARE(previous, QString());
    QCOMPARE(bar.panelText(0), QStringLiteral("0001:0001"));

    StatusBarMessage(&bar, 0, QStringLiteral("0012:0005"), &previous, true, 0);
    QCOMPARE(previous, QStringLiteral("0001:0001"));
    QCOMPARE(bar.panelText(0), QStringLiteral("0012:0005"));
    QCOMPARE(bar.panelText(1), QStringLiteral("CheckTimer em 08/12/2026"));

    // Callers that do not want the old text pass no place for it.
    StatusBarMessage(&bar, 1, QStringLiteral("x"), nullptr, true, 0);
    QCOMPARE(bar.panelText(1), QStringLiteral("x"));
}

void TestStatusPanels::simpleModeShowsOneTextAcross() {
    QMainWindow window;
    auto *bar = new StatusPanels;
    window.setStatusBar(bar);
    bar->setPanelWidths({120, 120});
    bar->setPanelText(0, QStringLiteral("panel"));
    bar->setSimpleMode(true);
    bar->setSimpleText(QStringLiteral("antes"));
    window.resize(500, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Texts given while the window was hidden are there once it shows.
    QCOMPARE(shownLabels(*bar).constFirst()->text(), QStringLiteral("antes"));

    QString previous;
    // In simple mode the index is not used, not even checked.
    StatusBarMessage(bar, 7, QStringLiteral("depois"), &previous, true, 0);
    QCOMPARE(previous, QStringLiteral("antes"));
    QCOMPARE(bar->simpleText(), QStringLiteral("depois"));
    QCOMPARE(bar->panelText(0), QStringLiteral("panel"));
    const QList<QLabel *> shown = shownLabels(*bar);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.constFirst()->text(), QStringLiteral("depois"));
    QVERIFY(shown.constFirst()->width() > 400);

    bar->setSimpleMode(false);
    QCOMPARE(shownLabels(*bar).size(), 2);
    QCOMPARE(shownLabels(*bar).constFirst()->text(), QStringLiteral("panel"));

    // Panels made while the bar is in simple mode stay hidden until it leaves it.
    bar->setSimpleMode(true);
    bar->setPanelWidths({80, 80, 80});
    QCoreApplication::processEvents();
    QCOMPARE(shownLabels(*bar).size(), 1);
    bar->setSimpleMode(false);
    QCOMPARE(shownLabels(*bar).size(), 3);
}

void TestStatusPanels::hiddenMessageChangesNothing() {
    StatusPanels bar;
    bar.setPanelWidths({100});
    bar.setPanelText(0, QStringLiteral("kept"));
    QString previous = QStringLiteral("untouched");
    StatusBarMessage(&bar, 0, QStringLiteral("new"), &previous, false, 0);
    // Not even a bad index is looked at.
    StatusBarMessage(&bar, 9, QStringLiteral("new"), &previous, false, 0);
    QCOMPARE(bar.panelText(0), QStringLiteral("kept"));
    QCOMPARE(previous, QStringLiteral("untouched"));
}

void TestStatusPanels::missingPanelRaises_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("one past the end") << 2;
    QTest::newRow("negative") << -1;
    QTest::newRow("far") << 99;
}

void TestStatusPanels::missingPanelRaises() {
    QFETCH(int, index);
    StatusPanels bar;
    bar.setPanelWidths({123, 50});
    QString previous = QStringLiteral("untouched");
    const QString expected = QStringLiteral("List index out of bounds (%1)").arg(index);
    try {
        StatusBarMessage(&bar, index, QStringLiteral("x"), &previous, true, 0);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), expected);
    }
    QCOMPARE(previous, QStringLiteral("untouched"));
    QCOMPARE(bar.panelText(0), QString());
    QVERIFY_THROWS_EXCEPTION(AppError, bar.panelText(index));
}

void TestStatusPanels::longTextDoesNotWidenTheWindow() {
    ShownBar shown(400);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    StatusPanels *bar = shown.bar;
    const int before = shown.window.minimumSizeHint().width();
    StatusBarMessage(bar, 1, QString(5000, u'x'), nullptr, true, 0);
    StatusBarMessage(bar, 0, QString(5000, u'y'), nullptr, true, 0);
    QCoreApplication::processEvents();
    QCOMPARE(shown.window.minimumSizeHint().width(), before);
    QCOMPARE(shown.window.width(), 400);
}

void TestStatusPanels::textIsNeverMarkup() {
    StatusPanels bar;
    bar.setPanelWidths({200});
    StatusBarMessage(&bar, 0, QStringLiteral("<b>a.txt</b>"), nullptr, true, 0);
    const QList<QLabel *> labels = bar.findChildren<QLabel *>();
    QVERIFY(!labels.isEmpty());
    for (const QLabel *label : labels)
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void TestStatusPanels::messageIsPaintedAtOnce() {
    ShownBar shown(400);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    StatusPanels *bar = shown.bar;
    QCoreApplication::processEvents();

    PaintCounter counter;
    for (QLabel *label : shownLabels(*bar))
        label->installEventFilter(&counter);
    // No event processing in between: the paint must happen inside the call.
    StatusBarMessage(bar, 0, QStringLiteral("0003:0004"), nullptr, true, 0);
    QVERIFY(counter.paints > 0);
}

void TestStatusPanels::pauseBlocksTheCaller() {
    StatusPanels bar;
    bar.setPanelWidths({100});
    QElapsedTimer clock;
    clock.start();
    StatusBarMessage(&bar, 0, QStringLiteral("x"), nullptr, true, 60);
    QVERIFY(clock.elapsed() >= 60);
}

void TestStatusPanels::doubleClickAnywhereIsReported() {
    ShownBar shown(400);
    QVERIFY(QTest::qWaitForWindowExposed(&shown.window));
    StatusPanels *bar = shown.bar;
    QSignalSpy spy(bar, &StatusPanels::doubleClicked);

    const QList<QLabel *> labels = shownLabels(*bar);
    QCOMPARE(labels.size(), 2);
    QTest::mouseDClick(labels.at(0), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QTest::mouseDClick(labels.at(1), Qt::LeftButton);
    QCOMPARE(spy.count(), 2);
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(0, 0));
    QCOMPARE(spy.count(), 3);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestStatusPanels)
#include "tst_statuspanels.moc"
