#include "support/hermetic.h"
#include "util/core/apperror.h"
#include "util/ui/listroutines.h"

#include <QComboBox>
#include <QListWidget>
#include <QtTest>

using namespace brevnote;

namespace {

// Fills the box and selects `selected` the way a click does (-1: nothing selected).
void fillList(QListWidget &box, const QStringList &items, int selected) {
    box.addItems(items);
    if (selected >= 0)
        box.setCurrentRow(selected, QItemSelectionModel::ClearAndSelect);
    else
        box.clearSelection();
}

QStringList itemTexts(const QListWidget &box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts.append(box.item(i)->text());
    return texts;
}

QStringList itemTexts(const QComboBox &combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

// The option lists of the column cutter (labels differ from names).
const Field kTodos{QStringLiteral("Todos"), QStringLiteral("Todos os caracteres")};
const Field kEspaco{QStringLiteral("Espaco"), QStringLiteral("Espaço")};
const Field kVirgula{QStringLiteral("virgula"), QStringLiteral("Vírgula")};
const Field kNenhum{QStringLiteral("Nenhum"), QStringLiteral("Nenhum")};

} // namespace

class TestListRoutines : public QObject {
    Q_OBJECT

private slots:
    void itemText_data();
    void itemText();
    void itemTextPastTheEndRaises();
    void deleteSelected_data();
    void deleteSelected();
    void fillUnsorted_data();
    void fillUnsorted();
    void fillSorted_data();
    void fillSorted();
    void refillReplacesItems();
    void comboSelectsFieldByIdentity();
};

void TestListRoutines::itemText_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("selected item") << abc << 1 << -1 << QStringLiteral("b");
    QTest::newRow("no selection") << abc << -1 << -1 << QString();
    QTest::newRow("empty list") << QStringList() << -1 << -1 << QString();
    QTest::newRow("any negative index") << abc << 2 << -7 << QStringLiteral("c");
    QTest::newRow("given index ignores the selection") << abc << 1 << 0 << QStringLiteral("a");
    QTest::newRow("last index") << abc << -1 << 2 << QStringLiteral("c");
}

void TestListRoutines::itemText() {
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(int, index);
    QFETCH(QString, text);
    QListWidget box;
    fillList(box, items, selected);
    QCOMPARE(ListBoxItemText(&box, index), text);
}

void TestListRoutines::itemTextPastTheEndRaises() {
    QListWidget box;
    fillList(box, {QStringLiteral("a"), QStringLiteral("b")}, 0);
    try {
        ListBoxItemText(&box, 2);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("List index out of bounds (2)"));
    }
    // A current row left without selection is no selection.
    box.clearSelection();
    QCOMPARE(box.currentRow(), 0);
    QCOMPARE(ListBoxItemText(&box, -1), QString());
}

void TestListRoutines::deleteSelected_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("selectedAfter");
    const QStringList abc{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QTest::newRow("middle: the next moves up and is selected")
        << abc << 1 << QStringList{QStringLiteral("a"), QStringLiteral("c")} << 1;
    QTest::newRow("first") << abc << 0 << QStringList{QStringLiteral("b"), QStringLiteral("c")}
                           << 0;
    QTest::newRow("last of three: the new last is selected")
        << abc << 2 << QStringList{QStringLiteral("a"), QStringLiteral("b")} << 1;
    QTest::newRow("only item: empty, nothing selected")
        << QStringList{QStringLiteral("a")} << 0 << QStringList() << -1;
    QTest::newRow("no selection: nothing changes") << abc << -1 << abc << -1;
    QTest::newRow("empty list") << QStringList() << -1 << QStringList() << -1;
}

void TestListRoutines::deleteSelected() {
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(QStringList, after);
    QFETCH(int, selectedAfter);
    QListWidget box;
    fillList(box, items, selected);
    ListBoxDeleteSelected(&box);
    QCOMPARE(itemTexts(box), after);
    QCOMPARE(box.selectedItems().size(), selectedAfter >= 0 ? 1 : 0);
    if (selectedAfter >= 0) {
        QCOMPARE(box.currentRow(), selectedAfter);
        QCOMPARE(ListBoxItemText(&box, -1), after.at(selectedAfter));
    } else {
        QCOMPARE(ListBoxItemText(&box, -1), QString());
    }
}

