#include "util/ui/listroutines.h"

#include "util/core/apperror.h"

#include <QCollator>
#include <QComboBox>
#include <QListWidget>

#include <algorithm>
#include <memory>

namespace brevnote {

namespace {

// The selected index of a list box: the current row when its item is selected, else -1
// (a list can have a current row that is not selected, e.g. after clearSelection()).
int selectedRow(const QListWidget *box) {
    const int row = box->currentRow();
    if (row < 0)
        return -1;
    const QListWidgetItem *item = box->item(row);
    return item && item->isSelected() ? row : -1;
}

void selectRow(QListWidget *box, int row) {
    box->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

quintptr fieldKey(const Field *field) {
    return reinterpret_cast<quintptr>(field);
}

} // namespace

QString ListBoxItemText(const QListWidget *box, int index) {
    if (index >= 0) {
        if (index >= box->count())
            throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
        return box->item(index)->text();
    }
    const int row = selectedRow(box);
    return row >= 0 ? box->item(row)->text() : QString();
}

void ListBoxDeleteSelected(QListWidget *box) {
    const int row = selectedRow(box);
    if (row < 0 || box->count() == 0)
        return;
    const std::unique_ptr<QListWidgetItem> removed(box->takeItem(row));
    if (box->count() == 0) {
        box->clearSelection();
        box->setCurrentRow(-1);
        return;
    }
    selectRow(box, row < box->count() ? row : box->count() - 1);
}

void FillFieldCombo(QComboBox *combo, const FieldList &fields, const QString &fieldName,
                    bool sorted) {
    // A QComboBox never sorts its items by itself, so there is no sorting to switch off.
    combo->clear();

    if (!sorted) {
        int selected = -1;
        for (const Field *field : fields) {
            if (!field)
                continue;
            combo->addItem(field->label, QVariant::fromValue(fieldKey(field)));
            if (field->name.compare(fieldName, Qt::CaseInsensitive) == 0)
                selected = combo->count() - 1;
        }
        combo->setCurrentIndex(selected);
        return;
    }

    FieldList byName;
    std::copy_if(fields.cbegin(), fields.cend(), std::back_inserter(byName),
                 [](const Field *field) { return field != nullptr; });
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(byName.begin(), byName.end(), [&collator](const Field *a, const Field *b) {
        return collator.compare(a->name, b->name) < 0;
    });
    for (const Field *field : std::as_const(byName))
        combo->addItem(field->label, QVariant::fromValue(fieldKey(field)));
    // The sorted mode looks the name up among the item texts (the labels), not the names.
    combo->setCurrentIndex(combo->findText(fieldName, Qt::MatchFixedString));
}

bool ComboSelectsField(const QComboBox *combo, const Field *field) {
    const int index = combo->currentIndex();
    if (index < 0 || !field)
        return false;
    const QVariant data = combo->itemData(index);
    return data.isValid() && data.value<quintptr>() == fieldKey(field);
}

} // namespace brevnote
