#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "util/core/textcodec.h"

#include <exception>
#include <functional>
#include <optional>

class QAction;
class QMenu;
class QPlainTextEdit;
class QSystemTrayIcon;
class QTimer;
class QToolBar;

namespace brevnote {

class CrashJournal;
class ReminderPass;
class StatusPanels;

// The pad: an always-on-top plain-text editor with two tool bars, the Tools menu, a
// two-panel status bar, the reminder timer and the notification-area icon. Closing or
// minimising it hides it into the tray; the program ends through "Fechar", the end of the
// session or a termination signal, each writing the closing dump first.
class TfMaster final : public QMainWindow {
    Q_OBJECT

public:
    // Makes the hidden reminder checker at the first tick; what it returns must be a Qt
    // child of `owner`, which deletes it.
    using ReminderCheckerFactory = std::function<ReminderPass *(QWidget *owner)>;
    // Tells the application to end; replaced by tests, which must keep running.
    using TerminateFunction = std::function<void()>;

    // `useTray`: whether the desktop has a notification area. Without one the window is
    // shown at start-up and closing or minimising it only minimises it, so the program can
    // always be reached.
    explicit TfMaster(bool useTray, QWidget *parent = nullptr);
    ~TfMaster() override;

    // Shows the window at start-up when there is no tray to restore it from.
    void presentAtStartUp();

    bool usesTray() const { return m_useTray; }
    QPlainTextEdit *richEdit() const { return RichEdit; }
    StatusPanels *statusBar1() const { return StatusBar1; }
    QTimer *timer() const { return Timer; }
    // Null once "Fechar" has removed it.
    QSystemTrayIcon *notificationIcon() const { return NotificationIcon1; }
    // Null until the first tick.
    ReminderPass *reminderChecker() const { return ReminderChecker; }
    const QString &dataFolder() const { return DataFolder; }

    // How "Abrir" reads a file; saving is always plain text.
    bool plainTextMode() const { return m_plainText; }
    void setPlainTextMode(bool on) { m_plainText = on; }

    // True once this run's closing dump is done: written, or given up at an ending that
    // could not wait after every folder failed. No later ending writes another.
    bool closingDumpDone() const { return m_dumpDone; }

    // Writes the crash journal at once and returns when it holds the current text; the windows
    // keep repainting meanwhile. Call it before anything that may take long or never come back
    // (a print, a tool on a large text).
    void saveJournalNow();
    CrashJournal *crashJournal() const { return Journal; }

    void setReminderCheckerFactory(ReminderCheckerFactory factory);
    void setTerminateFunction(TerminateFunction terminate);
    // Tells whether the desktop has a notification area now; replaced by tests.
    void setTrayAvailableFunction(std::function<bool()> available);

public slots:
    void LayoutDefault();

    // Puts the closing banner at the top of the text and writes the whole text to
    // "Brevnote<yyyymmddhhmmss>.txt" in the data folder. Raises AppError naming the file.
    void SaveClosingDump();
    // For endings that cannot be refused (session end, signals): the closing dump, unless
    // this run wrote one already, in the data folder, else the program folder, else the
    // temporary folder; never raises and never asks.
    void saveClosingDumpBeforeExit();
    // The session end's and the signals' way out: the dump, then the end.
    void endProgram();
    // Once the closing dump is done and the event loop has ended: the editor's document is
    // left to the end of the process instead of being freed with the window.
    void leaveTextToTheSystem();
    // While the application is quitting, closing the window really closes it.
    void setEnding(bool ending) { m_ending = ending; }

    void TimerTimer();
    void StatusBar1DblClick();

    void ToolButton_AbrirClick();
    void ToolButton_SalvarClick();
    void ToolButton_SDKClick();
    void ToolButton_FontClick();
    void ToolButton_SelectAllClick();
    void ToolButton_CutClick();
    void ToolButton_CopyClick();
    void ToolButton_PasteClick();
    void ToolButton_PrinterClick();
    void ToolButton_TimerClick();
    void ToolButton2Click();
    void PlainTextMenuClick(bool checked);
    void ScrollBarHorizontal1Click(bool checked);
    // Writes or removes the autostart entry; on failure the error box, and the mark stays.
    void AutoInicializarcomoWindows1Click(bool checked);
    void RecortarColunasClick();
    void Ordenar1Click();
    void Agrupar1Click();
    void UpperFirst1Click();
    void GerarArquivoCSV1Click();
    void HTMLText1Click();
    void Browser1Click();
    void Procurar1Click();

    void NotificationIcon1Click();
    void Restaurar1Click();
    void Fechar1Click();
    void Lembretes1Click();
    void HideToTray();
    // Moves into the notification area once the desktop has one.
    void checkForTray();
    void RestoreFromTray();

