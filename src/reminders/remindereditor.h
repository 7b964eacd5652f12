#pragma once

#include "reminders/reminderrecord.h"
#include "reminders/reminderstore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

namespace brevnote {

class IniFile;

// The reminder editor: name (upper case, at most 32 characters), active, date, time,
// repetition and message of one reminder. Nothing reaches the file before OK; OK with a blank
// name keeps the dialog open with the focus in the name box.
class TfAutoTimer_Edit final : public QDialog {
    Q_OBJECT

public:
    // `store` is the list window's open reminder file; it outlives the dialog.
    TfAutoTimer_Edit(QWidget *owner, IniFile &store);

    // Loads the record for the mode (in mode Edit, the reminder `selectedName`), shows the
    // dialog modally and returns its result: Accepted (OK, saved) or Rejected.
    int RunEditor(EditMode mode, const QString &selectedName);

    // Loads the record and fills the controls without showing the dialog.
    void prepare(EditMode mode, const QString &selectedName);
    // The record as the controls hold it now.
    ReminderRecord currentRecord() const;

    QLineEdit *eventoEdit() const { return DBEdit_Evento; }
    QCheckBox *ativadoBox() const { return DBCheckBox_Ativado; }
    QDateEdit *dateEdit() const { return DBEdit_IniDate; }
    QTimeEdit *timeEdit() const { return DBEdit_IniTime; }
    QComboBox *repetirCombo() const { return DBComboBox_Repetir; }
    QPlainTextEdit *mensagemMemo() const { return DBMemo_Mensagem; }
    QPushButton *okButton() const { return BitBtn1; }
    QPushButton *cancelButton() const { return BitBtn2; }

    // FormCloseQuery: Cancel always closes; OK closes only with a name, after saving.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fillControls(const ReminderRecord &record);
    void forceUpperCase(const QString &text);
    void FormResize();

    IniFile &m_store;
    EditMode m_mode = EditMode::New;
    QString m_previousName;
    ReminderRecord m_record;

    QFrame *Panel_Params = nullptr;
    QCheckBox *DBCheckBox_Ativado = nullptr;
    QLineEdit *DBEdit_Evento = nullptr;
    QDateEdit *DBEdit_IniDate = nullptr;
    QTimeEdit *DBEdit_IniTime = nullptr;
    QComboBox *DBComboBox_Repetir = nullptr;
    QPlainTextEdit *DBMemo_Mensagem = nullptr;
    QFrame *Panel_Buttons = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};

} // namespace brevnote
