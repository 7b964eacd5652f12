#include "reminders/reminderlistwindow.h"

#include "reminders/remindercontrols.h"
#include "reminders/remindereditor.h"
#include "reminders/showalarm.h"
#include "util/core/apperror.h"
#include "util/core/datetimetext.h"
#include "util/core/inifile.h"
#include "util/core/textroutines.h"
#include "util/ui/listroutines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/statuspanels.h"
#include "util/ui/userdialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace brevnote {

namespace {

using remindercontrols::fieldLabel;

// The names in the user's locale order, case-blind. The C locale's collation would put
// accented letters after Z, so it is read as Brazilian Portuguese.
void sortNames(QStringList &names) {
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Portuguese, QLocale::Brazil);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    });
}

// A 20-pixel light-orange bar with a bold caption over a group's contents.
QLabel *headerBar(const QString &name, const QString &caption, QWidget *parent) {
    auto *bar = new QLabel(caption, parent);
    bar->setObjectName(name);
    bar->setFixedHeight(20);
    bar->setAlignment(Qt::AlignCenter);
    bar->setFrameShape(QFrame::Box);
    bar->setFont(remindercontrols::boldArial(8));
    bar->setAutoFillBackground(true);
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Window, remindercontrols::kHeaderOrange);
    palette.setColor(QPalette::WindowText, Qt::black);
    bar->setPalette(palette);
    return bar;
}

QLineEdit *displayEdit(const char *name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    return edit;
}

template<typename T> QString textOf(const std::optional<T> &value, QString (*format)(const T &)) {
    return value ? format(*value) : QString();
}

} // namespace

TfAutoTimer::TfAutoTimer(QWidget *owner)
    : QDialog(owner)
    , m_alarm([this](const QString &name, const QString &message, bool &snooze, bool &deactivate) {
        ShowAlarm(this, name, message, snooze, deactivate);
    })
    , m_scheduler(&OpenReminderStore,
                  [this](const QString &name, const QString &message, bool &snooze,
                         bool &deactivate) { m_alarm(name, message, snooze, deactivate); }) {
    setObjectName(QStringLiteral("fAutoTimer"));
    setWindowTitle(QStringLiteral("AutoTimer"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    resize(900, 600);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->setFont(remindercontrols::boldArial());
    const auto button = [this](const char *name, const QString &caption,
                               void (TfAutoTimer::*handler)()) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    ToolButton_Novo =
        button("ToolButton_Novo", QStringLiteral("Novo"), &TfAutoTimer::ToolButton_NovoClick);
    ToolButton_Editar =
        button("ToolButton_Editar", QStringLiteral("Editar"), &TfAutoTimer::ToolButton_EditarClick);
    ToolButton_Excluir = button("ToolButton_Excluir", QStringLiteral("Excluir"),
                                &TfAutoTimer::ToolButton_ExcluirClick);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton_Novo);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton_Editar);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton_Excluir);
    ToolBar1->addSeparator();
    layout->addWidget(ToolBar1);

    auto *groups = new QHBoxLayout;
    groups->setSpacing(2);
    groups->addWidget(buildEventGroup());
    groups->addWidget(buildParamsGroup(), 1);
    layout->addLayout(groups, 1);

    StatusBar1 = new StatusPanels(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setPanelWidths({160, 160, 160, 160});
    layout->addWidget(StatusBar1);
}

TfAutoTimer::~TfAutoTimer() = default;

QWidget *TfAutoTimer::buildEventGroup() {
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox_Eventos"));
    group->setFixedWidth(320);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(headerBar("Panel2", QStringLiteral("Eventos"), group));
    ListBox_Eventos = new QListWidget(group);
    ListBox_Eventos->setObjectName(QStringLiteral("ListBox_Eventos"));
    remindercontrols::useTooltipBackground(ListBox_Eventos);
    connect(ListBox_Eventos, &QListWidget::itemSelectionChanged, this,
            &TfAutoTimer::ListBox_EventosClick);
    layout->addWidget(ListBox_Eventos, 1);
    return group;
}

