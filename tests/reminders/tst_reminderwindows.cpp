#include "reminders/remindereditor.h"
#include "reminders/reminderlistwindow.h"
#include "reminders/reminderstore.h"
#include "reminders/showalarm.h"
#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"
#include "util/core/clock.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "web/alarmwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::ScriptedDialogs;

namespace {

QString storePath() {
    return platform::programFolder() + ReminderFileName();
}

// Runs `step` once the next modal window is showing.
template<typename Step> void whenModal(Step step) {
    QTimer::singleShot(0, qApp, [step] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        step(QApplication::activeModalWidget());
    });
}

} // namespace

class TestReminderWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorRefusesABlankName();
    void editorForcesUpperCaseAndLength();
    void editorCancelSavesNothing();
    void editorEditsTheSelectedReminder();
    void listSortedCaseBlindFirstSelected();
    void deleteOnEmptyListOnlyTells();
    void deleteAsksThenErases_data();
    void deleteAsksThenErases();
    void alarmChoices_data();
    void alarmChoices();
    void alarmShowsThePage();
    void checkerRaisesAlarmThroughItsSeam();
    void alarmWithoutTheWebLibraryComesBack();

private:
    std::unique_ptr<ScopedFixedClock> m_clock;
};

void TestReminderWindows::init() {
    m_clock = std::make_unique<ScopedFixedClock>(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    QFile::remove(storePath());
}

void TestReminderWindows::cleanup() {
    m_clock.reset();
}

void TestReminderWindows::editorRefusesABlankName() {
    const auto store = OpenReminderStore();
    TfAutoTimer_Edit editor(nullptr, *store);
    editor.prepare(EditMode::New, QString());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.eventoEdit()->setText(u"   "_s);
    editor.mensagemMemo()->setFocus();
    editor.okButton()->click();
    QVERIFY(editor.isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(editor.eventoEdit()));
    QVERIFY(store->sections().isEmpty());

    QTest::keyClicks(editor.eventoEdit(), u"luz"_s);
    editor.okButton()->click();
    QVERIFY(!editor.isVisible());
    QCOMPARE(editor.result(), int(QDialog::Accepted));
    QCOMPARE(store->sections(), QStringList{u"LUZ"_s});
    QCOMPARE(store->readString(u"LUZ"_s, u"IniTime"_s), u"09:30:00"_s);
}

void TestReminderWindows::editorForcesUpperCaseAndLength() {
    const auto store = OpenReminderStore();
    TfAutoTimer_Edit editor(nullptr, *store);
    editor.prepare(EditMode::New, QString());
    // Accented letters arrive as composed text, as from an input method or a dead key.
    QInputMethodEvent composed;
    composed.setCommitString(u"ação "_s);
    QCoreApplication::sendEvent(editor.eventoEdit(), &composed);
    QTest::keyClicks(editor.eventoEdit(), QString(40, u'x'));
    QCOMPARE(editor.eventoEdit()->text(), u"AÇÃO "_s + QString(27, u'X'));
}

void TestReminderWindows::editorCancelSavesNothing() {
    const auto store = OpenReminderStore();
    TfAutoTimer_Edit editor(nullptr, *store);
    whenModal([](QWidget *modal) {
        auto *dialog = qobject_cast<TfAutoTimer_Edit *>(modal);
        QVERIFY(dialog);
        dialog->eventoEdit()->setText(u"NADA"_s);
        dialog->cancelButton()->click();
    });
    QCOMPARE(editor.RunEditor(EditMode::New, QString()), int(QDialog::Rejected));
    QVERIFY(store->sections().isEmpty());
}

void TestReminderWindows::editorEditsTheSelectedReminder() {
    QVERIFY(test::writeBytes(storePath(),
                             "[CONTA]\r\nAtivado=0\r\nEvento=CONTA\r\nIniDate=24/12/2026\r\n"
                             "IniTime=07:00:00\r\nRepetir=Mensalmente\r\nMensagem=a<br>b\r\n"));
    const auto store = OpenReminderStore();
    TfAutoTimer_Edit editor(nullptr, *store);
    editor.prepare(EditMode::Edit, u"CONTA"_s);
    QCOMPARE(editor.eventoEdit()->text(), u"CONTA"_s);
    QVERIFY(!editor.ativadoBox()->isChecked());
    QCOMPARE(editor.dateEdit()->date(), QDate(2026, 12, 24));
    QCOMPARE(editor.timeEdit()->time(), QTime(7, 0, 0));
    QCOMPARE(editor.repetirCombo()->currentText(), u"Mensalmente"_s);
    QCOMPARE(editor.mensagemMemo()->toPlainText(), u"a\nb"_s);
    editor.eventoEdit()->setText(u"BOLETO"_s);
    editor.accept();
    QCOMPARE(store->sections(), QStringList{u"BOLETO"_s});
    QCOMPARE(store->readString(u"BOLETO"_s, u"Mensagem"_s), u"a<br>b"_s);
    QCOMPARE(store->readString(u"BOLETO"_s, u"Repetir"_s), u"Mensalmente"_s);
}

void TestReminderWindows::listSortedCaseBlindFirstSelected() {
    QVERIFY(test::writeBytes(storePath(), "[beta]\r\nAtivado=1\r\n[ALFA]\r\nAtivado=1\r\n"
                                          "[Ágata]\r\nAtivado=0\r\n[zeca]\r\n"));
    TfAutoTimer list;
    list.FormCreate();
    list.RefreshEventList();
    QStringList names;
    for (int i = 0; i < list.listBox()->count(); ++i)
        names.append(list.listBox()->item(i)->text());
    QCOMPARE(names, QStringList({u"Ágata"_s, u"ALFA"_s, u"beta"_s, u"zeca"_s}));
    QCOMPARE(list.windowTitle(), u"Ágata"_s);
    QCOMPARE(list.displayRecord().Ativado, std::optional<bool>(false));
    list.listBox()->setCurrentRow(2);
    QCOMPARE(list.windowTitle(), u"beta"_s);
    QCOMPARE(list.displayRecord().Ativado, std::optional<bool>(true));
}

void TestReminderWindows::deleteOnEmptyListOnlyTells() {
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDOK);
    TfAutoTimer list;
    list.FormCreate();
    list.RefreshEventList();
    QCOMPARE(list.windowTitle(), QString());
    list.ToolButton_ExcluirClick();
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    QCOMPARE(dialogs.messageBoxes.at(0).text, u"Nenhum evento cadastrado."_s);
    QCOMPARE(dialogs.messageBoxes.at(0).caption, u"Brevnote"_s);
    QCOMPARE(dialogs.messageBoxes.at(0).style, MB_OK | MB_ICONINFORMATION);
}

