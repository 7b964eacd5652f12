#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"

#include "app/mainwindow.h"
#include "app/mastertexts.h"
#include "reminders/reminderpass.h"
#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/platform.h"
#include "util/ui/statuspanels.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace brevnote;
using namespace Qt::Literals::StringLiterals;
using brevnote::test::action;
using brevnote::test::MasterFixture;
using brevnote::test::ScriptedDialogs;

namespace {

const QDateTime kBootTime(QDate(2026, 12, 8), QTime(3, 30, 42));

QString rule() {
    return QString(20, u'-');
}

// Object names of a tool bar's or menu's entries, "|" for a separator.
QStringList entryNames(const QList<QAction *> &actions) {
    QStringList names;
    for (const QAction *entry : actions) {
        if (entry->isSeparator())
            names.append(QStringLiteral("|"));
        else if (entry->objectName().isEmpty() && entry->menu())
            names.append(entry->menu()->objectName()); // a submenu's own item
        else
            names.append(entry->objectName());
    }
    return names;
}

// A reminder pass that records the timer's state and then fails.
class FailingPass final : public QObject, public ReminderPass {
public:
    FailingPass(QWidget *owner, const QTimer *timer)
        : QObject(owner)
        , m_timer(timer) {}
    void CheckReminders() override {
        ++calls;
        timerWasActive = m_timer->isActive();
        throw AppError(QStringLiteral("Falha na verificação dos lembretes"));
    }
    int calls = 0;
    bool timerWasActive = true;

private:
    const QTimer *m_timer;
};

// A pass that lets time go by, as a pass with an open alarm window would.
class SlowPass final : public QObject, public ReminderPass {
public:
    SlowPass(QWidget *owner, ScopedFixedClock *clock)
        : QObject(owner)
        , m_clock(clock) {}
    void CheckReminders() override { m_clock->advance(2 * 60 * 60 * 1000); }

private:
    ScopedFixedClock *m_clock;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startUpState();
    void startUpTextAndCaption();
    void buttonsAreNamedForScreenReaders();
    void withoutTrayTheWindowShowsAtStartUp();
    void sdkButtonDecidedOnceAtStartUp_data();
    void sdkButtonDecidedOnceAtStartUp();
    void toolBarsAndMenusInOrder();
    void captionsAndHints_data();
    void captionsAndHints();
    void menuItemsRunTheirButton_data();
    void menuItemsRunTheirButton();
    void layoutDefaultOnThePrimaryScreen();
    void plainTextToggle();
    void scrollBarToggle();
    void statusBarDoubleClick_data();
    void statusBarDoubleClick();
    void caretTextIsThePositionBeforeAKey();
    void caretTextIsThePositionBeforeAClick();
    void tickWithFailingPassShowsErrorAndRestartsTimer();
    void tickShowsTheTimeAfterThePass();
};

void TestMainWindow::init() {
    qputenv("BREVNOTE_DEVELOPER", "0");
}

void TestMainWindow::startUpState() {
    const ScopedFixedClock clock(kBootTime);
    MasterFixture fixture(true);
    TfMaster &master = *fixture.master;
    master.presentAtStartUp();

    QVERIFY(!master.isVisible()); // only the tray icon shows
    QVERIFY(QFileInfo(fixture.dataFolder()).isDir());
    QCOMPARE(master.dataFolder(), fixture.dataFolder());
    QVERIFY(master.timer()->isActive());
    QCOMPARE(master.timer()->interval(), 12345);
    QCOMPARE(master.timer()->timerType(), Qt::PreciseTimer);
    // No menu to hide the tool bars with.
    QVERIFY(!master.createPopupMenu());
    QVERIFY(master.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(master.minimumWidth(), 250);

    QSystemTrayIcon *icon = master.notificationIcon();
    QVERIFY(icon);
    QCOMPARE(icon->objectName(), QStringLiteral("NotificationIcon1"));
    QVERIFY(icon->isVisible());
    QVERIFY(!icon->icon().isNull());
    QCOMPARE(icon->toolTip(), QStringLiteral("Brevnote"));
    QCOMPARE(icon->contextMenu(), master.findChild<QMenu *>(QStringLiteral("PopupMenu_TrayIcon")));

    QPlainTextEdit *edit = fixture.edit();
    QCOMPARE(edit->objectName(), QStringLiteral("RichEdit"));
    QVERIFY(master.plainTextMode());
    QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(!action(master, "PlainTextMenu")->isChecked());
    QVERIFY(!action(master, "ScrollBarHorizontal1")->isChecked());
    QVERIFY(!master.reminderChecker()); // made at the first tick

    StatusPanels *bar = master.statusBar1();
    QCOMPARE(bar->objectName(), QStringLiteral("StatusBar1"));
    QCOMPARE(bar->panelCount(), 2);
    QList<QLabel *> panels;
    for (QLabel *label : bar->findChildren<QLabel *>()) {
        if (!label->isHidden())
            panels.append(label);
    }
    QCOMPARE(panels.size(), 2);
    QCOMPARE(panels.at(0)->maximumWidth(), 123);
    QCOMPARE(panels.at(1)->minimumWidth(), 50);
}

void TestMainWindow::buttonsAreNamedForScreenReaders() {
    qputenv("BREVNOTE_DEVELOPER", "1");
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    master.show();
    QVERIFY(QTest::qWaitForWindowExposed(&master));
    QCOMPARE(fixture.edit()->accessibleName(), QStringLiteral("Texto"));
    for (const QToolBar *bar : master.findChildren<QToolBar *>()) {
        for (QAction *entry : bar->actions()) {
            if (entry->isSeparator())
                continue;
            QWidget *button = bar->widgetForAction(entry);
            const QString expected = entry->text().isEmpty() ? entry->toolTip() : entry->text();
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(entry->objectName()));
            QCOMPARE(button->accessibleName(), expected);
        }
    }
    QCOMPARE(master.findChild<QToolBar *>(QStringLiteral("ToolBar_SQLTools2"))
                 ->widgetForAction(action(master, "ToolButton_Font"))
                 ->accessibleName(),
             QStringLiteral("Define a fonte do texto."));

    // "SDK" has no hint, and its caption is not shown as one either.
    QWidget *sdk = master.findChild<QToolBar *>(QStringLiteral("ToolBar"))
                       ->widgetForAction(action(master, "ToolButton_SDK"));
    QVERIFY(sdk->isVisible());
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), sdk->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(sdk, &help);
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(QToolTip::text().isEmpty());
}

