#pragma once

class QDialog;
class QPushButton;
class QWidget;

// The look the text tools' dialogs share: bold Arial captions and the OK/Cancel row.
namespace brevnote::dialogstyle {

void boldArial(QWidget *widget, const char *color, int pixelSize = 0);
// Bold Arial on the tooltip background, as the option fields are drawn.
void optionField(QWidget *widget);

// The bottom panel `Panel_Buttons` with OK (Enter) and Cancel (Escape); the dialog centres
// them from its resize handler.
QWidget *makeButtonPanel(QDialog *dialog);

} // namespace brevnote::dialogstyle
