#include "support/hermetic.h"
#include "util/ui/buttonpanel.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace brevnote;

namespace {

// A child of a test panel: "B" a push button, "L" a label; "-" marks it hidden.
struct ChildSpec {
    QString kind;
    QRect geometry;
};

using ChildSpecs = QList<ChildSpec>;
using Rects = QList<QRect>;

// Every child starts at (1, 1) so that one left in place is told apart from one moved.
ChildSpec button(int width, int height) {
    return {QStringLiteral("B"), QRect(1, 1, width, height)};
}
ChildSpec hiddenButton(int width, int height) {
    return {QStringLiteral("B-"), QRect(1, 1, width, height)};
}
ChildSpec label(int width, int height) {
    return {QStringLiteral("L"), QRect(1, 1, width, height)};
}
ChildSpec hiddenLabel(int width, int height) {
    return {QStringLiteral("L-"), QRect(1, 1, width, height)};
}

QList<QWidget *> makeChildren(QWidget *panel, const ChildSpecs &specs) {
    QList<QWidget *> children;
    for (const ChildSpec &spec : specs) {
        QWidget *child = spec.kind.startsWith(u'B')
                             ? static_cast<QWidget *>(new QPushButton(QStringLiteral("b"), panel))
                             : static_cast<QWidget *>(new QLabel(QStringLiteral("l"), panel));
        child->setGeometry(spec.geometry);
        if (spec.kind.endsWith(u'-'))
            child->hide();
        children.append(child);
    }
    return children;
}

Rects geometries(const QList<QWidget *> &children) {
    Rects rects;
    for (const QWidget *child : children)
        rects.append(child->geometry());
    return rects;
}

} // namespace

Q_DECLARE_METATYPE(ChildSpecs)

class TestButtonPanel : public QObject {
    Q_OBJECT

private slots:
    void centerButtons_data();
    void centerButtons();
    void arrangeButtons_data();
    void arrangeButtons();
    void arrangeFollowsTabOrder();
    void arrangeLeavesNoDefaultButton();
    void arrangeStylesThePanel();
    void enterPressesOnlyTheFocusedButton();
};

void TestButtonPanel::centerButtons_data() {
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<ChildSpecs>("children");
    QTest::addColumn<Rects>("expected");

    // total = sum of (width + 5); left = (panel width - total) / 2; top = (height - tallest) / 2
    QTest::newRow("two buttons") << QSize(400, 41) << ChildSpecs{button(75, 25), button(75, 25)}
                                 << Rects{{120, 8, 75, 25}, {200, 8, 75, 25}};
    QTest::newRow("widths differ, all get the tallest height")
        << QSize(400, 41) << ChildSpecs{button(100, 25), button(60, 30)}
        << Rects{{115, 5, 100, 30}, {220, 5, 60, 30}};
    QTest::newRow("hidden button leaves no gap")
        << QSize(400, 41) << ChildSpecs{button(75, 25), hiddenButton(75, 25), button(75, 25)}
        << Rects{{120, 8, 75, 25}, {1, 1, 75, 25}, {200, 8, 75, 25}};
    QTest::newRow("tall label sets the height, is not moved")
        << QSize(400, 41) << ChildSpecs{button(75, 25), label(50, 31), button(75, 25)}
        << Rects{{120, 5, 75, 31}, {1, 1, 50, 31}, {200, 5, 75, 31}};
    QTest::newRow("hidden label counts for nothing")
        << QSize(400, 41) << ChildSpecs{button(75, 25), hiddenLabel(50, 40)}
        << Rects{{160, 8, 75, 25}, {1, 1, 50, 40}};
    QTest::newRow("odd remainders truncate")
        << QSize(401, 40) << ChildSpecs{button(75, 25), button(75, 25)}
        << Rects{{120, 7, 75, 25}, {200, 7, 75, 25}};
    QTest::newRow("narrow panel: truncation toward zero")
        << QSize(99, 20) << ChildSpecs{button(75, 25), button(75, 25)}
        << Rects{{-30, -2, 75, 25}, {50, -2, 75, 25}};
    QTest::newRow("no visible buttons: nothing moves")
        << QSize(400, 41) << ChildSpecs{label(50, 31), hiddenButton(75, 25)}
        << Rects{{1, 1, 50, 31}, {1, 1, 75, 25}};
}

void TestButtonPanel::centerButtons() {
    QFETCH(QSize, panel);
    QFETCH(ChildSpecs, children);
    QFETCH(Rects, expected);
    QFrame frame;
    frame.resize(panel);
    const QList<QWidget *> widgets = makeChildren(&frame, children);
    CenterButtonsInPanel(&frame);
    QCOMPARE(geometries(widgets), expected);
    // Called again from the next resize, the row stays where it is.
    CenterButtonsInPanel(&frame);
    QCOMPARE(geometries(widgets), expected);
}