void TestMainWindow::startUpTextAndCaption() {
    const ScopedFixedClock clock(kBootTime);
    MasterFixture fixture;
    QCOMPARE(fixture.edit()->toPlainText(), QStringLiteral(" \n \n \n") + rule() +
                                                QStringLiteral("\nBoot:\n08/Dez/2026 03:30\n") +
                                                rule() + u'\n');
    QVERIFY(!platform::versionText().isEmpty());
    QCOMPARE(fixture.master->windowTitle(),
             QStringLiteral("Brevnote [%1]").arg(platform::versionText()));
}

void TestMainWindow::withoutTrayTheWindowShowsAtStartUp() {
    MasterFixture fixture(false);
    fixture.master->presentAtStartUp();
    QVERIFY(fixture.master->isVisible());
    QVERIFY(fixture.master->timer()->isActive());
}

void TestMainWindow::sdkButtonDecidedOnceAtStartUp_data() {
    QTest::addColumn<QByteArray>("developer");
    QTest::addColumn<bool>("visible");
    QTest::newRow("no development environment") << QByteArray("0") << false;
    QTest::newRow("development environment") << QByteArray("1") << true;
}

void TestMainWindow::sdkButtonDecidedOnceAtStartUp() {
    QFETCH(QByteArray, developer);
    QFETCH(bool, visible);
    qputenv("BREVNOTE_DEVELOPER", developer);
    MasterFixture fixture;
    QAction *sdk = action(*fixture.master, "ToolButton_SDK");
    QCOMPARE(sdk->isVisible(), visible);
    // The environment starting or ending later changes nothing.
    qputenv("BREVNOTE_DEVELOPER", visible ? "0" : "1");
    fixture.master->TimerTimer();
    QCOMPARE(sdk->isVisible(), visible);
}

