// The main window's crash journal: recovery at start-up, the journal of this run, and the
// messages about both.
#include "mainwindow.h"

#include "crashjournal.h"
#include "journalrecovery.h"

#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"

#include <QPlainTextEdit>
#include <QSystemTrayIcon>
#include <QTextDocument>

namespace brevnote {

namespace {
const QString kRecovered = QStringLiteral("Texto recuperado em: ");
const QString kNoJournal = QStringLiteral("Sem cópia de segurança: ");
} // namespace

void TfMaster::startCrashJournal() {
    // Before this run's first write, which would replace the journal left behind.
    const JournalRecovery recovery =
        recoverJournal(DataFolder, {platform::programFolder(), TempFolder()});

    // The raw text is one copy of the document; lines are made on the worker thread.
    Journal = new CrashJournal(
        DataFolder, [this] { return RichEdit->document()->toRawText(); }, this);
    connect(Journal, &CrashJournal::cannotWrite, this,
            [this](const QString &folder) { notifyUser(kNoJournal + folder); });
    connect(RichEdit, &QPlainTextEdit::textChanged, Journal, &CrashJournal::textChanged);

    switch (recovery.outcome) {
    case JournalRecovery::Outcome::Recovered:
        notifyUser(kRecovered + recovery.path);
        break;
    case JournalRecovery::Outcome::Stuck:
        // Writing would replace the only copy of the earlier run's text.
        Journal->stop();
        notifyUser(kNoJournal + DataFolder);
        break;
    case JournalRecovery::Outcome::NoJournal:
    case JournalRecovery::Outcome::KeptAside:
        break;
    }
}

void TfMaster::saveJournalNow() {
    if (Journal)
        Journal->writeNow(CrashJournal::Waiting::Repainting);
}

void TfMaster::closingDumpSettled(bool written) {
    if (!Journal)
        return;
    if (written) {
        Journal->discard();
    } else {
        Journal->writeNow();
        Journal->stop();
    }
}

void TfMaster::notifyUser(const QString &text) {
    // Once the event loop runs: at start-up neither the icon nor the window is shown yet.
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            emit userNotified(text);
            if (m_useTray && NotificationIcon1)
                NotificationIcon1->showMessage(ApplicationTitle(), text,
                                               QSystemTrayIcon::Information);
            else
                OwnerMessageBox(this, text, QString(), MB_OK | MB_ICONINFORMATION);
        },
        Qt::QueuedConnection);
}

} // namespace brevnote