void TestReminderWindows::deleteAsksThenErases_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("selected");
    QTest::newRow("No keeps it") << IDNO << QStringList({u"A"_s, u"B"_s, u"C"_s}) << u"B"_s;
    QTest::newRow("Yes erases it") << IDYES << QStringList({u"A"_s, u"C"_s}) << u"C"_s;
}

void TestReminderWindows::deleteAsksThenErases() {
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    QFETCH(QString, selected);
    QVERIFY(test::writeBytes(storePath(), "[C]\r\nAtivado=1\r\n[A]\r\nAtivado=1\r\n[B]\r\n"));
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(answer);
    TfAutoTimer list;
    list.FormCreate();
    list.RefreshEventList();
    list.listBox()->setCurrentRow(1);
    list.ToolButton_ExcluirClick();
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    QCOMPARE(dialogs.messageBoxes.at(0).text, u"Confirma exclusão do evento\r\"B\"?"_s);
    QCOMPARE(dialogs.messageBoxes.at(0).style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    QStringList sorted = IniFile(storePath()).sections();
    sorted.sort();
    QCOMPARE(sorted, left);
    QCOMPARE(list.listBox()->count(), left.size());
    QCOMPARE(list.windowTitle(), selected);
}

void TestReminderWindows::alarmChoices_data() {
    QTest::addColumn<bool>("untickRepetir");
    QTest::addColumn<int>("desativarClicks");
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<bool>("snooze");
    QTest::addColumn<bool>("deactivate");
    QTest::newRow("OK, nothing touched") << false << 0 << false << true << false;
    QTest::newRow("close box, nothing touched") << false << 0 << true << true << false;
    QTest::newRow("Repetir unticked, close box") << true << 0 << true << false << false;
    QTest::newRow("Desativar ticked, OK") << false << 1 << false << true << true;
    QTest::newRow("Desativar ticked and unticked") << true << 2 << false << false << false;
}

void TestReminderWindows::alarmChoices() {
    QFETCH(bool, untickRepetir);
    QFETCH(int, desativarClicks);
    QFETCH(bool, closeBox);
    QFETCH(bool, snooze);
    QFETCH(bool, deactivate);
    bool snoozeRequested = false;
    bool deactivateRequested = false;
    TfAlarmShow alarm(nullptr, &snoozeRequested, &deactivateRequested);
    QCOMPARE(alarm.windowTitle(), u"Alarm Show"_s);
    alarm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&alarm));
    QVERIFY(alarm.checkBoxRepetir()->isChecked());
    QVERIFY(!alarm.checkBoxDesativar()->isChecked());
    QVERIFY(!alarm.okButton()->isDefault());
    if (untickRepetir)
        QTest::mouseClick(alarm.checkBoxRepetir(), Qt::LeftButton);
    for (int i = 0; i < desativarClicks; ++i)
        QTest::mouseClick(alarm.checkBoxDesativar(), Qt::LeftButton);
    if (closeBox)
        alarm.close();
    else
        alarm.okButton()->click();
    QVERIFY(!alarm.isVisible());
    QCOMPARE(snoozeRequested, snooze);
    QCOMPARE(deactivateRequested, deactivate);
}

