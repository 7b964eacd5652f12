// The main window in the notification area: hiding and restoring, the tray menu, and the
// ways the program ends with its closing dump.
#include "mainwindow.h"

#include "appicons.h"
#include "closingdump.h"
#include "mastertexts.h"

#include "texttools/toolprogressdialog.h"

#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/ui/editorlines.h"
#include "util/ui/messageboxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

namespace brevnote {

namespace {
// How often an ending asked for while a text tool works looks again.
constexpr int kEndingRetryMs = 200;
} // namespace

void TfMaster::createTrayIcon() {
    PopupMenu_TrayIcon = new QMenu(this);
    PopupMenu_TrayIcon->setObjectName(QStringLiteral("PopupMenu_TrayIcon"));
    Lembretes1 = PopupMenu_TrayIcon->addAction(QStringLiteral("Lembretes"));
    Lembretes1->setObjectName(QStringLiteral("Lembretes1"));
    connect(Lembretes1, &QAction::triggered, this, &TfMaster::Lembretes1Click);
    PopupMenu_TrayIcon->addSeparator()->setObjectName(QStringLiteral("N1"));
    Restaurar1 = PopupMenu_TrayIcon->addAction(QStringLiteral("Restaurar"));
    Restaurar1->setObjectName(QStringLiteral("Restaurar1"));
    connect(Restaurar1, &QAction::triggered, this, &TfMaster::Restaurar1Click);
    Fechar1 = PopupMenu_TrayIcon->addAction(QStringLiteral("Fechar"));
    Fechar1->setObjectName(QStringLiteral("Fechar1"));
    connect(Fechar1, &QAction::triggered, this, &TfMaster::Fechar1Click);

    NotificationIcon1 = new QSystemTrayIcon(windowIcon(), this);
    NotificationIcon1->setObjectName(QStringLiteral("NotificationIcon1"));
    NotificationIcon1->setToolTip(ApplicationTitle());
    // The right button pops this menu up by itself, without a Trigger.
    NotificationIcon1->setContextMenu(PopupMenu_TrayIcon);
    connect(NotificationIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A double click starts with a Trigger already; the middle button does nothing.
                if (reason == QSystemTrayIcon::Trigger)
                    NotificationIcon1Click();
            });
    if (m_useTray) {
        // The icon is the program's only sign at start: it goes out to the tray host before
        // the rest of the window is built, so the host docks it while that work goes on.
        NotificationIcon1->show();
        QGuiApplication::sync();
        // Showing it gave the icon's own X window the program's icon in five sizes up to
        // 128 pixels; the pixmap cache would hold those (about 90 KB) for the whole run.
        QPixmapCache::clear();
    }
}

void TfMaster::offerFecharWithoutTray() {
    if (m_useTray)
        return;
    // Without a notification area the tray menu is never seen; "Fechar" then joins the Tools
    // menu so the program can still be ended the way it saves the text.
    PopupMenu_Tools->addSeparator()->setObjectName(QStringLiteral("N_Fechar"));
    PopupMenu_Tools->addAction(Fechar1);
    // Checked now and then (not on every tick: the pass stays as it is) until one comes.
    m_trayWatch = new QTimer(this);
    m_trayWatch->setObjectName(QStringLiteral("TrayWatch"));
    m_trayWatch->setInterval(5000);
    connect(m_trayWatch, &QTimer::timeout, this, &TfMaster::checkForTray);
    m_trayWatch->start();
}

void TfMaster::checkForTray() {
    if (m_useTray || !NotificationIcon1 || !m_trayAvailable())
        return;
    m_useTray = true;
    m_trayWatch->stop();
    // From now on the tray menu offers "Fechar", and closing hides into the tray.
    if (QAction *separator = PopupMenu_Tools->findChild<QAction *>(QStringLiteral("N_Fechar")))
        PopupMenu_Tools->removeAction(separator);
    PopupMenu_Tools->removeAction(Fechar1);
    NotificationIcon1->show();
}

void TfMaster::NotificationIcon1Click() {
    Restaurar1->trigger();
}

void TfMaster::Lembretes1Click() {
    ToolButton_Timer->trigger();
}

