#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QWidget;

// Looks shared by the reminder windows.
namespace brevnote::remindercontrols {

// Teal, bold Arial: the labels and check boxes of the reminder windows.
inline const QColor kTeal(0, 128, 128);
// The light-orange header bars of the list window.
inline const QColor kHeaderOrange(255, 197, 138);

QFont boldArial(int pointSize = 0);
// A teal, bold Arial label.
QLabel *fieldLabel(const QString &text, QWidget *parent);
// Teal, bold Arial text for any control (check boxes).
void makeTealBold(QWidget *widget);
// The pale-yellow tooltip background of the list and the editor's boxes.
void useTooltipBackground(QWidget *widget);

} // namespace brevnote::remindercontrols