void TestListRoutines::fillUnsorted_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("selected");
    QTest::newRow("exact name") << QStringLiteral("Nenhum") << 3;
    QTest::newRow("name in another case") << QStringLiteral("VIRGULA") << 2;
    QTest::newRow("first field") << QStringLiteral("todos") << 0;
    QTest::newRow("a label is not a name") << QStringLiteral("Espaço") << -1;
    QTest::newRow("no such field") << QStringLiteral("Ponto") << -1;
    QTest::newRow("empty name") << QString() << -1;
}

void TestListRoutines::fillUnsorted() {
    QFETCH(QString, fieldName);
    QFETCH(int, selected);
    QComboBox combo;
    FillFieldCombo(&combo, {&kTodos, &kEspaco, &kVirgula, &kNenhum}, fieldName, false);
    // The field list's own order, labels shown.
    QCOMPARE(itemTexts(combo),
             (QStringList{kTodos.label, kEspaco.label, kVirgula.label, kNenhum.label}));
    QCOMPARE(combo.currentIndex(), selected);
}

void TestListRoutines::fillSorted_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("selected");
    // Sorted by name, case-blind: Espaco, Nenhum, Todos, virgula.
    QTest::newRow("label equal to the name") << QStringLiteral("nenhum") << 1;
    // The sorted mode matches the name against the item texts, which are the labels.
    QTest::newRow("label differs from the name") << QStringLiteral("Todos") << -1;
    QTest::newRow("a label matches") << QStringLiteral("todos os caracteres") << 2;
    QTest::newRow("no match") << QStringLiteral("Ponto") << -1;
}

void TestListRoutines::fillSorted() {
    QFETCH(QString, fieldName);
    QFETCH(int, selected);
    QComboBox combo;
    FillFieldCombo(&combo, {&kTodos, &kEspaco, &kVirgula, &kNenhum}, fieldName, true);
    QCOMPARE(itemTexts(combo),
             (QStringList{kEspaco.label, kNenhum.label, kTodos.label, kVirgula.label}));
    QCOMPARE(combo.currentIndex(), selected);
    QCOMPARE(ComboSelectsField(&combo, &kEspaco), false);
    if (selected == 1)
        QVERIFY(ComboSelectsField(&combo, &kNenhum));
}

void TestListRoutines::refillReplacesItems() {
    QComboBox combo;
    FillFieldCombo(&combo, {&kTodos, &kEspaco}, QStringLiteral("Espaco"), false);
    FillFieldCombo(&combo, {&kNenhum}, QStringLiteral("Todos"), false);
    QCOMPARE(itemTexts(combo), QStringList{kNenhum.label});
    QCOMPARE(combo.currentIndex(), -1);
    FillFieldCombo(&combo, {}, QStringLiteral("Todos"), false);
    QCOMPARE(combo.count(), 0);
    QCOMPARE(combo.currentIndex(), -1);
}

void TestListRoutines::comboSelectsFieldByIdentity() {
    QComboBox combo;
    FillFieldCombo(&combo, {&kTodos, &kEspaco, &kNenhum}, QStringLiteral("Espaco"), false);
    QVERIFY(ComboSelectsField(&combo, &kEspaco));
    QVERIFY(!ComboSelectsField(&combo, &kTodos));
    // An equal field that is another object is not the one selected.
    const Field copy = kEspaco;
    QVERIFY(!ComboSelectsField(&combo, &copy));
    QVERIFY(!ComboSelectsField(&combo, nullptr));

    combo.setCurrentIndex(-1);
    QVERIFY(!ComboSelectsField(&combo, &kEspaco));

    // Nothing selected after a fill without a match, also for fields the list holds.
    FillFieldCombo(&combo, {&kTodos, &kEspaco}, QStringLiteral("Ponto"), false);
    QVERIFY(!ComboSelectsField(&combo, &kTodos));
    QVERIFY(!ComboSelectsField(&combo, &kEspaco));
    combo.setCurrentIndex(0);
    QVERIFY(ComboSelectsField(&combo, &kTodos));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestListRoutines)
#include "tst_listroutines.moc"