void TestButtonPanel::arrangeButtons_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<ChildSpecs>("children");
    QTest::addColumn<Rects>("expected");

    // Panel 400 x 41; buttons 75 x 25 and 100 x 30: total 185, top (41 - 30) / 2 = 5.
    const ChildSpecs two{button(75, 25), button(100, 30)};
    QTest::newRow("left") << 0 << two << Rects{{10, 5, 75, 25}, {90, 5, 100, 30}};
    QTest::newRow("right: 15 pixels after the last")
        << 1 << two << Rects{{205, 5, 75, 25}, {285, 5, 100, 30}};
    QTest::newRow("centre") << 2 << two << Rects{{107, 5, 75, 25}, {187, 5, 100, 30}};
    QTest::newRow("labels are neither counted nor moved")
        << 2 << ChildSpecs{label(60, 40), button(75, 25), button(100, 30)}
        << Rects{{1, 1, 60, 40}, {107, 5, 75, 25}, {187, 5, 100, 30}};
    QTest::newRow("hidden button leaves no gap")
        << 0 << ChildSpecs{button(75, 25), hiddenButton(50, 50), button(100, 30)}
        << Rects{{10, 5, 75, 25}, {1, 1, 50, 50}, {90, 5, 100, 30}};
    QTest::newRow("odd remainder truncates")
        << 2 << ChildSpecs{button(76, 26)} << Rects{{159, 7, 76, 26}};
    QTest::newRow("no visible buttons: nothing moves")
        << 2 << ChildSpecs{hiddenButton(75, 25)} << Rects{{1, 1, 75, 25}};
}

void TestButtonPanel::arrangeButtons() {
    QFETCH(int, alignment);
    QFETCH(ChildSpecs, children);
    QFETCH(Rects, expected);
    QFrame frame;
    frame.resize(400, 41);
    const QList<QWidget *> widgets = makeChildren(&frame, children);
    ArrangeButtonPanel(&frame, alignment);
    QCOMPARE(geometries(widgets), expected);
}

void TestButtonPanel::arrangeFollowsTabOrder() {
    QWidget window;
    auto *before = new QLineEdit(&window);
    auto *panel = new QFrame(&window);
    panel->resize(400, 41);
    auto *after = new QLineEdit(&window);
    const QList<QWidget *> buttons =
        makeChildren(panel, {button(75, 25), button(60, 25), button(90, 25)});
    // Created A, B, C; tab order C, A, B.
    QWidget::setTabOrder(before, buttons.at(2));
    QWidget::setTabOrder(buttons.at(2), buttons.at(0));
    QWidget::setTabOrder(buttons.at(0), buttons.at(1));
    QWidget::setTabOrder(buttons.at(1), after);

    ArrangeButtonPanel(panel, 0);
    QCOMPARE(buttons.at(2)->pos(), QPoint(10, 8));
    QCOMPARE(buttons.at(0)->pos(), QPoint(10 + 90 + 5, 8));
    QCOMPARE(buttons.at(1)->pos(), QPoint(10 + 90 + 5 + 75 + 5, 8));
}

void TestButtonPanel::arrangeLeavesNoDefaultButton() {
    QDialog dialog;
    auto *panel = new QFrame(&dialog);
    panel->resize(300, 41);
    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), panel);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    cancel->setAutoDefault(true);
    ArrangeButtonPanel(panel, 2);
    for (const QPushButton *b : {ok, cancel}) {
        QVERIFY(!b->isDefault());
        QVERIFY(!b->autoDefault());
    }
    // Showing the dialog makes no button the default either.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!ok->isDefault());
    QVERIFY(!cancel->isDefault());
}

void TestButtonPanel::arrangeStylesThePanel() {
    QFrame frame;
    frame.setFrameStyle(QFrame::Box | QFrame::Raised);
    frame.setLineWidth(2);
    frame.resize(300, 41);
    ArrangeButtonPanel(&frame, 2);
    QCOMPARE(frame.frameShape(), QFrame::NoFrame);
    QCOMPARE(frame.frameWidth(), 0);
    QCOMPARE(frame.contentsMargins(), QMargins(3, 3, 3, 3));
}

void TestButtonPanel::enterPressesOnlyTheFocusedButton() {
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    auto *panel = new QFrame(&dialog);
    panel->setGeometry(0, 40, 300, 41);
    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), panel);
    ok->setDefault(true);
    QSignalSpy okClicks(ok, &QPushButton::clicked);
    QSignalSpy cancelClicks(cancel, &QPushButton::clicked);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // As from the resize handler, after the dialog is up; twice, as resizes repeat.
    ArrangeButtonPanel(panel, 2);
    ArrangeButtonPanel(panel, 2);

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(okClicks.count(), 0);
    QCOMPARE(cancelClicks.count(), 0);

    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(okClicks.count(), 1);
    QTest::keyClick(cancel, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(cancelClicks.count(), 1);
    QCOMPARE(okClicks.count(), 1);

    // A disabled button stays silent.
    ok->setEnabled(false);
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(okClicks.count(), 1);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestButtonPanel)
#include "tst_buttonpanel.moc"
