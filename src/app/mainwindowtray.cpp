// The main window in the notification area: hiding and restoring, the tray menu, and the
// ways the program ends with its closing dump.
#include "mainwindow.h"

#include "appicons.h"
#include "closingdump.h"
#include "editortext.h"
#include "mastertexts.h"

#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/platform.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSystemTrayIcon>

namespace brevnote {

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
    // Without a notification area the tray menu is never seen; "Fechar" then joins the Tools
    // menu so the program can still be ended the way it saves the text.
    if (!m_useTray) {
        PopupMenu_Tools->addSeparator();
        PopupMenu_Tools->addAction(Fechar1);
    }

    NotificationIcon1 = new QSystemTrayIcon(trayIconImage(), this);
    NotificationIcon1->setObjectName(QStringLiteral("NotificationIcon1"));
    // The right button pops this menu up by itself, without a Trigger.
    NotificationIcon1->setContextMenu(PopupMenu_TrayIcon);
    connect(NotificationIcon1, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A double click starts with a Trigger already; the middle button does nothing.
                if (reason == QSystemTrayIcon::Trigger)
                    NotificationIcon1Click();
            });
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
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
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

QStringList TfMaster::prepareClosingText() {
    insertLinesAtTop(RichEdit, closingBannerLines(currentDateTime()));
    m_plainText = true;
    return editorLines(RichEdit);
}

QStringList TfMaster::closingDumpFolders() const {
    return {DataFolder, platform::programFolder(), TempFolder()};
}

void TfMaster::SaveClosingDump() {
    const QString fileName = closingDumpFileName(currentDateTime());
    writeClosingDump(DataFolder, fileName, prepareClosingText());
    m_dumpDone = true;
    closingDumpSettled(true);
}

void TfMaster::saveClosingDumpBeforeExit() {
    if (m_dumpDone)
        return;
    // Settled before writing: an ending that arrives while this one runs adds nothing.
    m_dumpDone = true;
    const QString fileName = closingDumpFileName(currentDateTime());
    const ClosingDumpOutcome outcome =
        writeClosingDumpSomewhere(closingDumpFolders(), fileName, prepareClosingText());
    closingDumpSettled(!outcome.path.isEmpty());
}

void TfMaster::Fechar1Click() {
    if (!m_dumpDone) {
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