void TestReminderWindows::alarmShowsThePage() {
    bool snooze = false;
    bool deactivate = false;
    QString page;
    whenModal([&page](QWidget *modal) {
        auto *alarm = qobject_cast<TfAlarmShow *>(modal);
        QVERIFY(alarm && alarm->webBrowser());
        page = alarm->pageFileName();
        QTRY_COMPARE(alarm->webBrowser()->url(), QUrl::fromLocalFile(page));
        alarm->okButton()->click();
    });
    ShowAlarm(nullptr, u"CONTA"_s, u"Vence<br>hoje"_s, snooze, deactivate);
    QVERIFY(snooze);
    QVERIFY(page.startsWith(platform::programFolder() + u"tmp/090000000.htm"_s));
    QVERIFY(test::readBytes(page).contains("<big><big><big>CONTA</big>"));
}

void TestReminderWindows::checkerRaisesAlarmThroughItsSeam() {
    QVERIFY(test::writeBytes(storePath(), "[R]\r\nAtivado=1\r\nEvento=R\r\nIniDate=10/12/2026\r\n"
                                          "IniTime=08:00:00\r\nMensagem=m\r\n"));
    TfAutoTimer checker;
    QStringList alarms;
    checker.setAlarmFunction(
        [&](const QString &name, const QString &message, bool &snooze, bool &deactivate) {
            alarms.append(name + u'|' + message);
            snooze = false;
            deactivate = true;
        });
    checker.CheckReminders();
    QCOMPARE(alarms, QStringList{u"R|m"_s});
    QVERIFY(!checker.isVisible());
    const IniFile file(storePath());
    QCOMPARE(file.readString(u"R"_s, u"Ativado"_s), u"0"_s);
    QCOMPARE(file.readString(u"R"_s, u"IniDate"_s), u"11/12/2026"_s);
}

// Without the library that shows pages the reminder is shown as text and snoozed, so it is
// neither lost for the day nor switched off.
void TestReminderWindows::alarmWithoutTheWebLibraryComesBack() {
    QVERIFY(test::writeBytes(storePath(), "[R]\r\nAtivado=1\r\nEvento=R\r\nIniDate=10/12/2026\r\n"
                                          "IniTime=08:00:00\r\nMensagem=Vence<BR>hoje\r\n"));
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const test::ScopedEnvironment module("BREVNOTE_WEB_MODULE",
                                         QFile::encodeName(empty.filePath(u"missing.so"_s)));
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers << IDOK;
    TfAutoTimer checker;
    checker.CheckReminders();
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    const QString text = dialogs.messageBoxes.at(0).text;
    QVERIFY2(text.startsWith(u"Lembrete: R\r\n\r\nVence\r\nhoje\r\n\r\nO aviso volta em 15 minutos."
                             u"\r\n\r\nAs páginas web não estão disponíveis"_s),
             qPrintable(text));
    QVERIFY(dialogs.errors.isEmpty());
    const IniFile file(storePath());
    QCOMPARE(file.readString(u"R"_s, u"Ativado"_s), u"1"_s);
    QCOMPARE(file.readString(u"R"_s, u"Sleep"_s), u"1"_s);
    QCOMPARE(file.readString(u"R"_s, u"SleepTimer"_s), u"10/12/2026 09:15:00"_s);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestReminderWindows)
#include "tst_reminderwindows.moc"
