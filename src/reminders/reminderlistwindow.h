#pragma once

#include "reminders/reminderpass.h"
#include "reminders/reminderrecord.h"
#include "reminders/reminderscheduler.h"
#include "reminders/reminderstore.h"

#include <QDialog>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QToolBar;

namespace brevnote {

class IniFile;
class StatusPanels;

// The reminder list: the reminders by name, the selected one shown read-only, and "Novo",
// "Editar", "Excluir". The main window also keeps one hidden instance whose reminder pass runs
// on every tick; each instance opens the reminder file for itself.
class TfAutoTimer final : public QDialog, public ReminderPass {
    Q_OBJECT

public:
    // Builds the window; the reminder file is opened by FormCreate, or by the first pass.
    explicit TfAutoTimer(QWidget *owner = nullptr);
    ~TfAutoTimer() override;

    // Opens the reminder file; raises AppError when it cannot be written.
    void FormCreate();
    // Opens the file, shows the window maximised and modally, and returns when it is closed.
    void showModalMaximized();

    void CheckReminders() override;
    // Replaces the alarm window, for callers that show alarms differently (tests).
    void setAlarmFunction(ReminderScheduler::AlarmFunction alarm);
    ReminderScheduler &scheduler() { return m_scheduler; }

    void RefreshEventList();
    void ListBox_EventosClick();
    void ToolButton_NovoClick();
    void ToolButton_EditarClick();
    void ToolButton_ExcluirClick();

    QListWidget *listBox() const { return ListBox_Eventos; }
    const ReminderRecord &displayRecord() const { return m_display; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildEventGroup();
    QWidget *buildParamsGroup();
    void showDisplayRecord();
    void runEditor(EditMode mode);

    ReminderScheduler::AlarmFunction m_alarm;
    ReminderScheduler m_scheduler;
    ReminderRecord m_display;

    QToolBar *ToolBar1 = nullptr;
    QAction *ToolButton_Novo = nullptr;
    QAction *ToolButton_Editar = nullptr;
    QAction *ToolButton_Excluir = nullptr;
    QListWidget *ListBox_Eventos = nullptr;
    QWidget *Panel_Params = nullptr;
    QCheckBox *DBCheckBox_Ativado = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QLineEdit *DBEdit2 = nullptr;
    QLineEdit *DBEdit3 = nullptr;
    QComboBox *DBComboBox1 = nullptr;
    QPlainTextEdit *DBMemo1 = nullptr;
    QCheckBox *DBCheckBox1 = nullptr;
    QLineEdit *DBEdit4 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
};

} // namespace brevnote