void TestMainWindow::toolBarsAndMenusInOrder() {
    MasterFixture fixture;
    const TfMaster &master = *fixture.master;
    const auto *toolBar = master.findChild<QToolBar *>(QStringLiteral("ToolBar"));
    const auto *sqlTools = master.findChild<QToolBar *>(QStringLiteral("ToolBar_SQLTools2"));
    QVERIFY(toolBar && sqlTools);
    QCOMPARE(entryNames(toolBar->actions()),
             QStringList({u"ToolButton_Abrir"_s, u"|"_s, u"ToolButton_Salvar"_s, u"|"_s,
                          u"ToolButton6"_s, u"|"_s, u"ToolButton_SDK"_s}));
    QCOMPARE(
        entryNames(sqlTools->actions()),
        QStringList({u"ToolButton_Font"_s, u"ToolButton_SelectAll"_s, u"ToolButton_Cut"_s,
                     u"ToolButton_Copy"_s, u"ToolButton_Paste"_s, u"|"_s, u"ToolButton_Printer"_s,
                     u"|"_s, u"ToolButton_Timer"_s, u"|"_s, u"ToolButton2"_s, u"|"_s}));
    QCOMPARE(toolBar->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QCOMPARE(sqlTools->toolButtonStyle(), Qt::ToolButtonIconOnly);

    const auto *tools = master.findChild<QMenu *>(QStringLiteral("PopupMenu_Tools"));
    QVERIFY(tools);
    QCOMPARE(action(master, "ToolButton6")->menu(), tools);
    const auto *toolsButton =
        qobject_cast<QToolButton *>(toolBar->widgetForAction(action(master, "ToolButton6")));
    QVERIFY(toolsButton);
    QCOMPARE(toolsButton->popupMode(), QToolButton::InstantPopup); // drops down on a click
    QCOMPARE(entryNames(tools->actions()),
             QStringList({u"AutoInicializarcomoWindows1"_s, u"Restaurarlayoutpadro1"_s, u"|"_s,
                          u"Format1"_s, u"|"_s, u"HTMLText1"_s, u"Browser1"_s, u"Procurar1"_s}));
    const auto *format = master.findChild<QMenu *>(QStringLiteral("Format1"));
    QVERIFY(format);
    QCOMPARE(format->title(), QStringLiteral("Format"));
    QCOMPARE(entryNames(format->actions()),
             QStringList({u"PlainTextMenu"_s, u"ScrollBarHorizontal1"_s, u"RecortarColunas"_s,
                          u"Ordenar1"_s, u"Agrupar1"_s, u"UpperFirst1"_s, u"GerarArquivoCSV1"_s}));
    const auto *editorMenu = master.findChild<QMenu *>(QStringLiteral("PopupMenu_SQL"));
    QVERIFY(editorMenu);
    QCOMPARE(
        entryNames(editorMenu->actions()),
        QStringList({u"Recortar1"_s, u"Copiar1"_s, u"Colar1"_s, u"|"_s, u"Selecionartudo1"_s}));
    QCOMPARE(fixture.edit()->contextMenuPolicy(), Qt::CustomContextMenu);
    const auto *trayMenu = master.findChild<QMenu *>(QStringLiteral("PopupMenu_TrayIcon"));
    QVERIFY(trayMenu);
    QCOMPARE(entryNames(trayMenu->actions()),
             QStringList({u"Lembretes1"_s, u"Procurar1"_s, u"|"_s, u"Restaurar1"_s, u"Fechar1"_s}));

    // No button or menu item has a keyboard shortcut of its own.
    for (const QAction *each : master.findChildren<QAction *>())
        QVERIFY2(each->shortcut().isEmpty(), qPrintable(each->objectName()));
}

void TestMainWindow::captionsAndHints_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint"); // empty: none of its own
    const auto row = [](const char *name, const char *caption, const char *hint) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                            << QString::fromUtf8(hint);
    };
    row("ToolButton_Abrir", "Abrir", "Carrega texto de um arquivo em disco.");
    row("ToolButton_Salvar", "Salvar", "Salva o texto atual em um arquivo em disco.");
    row("ToolButton6", "Tools", "Clique aqui para abrir o menu de utilitários.");
    row("ToolButton_SDK", "SDK", "");
    row("ToolButton_Font", "", "Define a fonte do texto.");
    row("ToolButton_SelectAll", "", "Seleciona todo o texto.");
    row("ToolButton_Cut", "", "Remove o texto selecionado para a memória.");
    row("ToolButton_Copy", "", "Copia o texto selecionado.");
    row("ToolButton_Paste", "", "Cola o texto armazenado na memória.");
    row("ToolButton_Printer", "", "Clique aqui para imprimir o conteúdo desejado.");
    row("ToolButton_Timer", "", "Clique aqui para agendar um aviso futuro automático.");
    row("ToolButton2", "",
        "Clique aqui para redimensionar a janela para o tamanho e posição originais.");
    row("AutoInicializarcomoWindows1", "Auto-Inicializar com o Windows", "");
    row("Restaurarlayoutpadro1", "Restaurar layout padrão", "");
    row("PlainTextMenu", "PlainText", "");
    row("ScrollBarHorizontal1", "ScrollBar Horizontal", "");
    row("RecortarColunas", "Recortar colunas", "");
    row("Ordenar1", "Ordenar", "");
    row("Agrupar1", "Agrupar", "");
    row("UpperFirst1", "UpperFirst", "");
    row("GerarArquivoCSV1", "Gerar Arquivo CSV", "");
    row("HTMLText1", "HTMLText", "");
    row("Browser1", "Browser", "");
    row("Recortar1", "Recortar", "");
    row("Copiar1", "Copiar", "");
    row("Colar1", "Colar", "");
    row("Selecionartudo1", "Selecionar tudo", "");
    row("Lembretes1", "Lembretes", "");
    row("Restaurar1", "Restaurar", "");
    row("Fechar1", "Fechar", "");
}

