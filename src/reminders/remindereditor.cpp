#include "reminders/remindereditor.h"

#include "reminders/remindercontrols.h"
#include "util/core/apperror.h"
#include "util/core/textroutines.h"
#include "util/ui/buttonpanel.h"
#include "util/ui/messageboxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace brevnote {

namespace {

using remindercontrols::fieldLabel;

// Upper case letter by letter, accented ones too, so the length never changes.
QString upperByChar(const QString &text) {
    QString upper = text;
    for (QChar &c : upper)
        c = c.toUpper();
    return upper;
}

void styleBox(QWidget *box) {
    box->setFont(remindercontrols::boldArial());
    remindercontrols::useTooltipBackground(box);
}

} // namespace

TfAutoTimer_Edit::TfAutoTimer_Edit(QWidget *owner, IniFile &store)
    : QDialog(owner)
    , m_store(store) {
    setObjectName(QStringLiteral("fAutoTimer_Edit"));
    setWindowTitle(QStringLiteral("AutoTimer - Edit"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel_Params = new QFrame(this);
    Panel_Params->setObjectName(QStringLiteral("Panel_Params"));
    auto *form = new QFormLayout(Panel_Params);
    form->setContentsMargins(10, 10, 10, 10);

    DBCheckBox_Ativado = new QCheckBox(QStringLiteral("Ativado"), Panel_Params);
    DBCheckBox_Ativado->setObjectName(QStringLiteral("DBCheckBox_Ativado"));
    remindercontrols::makeTealBold(DBCheckBox_Ativado);

    DBEdit_Evento = new QLineEdit(Panel_Params);
    DBEdit_Evento->setObjectName(QStringLiteral("DBEdit_Evento"));
    DBEdit_Evento->setMaxLength(kEventoMaxLength);
    DBEdit_Evento->setMinimumWidth(320);
    styleBox(DBEdit_Evento);
    connect(DBEdit_Evento, &QLineEdit::textEdited, this, &TfAutoTimer_Edit::forceUpperCase);

    DBEdit_IniDate = new QDateEdit(Panel_Params);
    DBEdit_IniDate->setObjectName(QStringLiteral("DBEdit_IniDate"));
    DBEdit_IniDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DBEdit_IniDate->setCalendarPopup(true);
    styleBox(DBEdit_IniDate);

    DBEdit_IniTime = new QTimeEdit(Panel_Params);
    DBEdit_IniTime->setObjectName(QStringLiteral("DBEdit_IniTime"));
    DBEdit_IniTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    styleBox(DBEdit_IniTime);

    DBComboBox_Repetir = new QComboBox(Panel_Params);
    DBComboBox_Repetir->setObjectName(QStringLiteral("DBComboBox_Repetir"));
    DBComboBox_Repetir->addItems(RepetirItems());
    styleBox(DBComboBox_Repetir);

    DBMemo_Mensagem = new QPlainTextEdit(Panel_Params);
    DBMemo_Mensagem->setObjectName(QStringLiteral("DBMemo_Mensagem"));
    DBMemo_Mensagem->setMinimumHeight(120);
    styleBox(DBMemo_Mensagem);

    form->addRow(DBCheckBox_Ativado);
    form->addRow(fieldLabel(QStringLiteral("Evento"), Panel_Params), DBEdit_Evento);
    form->addRow(fieldLabel(QStringLiteral("Data"), Panel_Params), DBEdit_IniDate);
    form->addRow(fieldLabel(QStringLiteral("Hora"), Panel_Params), DBEdit_IniTime);
    form->addRow(fieldLabel(QStringLiteral("Repetir"), Panel_Params), DBComboBox_Repetir);
    form->addRow(fieldLabel(QStringLiteral("Mensagem"), Panel_Params), DBMemo_Mensagem);
    layout->addWidget(Panel_Params, 1);

    // Buttons placed by hand from the resize handler, not by a layout.
    Panel_Buttons = new QFrame(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    Panel_Buttons->setFixedHeight(41);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), Panel_Buttons);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->resize(90, 27);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn2 = new QPushButton(QStringLiteral("Cancelar"), Panel_Buttons);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->resize(90, 27);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject); // Escape as well
    layout->addWidget(Panel_Buttons);

    adjustSize();
    setTabOrder(DBEdit_Evento, DBEdit_IniDate);
    DBEdit_Evento->setFocus();
}

void TfAutoTimer_Edit::prepare(EditMode mode, const QString &selectedName) {
    m_mode = mode;
    m_previousName = mode == EditMode::Edit ? selectedName : QString();
    m_record = LoadEditRecord(m_store, mode, m_previousName);
    fillControls(m_record);
}

int TfAutoTimer_Edit::RunEditor(EditMode mode, const QString &selectedName) {
    prepare(mode, selectedName);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    return exec();
}

void TfAutoTimer_Edit::fillControls(const ReminderRecord &record) {
    DBCheckBox_Ativado->setChecked(record.Ativado.value_or(false));
    DBEdit_Evento->setText(upperByChar(record.Evento.value_or(QString())));
    DBEdit_IniDate->setDate(record.IniDate.value_or(QDate()));
    DBEdit_IniTime->setTime(record.IniTime.value_or(QTime()));
    DBComboBox_Repetir->setCurrentIndex(
        DBComboBox_Repetir->findText(record.Repetir.value_or(QString()), Qt::MatchExactly));
    QString message = record.Mensagem.value_or(QString());
    DBMemo_Mensagem->setPlainText(message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    DBEdit_Evento->setFocus();
}

ReminderRecord TfAutoTimer_Edit::currentRecord() const {
    ReminderRecord record = m_record;
    record.Ativado = DBCheckBox_Ativado->isChecked();
    record.Evento = DBEdit_Evento->text();
    record.IniDate = DBEdit_IniDate->date();
    record.IniTime = DBEdit_IniTime->time();
    // A value the list does not offer (written by hand) is kept until another is chosen.
    if (DBComboBox_Repetir->currentIndex() >= 0)
        record.Repetir = DBComboBox_Repetir->currentText();
    record.Mensagem = DBMemo_Mensagem->toPlainText();
    return record;
}

void TfAutoTimer_Edit::forceUpperCase(const QString &text) {
    const QString upper = upperByChar(text);
    if (upper == text)
        return;
    const int caret = DBEdit_Evento->cursorPosition();
    DBEdit_Evento->setText(upper);
    DBEdit_Evento->setCursorPosition(caret);
}

void TfAutoTimer_Edit::done(int result) {
    if (result != QDialog::Accepted) {
        QDialog::done(result);
        return;
    }
    if (TrimBlanks(DBEdit_Evento->text()).isEmpty()) {
        DBEdit_Evento->setFocus();
        return;
    }
    try {
        const ReminderRecord record = currentRecord();
        SaveEditRecord(m_store, record, record.Mensagem.value_or(QString()), m_mode,
                       m_previousName);
    } catch (const AppError &error) {
        // Kept open: what the user typed is not lost and OK can be tried again.
        ShowErrorBox(this, error.message());
        return;
    }
    QDialog::done(result);
}

void TfAutoTimer_Edit::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormResize();
}

void TfAutoTimer_Edit::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfAutoTimer_Edit::FormResize() {
    ArrangeButtonPanel(Panel_Buttons, 2);
}

} // namespace brevnote
