#include "web/alarmwindow.h"

#include "reminders/alarmpage.h"
#include "reminders/remindercontrols.h"
#include "util/ui/buttonpanel.h"
#include "web/browserroutines.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace brevnote {

TfAlarmShow::TfAlarmShow(QWidget *owner, bool *snoozeRequested, bool *deactivateRequested)
    : QDialog(owner)
    , m_snoozeRequested(snoozeRequested)
    , m_deactivateRequested(deactivateRequested) {
    setObjectName(QStringLiteral("fAlarmShow"));
    setWindowTitle(QStringLiteral("Alarm Show"));
    resize(696, 348);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel_Params = new QFrame(this);
    Panel_Params->setObjectName(QStringLiteral("Panel_Params"));
    Panel_Params->setFrameShape(QFrame::Box);
    Panel_Params->setMinimumHeight(249);
    auto *browserLayout = new QVBoxLayout(Panel_Params);
    browserLayout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(Panel_Params, 1);

    Panel_Options = new QFrame(this);
    Panel_Options->setObjectName(QStringLiteral("Panel_Options"));
    Panel_Options->setFixedHeight(22);
    auto *options = new QHBoxLayout(Panel_Options);
    options->setContentsMargins(6, 0, 6, 0);
    CheckBox_Repetir = new QCheckBox(QStringLiteral("Repetir em 15 minutos"), Panel_Options);
    CheckBox_Repetir->setObjectName(QStringLiteral("CheckBox_Repetir"));
    CheckBox_Repetir->setChecked(true);
    remindercontrols::makeTealBold(CheckBox_Repetir);
    CheckBoxDesativar = new QCheckBox(QStringLiteral("Desativar aviso"), Panel_Options);
    CheckBoxDesativar->setObjectName(QStringLiteral("CheckBoxDesativar"));
    CheckBoxDesativar->setLayoutDirection(Qt::RightToLeft); // the caption left of the box
    remindercontrols::makeTealBold(CheckBoxDesativar);
    connect(CheckBoxDesativar, &QCheckBox::clicked, this, &TfAlarmShow::CheckBoxDesativarClick);
    options->addWidget(CheckBox_Repetir);
    options->addStretch(1);
    options->addWidget(CheckBoxDesativar);
    layout->addWidget(Panel_Options);

    // Buttons placed by hand from the resize handler, not by a layout.
    Panel_Buttons = new QFrame(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    Panel_Buttons->setFixedHeight(41);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), Panel_Buttons);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->resize(90, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(Panel_Buttons);
}

void TfAlarmShow::BuildAlarmPage(const QString &name, const QString &message) {
    m_pageFileName = WriteAlarmPage(AlarmPageText(name, message));
    if (!WebBrowser) {
        WebBrowser = new QWebEngineView(Panel_Params);
        WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
        Panel_Params->layout()->addWidget(WebBrowser);
    }
    BrowserNavigate(WebBrowser, m_pageFileName);
}

void TfAlarmShow::done(int result) {
    *m_snoozeRequested = CheckBox_Repetir->isChecked();
    QDialog::done(result);
}

void TfAlarmShow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TfAlarmShow::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfAlarmShow::FormShow() {
    FormResize();
    // In front of other programs too, also while the pad itself is hidden in the tray.
    raise();
    activateWindow();
}

void TfAlarmShow::FormResize() {
    ArrangeButtonPanel(Panel_Buttons, 2);
}

void TfAlarmShow::CheckBoxDesativarClick() {
    *m_deactivateRequested = CheckBoxDesativar->isChecked();
}

} // namespace brevnote
