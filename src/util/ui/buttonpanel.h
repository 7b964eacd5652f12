#pragma once

class QWidget;

// Layout of the row of push buttons at the bottom of a dialog, called from its resize handler.
namespace brevnote {

// Centres the visible push buttons of the panel as one row, all as tall as its tallest
// visible child.
void CenterButtonsInPanel(QWidget *panel);

// Styles the panel and lines its visible push buttons up in tab order: 0 left, 1 right,
// 2 centre. Afterwards no button of the panel is a default button.
void ArrangeButtonPanel(QWidget *panel, int alignment);

} // namespace brevnote