void TestMainWindow::captionsAndHints() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    MasterFixture fixture;
    const QAction *item = action(*fixture.master, name.toLatin1().constData());
    QCOMPARE(item->text(), caption);
    if (!hint.isEmpty())
        QCOMPARE(item->toolTip(), hint);
    // Image-only buttons still need their image.
    if (caption.isEmpty())
        QVERIFY(!item->icon().isNull());
}

void TestMainWindow::menuItemsRunTheirButton_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("button");
    QTest::newRow("Recortar") << u"Recortar1"_s << u"ToolButton_Cut"_s;
    QTest::newRow("Copiar") << u"Copiar1"_s << u"ToolButton_Copy"_s;
    QTest::newRow("Colar") << u"Colar1"_s << u"ToolButton_Paste"_s;
    QTest::newRow("Selecionar tudo") << u"Selecionartudo1"_s << u"ToolButton_SelectAll"_s;
    QTest::newRow("Restaurar layout padrão") << u"Restaurarlayoutpadro1"_s << u"ToolButton2"_s;
    QTest::newRow("Lembretes") << u"Lembretes1"_s << u"ToolButton_Timer"_s;
}

void TestMainWindow::menuItemsRunTheirButton() {
    QFETCH(QString, item);
    QFETCH(QString, button);
    MasterFixture fixture;
    QSignalSpy clicks(action(*fixture.master, button.toLatin1().constData()), &QAction::triggered);
    // A button that opens a modal window (the reminder list) has it closed again at once.
    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(0);
    action(*fixture.master, item.toLatin1().constData())->trigger();
    QCOMPARE(clicks.count(), 1);
}

void TestMainWindow::layoutDefaultOnThePrimaryScreen() {
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    const QSize screen = QGuiApplication::primaryScreen()->size();
    master.resize(260, 300);
    master.move(5, 5);
    action(master, "ToolButton2")->trigger();
    const int width = qMax(screen.width() / 3 + 50, 250);
    QCOMPARE(master.size(), QSize(width, (screen.height() / 3) * 2));
    QCOMPARE(master.pos(), QPoint(screen.width() - width - 10, 25));
}

void TestMainWindow::plainTextToggle() {
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    QAction *toggle = action(master, "PlainTextMenu");
    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QVERIFY(master.plainTextMode()); // first click: no visible change
    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QVERIFY(!master.plainTextMode());
    toggle->trigger();
    QVERIFY(master.plainTextMode());
}