QWidget *TfAutoTimer::buildParamsGroup() {
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox_Params"));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(headerBar("Panel3", QStringLiteral("Parâmetros"), group));

    Panel_Params = new QWidget(group);
    Panel_Params->setObjectName(QStringLiteral("Panel_Params"));
    Panel_Params->setEnabled(false); // shows values only
    auto *form = new QFormLayout(Panel_Params);
    DBCheckBox_Ativado = new QCheckBox(QStringLiteral("Ativado"), Panel_Params);
    DBCheckBox_Ativado->setObjectName(QStringLiteral("DBCheckBox_Ativado"));
    remindercontrols::makeTealBold(DBCheckBox_Ativado);
    DBEdit1 = displayEdit("DBEdit1", Panel_Params);
    DBEdit1->setMaxLength(kEventoMaxLength);
    DBEdit2 = displayEdit("DBEdit2", Panel_Params);
    DBEdit3 = displayEdit("DBEdit3", Panel_Params);
    DBComboBox1 = new QComboBox(Panel_Params);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->addItems(RepetirItems());
    DBMemo1 = new QPlainTextEdit(Panel_Params);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setReadOnly(true);
    DBCheckBox1 = new QCheckBox(QStringLiteral("Sleep"), Panel_Params);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    remindercontrols::makeTealBold(DBCheckBox1);
    DBEdit4 = displayEdit("DBEdit4", Panel_Params);

    form->addRow(DBCheckBox_Ativado);
    form->addRow(fieldLabel(QStringLiteral("Evento"), Panel_Params), DBEdit1);
    form->addRow(fieldLabel(QStringLiteral("Data"), Panel_Params), DBEdit2);
    form->addRow(fieldLabel(QStringLiteral("Hora"), Panel_Params), DBEdit3);
    form->addRow(fieldLabel(QStringLiteral("Repetir"), Panel_Params), DBComboBox1);
    form->addRow(fieldLabel(QStringLiteral("Mensagem"), Panel_Params), DBMemo1);
    form->addRow(DBCheckBox1);
    form->addRow(fieldLabel(QStringLiteral("SleepTimer"), Panel_Params), DBEdit4);
    layout->addWidget(Panel_Params, 1);
    return group;
}

void TfAutoTimer::FormCreate() {
    m_scheduler.store();
}

void TfAutoTimer::showModalMaximized() {
    FormCreate();
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
}

void TfAutoTimer::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RefreshEventList();
}

void TfAutoTimer::CheckReminders() {
    m_scheduler.CheckReminders();
}

void TfAutoTimer::setAlarmFunction(ReminderScheduler::AlarmFunction alarm) {
    m_alarm = std::move(alarm);
}

void TfAutoTimer::RefreshEventList() {
    QStringList names = m_scheduler.store().sections();
    sortNames(names);
    {
        const QSignalBlocker quiet(ListBox_Eventos);
        ListBox_Eventos->clear();
        ListBox_Eventos->addItems(names);
        if (!names.isEmpty())
            ListBox_Eventos->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    }
    ListBox_EventosClick();
}

void TfAutoTimer::ListBox_EventosClick() {
    const QString name = ListBoxItemText(ListBox_Eventos, -1);
    setWindowTitle(name);
    m_display = LoadDisplayRecord(m_scheduler.store(), name);
    showDisplayRecord();
}

void TfAutoTimer::showDisplayRecord() {
    const ReminderRecord &record = m_display;
    DBCheckBox_Ativado->setChecked(record.Ativado.value_or(false));
    DBEdit1->setText(record.Evento.value_or(QString()));
    DBEdit2->setText(textOf<QDate>(record.IniDate, &IniDateText));
    DBEdit3->setText(textOf<QTime>(record.IniTime, &IniTimeText));
    DBComboBox1->setCurrentIndex(DBComboBox1->findText(record.Repetir.value_or(QString())));
    QString message = record.Mensagem.value_or(QString());
    DBMemo1->setPlainText(message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    DBCheckBox1->setChecked(record.Sleep.value_or(false));
    DBEdit4->setText(textOf<QDateTime>(record.SleepTimer, &IniDateTimeText));
}

void TfAutoTimer::runEditor(EditMode mode) {
    // The editor saves into this window's open file; the list then shows the file anew.
    TfAutoTimer_Edit editor(this, m_scheduler.store());
    const QString selected = ListBoxItemText(ListBox_Eventos, -1);
    if (editor.RunEditor(mode, selected) == QDialog::Accepted)
        RefreshEventList();
}

void TfAutoTimer::ToolButton_NovoClick() {
    runEditor(EditMode::New);
}

void TfAutoTimer::ToolButton_EditarClick() {
    runEditor(EditMode::Edit);
}

void TfAutoTimer::ToolButton_ExcluirClick() {
    if (ListBox_Eventos->count() == 0) {
        ShowMessageBox(QStringLiteral("Nenhum evento cadastrado."), QString(),
                       MB_OK | MB_ICONINFORMATION, this);
        return;
    }
    const QString name = ListBoxItemText(ListBox_Eventos, -1);
    const QString question =
        QStringLiteral("Confirma exclusão do evento\r\"") + name + QStringLiteral("\"?");
    if (!AskYesNo(question, QString(), false))
        return;
    try {
        m_scheduler.store().eraseSection(name);
    } catch (const AppError &error) {
        ShowErrorBox(this, error.message());
        return;
    }
    ListBoxDeleteSelected(ListBox_Eventos);
}

} // namespace brevnote