void TfMaster::HideToTray() {
    hide();
}

void TfMaster::RestoreFromTray() {
    // Shown again while still marked minimised, the window would come back as an icon.
    if (windowState().testFlag(Qt::WindowMinimized))
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    keepOnTop();
}

void TfMaster::keepOnTop() {
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        setWindowFlag(Qt::WindowStaysOnTopHint);
        show();
    }
    // Some window managers drop "above" while the window is iconified and withdrawn, and
    // Qt sends nothing for flags it believes are set: take the hint off and put it back.
    if (QWindow *window = windowHandle(); window && window->isVisible()) {
        const Qt::WindowFlags flags = window->flags() | Qt::WindowStaysOnTopHint;
        window->setFlags(flags & ~Qt::WindowStaysOnTopHint);
        window->setFlags(flags);
    }
}

void TfMaster::Restaurar1Click() {
    RestoreFromTray();
    raise();
    activateWindow();
}

void TfMaster::closeEvent(QCloseEvent *event) {
    if (m_ending) {
        event->accept();
        return;
    }
    // The user never closes the pad; only "Fechar" and the end of the session end it.
    event->ignore();
    if (m_useTray)
        HideToTray();
    else
        showMinimized();
}

void TfMaster::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_useTray && isMinimized() && !m_ending) {
        // Hiding inside the state change itself confuses some window managers.
        QMetaObject::invokeMethod(this, &TfMaster::HideToTray, Qt::QueuedConnection);
    }
}

QString TfMaster::prepareClosingText() {
    insertLinesAtTop(RichEdit, closingBannerLines(currentDateTime()));
    m_plainText = true;
    // The raw text, paragraphs separated by U+2029, which the dump's encoding turns into line
    // ends as it goes: no second pass over a long text.
    return RichEdit->document()->toRawText();
}

void TfMaster::leaveTextToTheSystem() {
    if (!m_dumpDone)
        return;
    // The text is in its dump; freeing a million-line document block by block takes longer
    // than writing it, and the system takes its memory back at once when the process ends.
    // The document stays alive (no longer a child of the editor) so nothing that still
    // points into it while the editor goes (its cursors) reaches freed memory.
    RichEdit->document()->setParent(nullptr);
}

QList<std::function<QString()>> TfMaster::closingDumpFolders() const {
    // The fallbacks are asked for (and so created) only when the folder before them failed.
    return {[this] { return DataFolder; }, [] { return platform::programFolder(); },
            [] { return TempFolder(); }};
}

void TfMaster::SaveClosingDump() {
    const QString fileName = closingDumpFileName(currentDateTime());
    searchDumpWritten(writeClosingDump(DataFolder, fileName, prepareClosingText()));
    m_dumpDone = true;
    closingDumpSettled(true);
}

void TfMaster::saveClosingDumpBeforeExit() {
    if (m_dumpDone)
        return;
    // Settled before writing: an ending that arrives while this one runs adds nothing.
    m_dumpDone = true;
    stopSearchIndex();
    const QString fileName = closingDumpFileName(currentDateTime());
    const ClosingDumpOutcome outcome =
        writeClosingDumpSomewhere(closingDumpFolders(), fileName, prepareClosingText());
    closingDumpSettled(!outcome.path.isEmpty());
    searchDumpWritten(outcome.path);
}

void TfMaster::Fechar1Click() {
    // From the tray menu while a text tool works on the text: the dump would hold a half
    // replaced text, so the ending waits until the tool is done.
    if (ToolProgressDialog::anyAtWork()) {
        QTimer::singleShot(kEndingRetryMs, this, &TfMaster::Fechar1Click);
        return;
    }
    if (!m_dumpDone) {
        stopSearchIndex();
        try {
            SaveClosingDump();
        } catch (const std::exception &error) {
            // The icon stays and the program goes on, with the banner in the text, so the
            // user can still save the text by hand.
            showError(error);
            return;
        }
    }
    delete NotificationIcon1;
    NotificationIcon1 = nullptr;
    m_ending = true;
    m_terminate();
}

void TfMaster::endProgram() {
    saveClosingDumpBeforeExit();
    m_ending = true;
    m_terminate();
}

} // namespace brevnote