void TestMainWindow::scrollBarToggle() {
    MasterFixture fixture;
    QPlainTextEdit *edit = fixture.edit();
    QAction *toggle = action(*fixture.master, "ScrollBarHorizontal1");
    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void TestMainWindow::statusBarDoubleClick_data() {
    QTest::addColumn<int>("plainTextAnswer");
    QTest::addColumn<int>("scrollBarsAnswer");
    QTest::addColumn<bool>("plainText");
    QTest::addColumn<Qt::ScrollBarPolicy>("horizontal");
    // Starting from the vertical bar alone, to see whether the bars change.
    QTest::newRow("yes, yes") << IDYES << IDYES << true << Qt::ScrollBarAsNeeded;
    QTest::newRow("no, no") << IDNO << IDNO << false << Qt::ScrollBarAlwaysOff;
    QTest::newRow("no, yes") << IDNO << IDYES << false << Qt::ScrollBarAsNeeded;
}

void TestMainWindow::statusBarDoubleClick() {
    QFETCH(int, plainTextAnswer);
    QFETCH(int, scrollBarsAnswer);
    QFETCH(bool, plainText);
    QFETCH(Qt::ScrollBarPolicy, horizontal);
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    QAction *scrollToggle = action(master, "ScrollBarHorizontal1");
    scrollToggle->trigger();
    scrollToggle->trigger(); // unchecked again: vertical bar only
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers << plainTextAnswer << scrollBarsAnswer;
    emit master.statusBar1()->doubleClicked();

    QCOMPARE(dialogs.messageBoxes.size(), 2);
    QCOMPARE(dialogs.messageBoxes.at(0).text, QStringLiteral("RichEdit.PlainText?"));
    QCOMPARE(dialogs.messageBoxes.at(1).text, QStringLiteral("RichEdit.ScrollBars?"));
    for (const auto &box : std::as_const(dialogs.messageBoxes)) {
        QCOMPARE(box.owner, &master);
        QCOMPARE(box.caption, QStringLiteral("Brevnote"));
        QCOMPARE(box.style, 292);
    }
    QCOMPARE(master.plainTextMode(), plainText);
    QCOMPARE(fixture.edit()->horizontalScrollBarPolicy(), horizontal);
    QCOMPARE(fixture.edit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(!action(master, "PlainTextMenu")->isChecked());
    QVERIFY(!scrollToggle->isChecked());
}

void TestMainWindow::caretTextIsThePositionBeforeAKey() {
    MasterFixture fixture;
    QPlainTextEdit *edit = fixture.edit();
    edit->setPlainText(QStringLiteral("abc\ndef"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(5); // line 2, column 2
    edit->setTextCursor(cursor);
    QTest::keyClick(edit, Qt::Key_Right);
    QCOMPARE(fixture.master->statusBar1()->panelText(0), QStringLiteral("0002:0002"));
    QCOMPARE(edit->textCursor().position(), 6); // the key itself went through
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(fixture.master->statusBar1()->panelText(0), QStringLiteral("0002:0003"));
    QTest::keyClick(edit, Qt::Key_X);
    QCOMPARE(fixture.master->statusBar1()->panelText(0), QStringLiteral("0001:0003"));
    QCOMPARE(edit->toPlainText(), QStringLiteral("abXc\ndef").replace(u'X', u'x'));
}

void TestMainWindow::caretTextIsThePositionBeforeAClick() {
    MasterFixture fixture(false);
    fixture.master->presentAtStartUp();
    QVERIFY(QTest::qWaitForWindowExposed(fixture.master.get()));
    QPlainTextEdit *edit = fixture.edit();
    edit->setPlainText(QStringLiteral("abc\ndef"));
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(7); // end of line 2
    edit->setTextCursor(cursor);
    cursor.setPosition(0);
    const QPoint start = edit->cursorRect(cursor).center();
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, start);
    QCOMPARE(fixture.master->statusBar1()->panelText(0), QStringLiteral("0002:0004"));
    QCOMPARE(edit->textCursor().position(), 0);
}

void TestMainWindow::tickWithFailingPassShowsErrorAndRestartsTimer() {
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    int made = 0;
    FailingPass *pass = nullptr;
    master.setReminderCheckerFactory([&](QWidget *owner) -> ReminderPass * {
        ++made;
        pass = new FailingPass(owner, master.timer());
        return pass;
    });
    ScriptedDialogs dialogs;
    master.TimerTimer();
    QCOMPARE(made, 1);
    QCOMPARE(pass->calls, 1);
    QVERIFY(!pass->timerWasActive); // off during the pass
    QCOMPARE(dialogs.errors, QStringList({u"Falha na verificação dos lembretes"_s}));
    QVERIFY(master.timer()->isActive());
    QCOMPARE(master.timer()->interval(), 12345);
    QCOMPARE(master.timer()->timerType(), Qt::PreciseTimer);
    // No menu to hide the tool bars with.
    QVERIFY(!master.createPopupMenu());
    QVERIFY(master.statusBar1()->panelText(1).startsWith(QStringLiteral("CheckTimer em ")));

    // The checker is kept: the next tick uses it again.
    master.TimerTimer();
    QCOMPARE(made, 1);
    QCOMPARE(pass->calls, 2);
    QCOMPARE(dialogs.errors.size(), 2);
    QVERIFY(master.timer()->isActive());
    QCOMPARE(master.reminderChecker(), static_cast<ReminderPass *>(pass));
}

void TestMainWindow::tickShowsTheTimeAfterThePass() {
    ScopedFixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(3, 30, 0)));
    MasterFixture fixture;
    TfMaster &master = *fixture.master;
    master.setReminderCheckerFactory(
        [&clock](QWidget *owner) -> ReminderPass * { return new SlowPass(owner, &clock); });
    master.TimerTimer();
    QCOMPARE(master.statusBar1()->panelText(1),
             checkTimerText(QDateTime(QDate(2026, 12, 8), QTime(5, 30, 0)), QLocale::system()));
}

BREVNOTE_TEST_WIDGETS_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