    // The pad has no menu of its own for showing or hiding its tool bars.
    QMenu *createPopupMenu() override;
signals:
    // A message for the user: a tray balloon, or a message box when there is no tray.
    void userNotified(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Construction, one group of controls each (mainwindow.cpp).
    void createActions();
    void createToolBars();
    void createMenus();
    void createEditorArea();
    void createTrayIcon();
    void offerFecharWithoutTray();
    // "Procurar nos textos salvos" in both menus, and the search index (mainwindowsearch.cpp).
    void createSearchItems();
    void startSearchIndex();
    void stopSearchIndex();
    void searchDumpWritten(const QString &path);
    void FormCreate();

    void describeButtonsForAccessibility();
    // Asks the window manager again to keep the window above the others.
    void keepOnTop();
    void copySelectionOrAll();
    void showCaretPosition();
    void showCheckTime();
    void showError(const std::exception &error);
    ReminderPass &ensureReminderChecker();

    // Scroll bars and word wrap of the text area.
    void setBothScrollBars();
    void setVerticalScrollBarOnly();

    // The closing banner goes into the text and plain-text mode comes on; the text's lines
    // (the editor's raw text, paragraphs separated by U+2029) are what the dump holds.
    QString prepareClosingText();
    QList<std::function<QString()>> closingDumpFolders() const;

    bool m_useTray;
    // While the desktop has no notification area, looks for one coming up later (panels
    // often start after the programs of the session).
    QTimer *m_trayWatch = nullptr;
    std::function<bool()> m_trayAvailable;
    // The crash journal (mainwindowjournal.cpp): recovers a journal left by a run that did not
    // end in order, then keeps this run's text.
    void startCrashJournal();
    // After the closing dump: a written dump replaces the journal; when none could be
    // written, the journal keeps the text.
    void closingDumpSettled(bool written);
    void notifyUser(const QString &text);
    // Writes the journal at once when the text is long enough for a text tool to take a while.
    void saveJournalBeforeLongWork();

    bool m_plainText = true;
    bool m_dumpDone = false;
    bool m_ending = false;
    bool m_layoutAwaitsFrame = false;
    // The encoding of the file last read by "Abrir", which "Salvar" writes back in.
    std::optional<TextEncoding> m_fileEncoding;
    ReminderCheckerFactory m_reminderCheckerFactory;
    TerminateFunction m_terminate;

    QString DataFolder;
    ReminderPass *ReminderChecker = nullptr; // a Qt child of this window
    CrashJournal *Journal = nullptr;         // a Qt child of this window

    QToolBar *ToolBar = nullptr;
    QToolBar *ToolBar_SQLTools2 = nullptr;
    QWidget *Panel_Master = nullptr;
    QPlainTextEdit *RichEdit = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QTimer *Timer = nullptr;

    QAction *ToolButton_Abrir = nullptr;
    QAction *ToolButton_Salvar = nullptr;
    QAction *ToolButton6 = nullptr;
    QAction *ToolButton_SDK = nullptr;
    QAction *ToolButton_Font = nullptr;
    QAction *ToolButton_SelectAll = nullptr;
    QAction *ToolButton_Cut = nullptr;
    QAction *ToolButton_Copy = nullptr;
    QAction *ToolButton_Paste = nullptr;
    QAction *ToolButton_Printer = nullptr;
    QAction *ToolButton_Timer = nullptr;
    QAction *ToolButton2 = nullptr;

    QMenu *PopupMenu_Tools = nullptr;
    QAction *AutoInicializarcomoWindows1 = nullptr;
    QAction *Restaurarlayoutpadro1 = nullptr;
    QMenu *Format1 = nullptr;
    QAction *PlainTextMenu = nullptr;
    QAction *ScrollBarHorizontal1 = nullptr;
    QAction *RecortarColunas = nullptr;
    QAction *Ordenar1 = nullptr;
    QAction *Agrupar1 = nullptr;
    QAction *UpperFirst1 = nullptr;
    QAction *GerarArquivoCSV1 = nullptr;
    QAction *HTMLText1 = nullptr;
    QAction *Browser1 = nullptr;

    QMenu *PopupMenu_SQL = nullptr;
    QAction *Recortar1 = nullptr;
    QAction *Copiar1 = nullptr;
    QAction *Colar1 = nullptr;
    QAction *Selecionartudo1 = nullptr;

    QSystemTrayIcon *NotificationIcon1 = nullptr;
    QMenu *PopupMenu_TrayIcon = nullptr;
    QAction *Lembretes1 = nullptr;
    QAction *Restaurar1 = nullptr;
    QAction *Fechar1 = nullptr;
};

// The program's main window, while it exists.
extern TfMaster *fMaster;

} // namespace brevnote
