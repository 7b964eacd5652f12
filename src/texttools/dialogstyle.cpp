#include "dialogstyle.h"

#include <QDialog>
#include <QPalette>
#include <QPushButton>

namespace brevnote::dialogstyle {

void boldArial(QWidget *widget, const char *color, int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(QLatin1StringView(color)));
    palette.setColor(QPalette::Text, QColor(QLatin1StringView(color)));
    palette.setColor(QPalette::ButtonText, QColor(QLatin1StringView(color)));
    widget->setPalette(palette);
}

void optionField(QWidget *widget) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    widget->setFont(font);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Button, palette.color(QPalette::ToolTipBase));
    widget->setPalette(palette);
}

QWidget *makeButtonPanel(QDialog *dialog) {
    auto *panel = new QWidget(dialog);
    panel->setObjectName(QStringLiteral("Panel_Buttons"));
    panel->setFixedHeight(41);
    auto *ok = new QPushButton(QStringLiteral("OK"), panel);
    ok->setObjectName(QStringLiteral("Button_OK"));
    ok->setDefault(true);
    ok->resize(75, 25);
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), panel);
    cancel->setObjectName(QStringLiteral("Button_Cancel"));
    cancel->resize(75, 25);
    // QDialog answers Escape with reject() on its own.
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return panel;
}

} // namespace brevnote::dialogstyle
