#include "reminders/remindercontrols.h"

#include <QLabel>
#include <QPalette>
#include <QToolTip>

namespace brevnote::remindercontrols {

QFont boldArial(int pointSize) {
    QFont font(QStringLiteral("Arial"));
    if (pointSize > 0)
        font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

void makeTealBold(QWidget *widget) {
    widget->setFont(boldArial());
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, kTeal);
    palette.setColor(QPalette::Text, kTeal);
    palette.setColor(QPalette::ButtonText, kTeal);
    widget->setPalette(palette);
}

QLabel *fieldLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    makeTealBold(label);
    return label;
}

void useTooltipBackground(QWidget *widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, QToolTip::palette().color(QPalette::ToolTipText));
    widget->setPalette(palette);
}

} // namespace brevnote::remindercontrols
