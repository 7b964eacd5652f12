#pragma once

#include <QList>
#include <QString>

class QComboBox;
class QListWidget;

namespace brevnote {

// Text of item `index`, or with a negative index the selected item's text ("" when none).
// Raises AppError("List index out of bounds (<index>)") for an index past the end.
QString ListBoxItemText(const QListWidget *box, int index);
// Deletes the selected item and selects the one that moved into its place, or the last one.
void ListBoxDeleteSelected(QListWidget *box);

// One option of a text tool: its name (the identity code uses) and the label users see.
struct Field {
    QString name;
    QString label;
};
using FieldList = QList<const Field *>;

// Fills the combo with the fields' labels, each item carrying its field, and selects the
// one whose name matches `fieldName` (case-blind); nothing selected when none matches.
void FillFieldCombo(QComboBox *combo, const FieldList &fields, const QString &fieldName,
                    bool sorted);
// True when an item is selected and it carries exactly this field.
bool ComboSelectsField(const QComboBox *combo, const Field *field);

} // namespace brevnote
