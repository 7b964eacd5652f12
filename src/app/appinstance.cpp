#include "appinstance.h"

#include "mainwindow.h"
#include "singleinstance.h"

#include "util/core/platform.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace brevnote {

namespace {

// How long a later start waits for the running one; it answers in milliseconds unless it is
// stuck, and a start must never hang.
constexpr int kAnswerTimeoutMs = 3000;

// The kill test changes the text of the real program from outside: this variable's text is
// typed at the end of the pad once the event loop runs. A user never sets it.
void typeTestTextWhenAsked() {
    const QString text = qEnvironmentVariable("BREVNOTE_TEST_TYPING");
    if (text.isEmpty())
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [text] {
            if (!fMaster)
                return;
            QTextCursor cursor(fMaster->richEdit()->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(text);
        },
        Qt::QueuedConnection);
}

// The benchmark script times commands end to end from outside: with this variable set, each
// action of the main window prints "done <action> <CLOCK_MONOTONIC ms>" on standard output
// once the events its command left behind have run. A user never sets it.
void reportCommandsWhenAsked() {
    if (qEnvironmentVariableIsEmpty("BREVNOTE_TEST_REPORT"))
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (!fMaster)
                return;
            for (QAction *action : fMaster->findChildren<QAction *>()) {
                // Connected after the command itself, so this runs once the command returned.
                QObject::connect(action, &QAction::triggered, fMaster, [action] {
                    QTimer::singleShot(0, fMaster, [name = action->objectName().toUtf8()] {
                        timespec now{};
                        clock_gettime(CLOCK_MONOTONIC, &now);
                        std::printf("done %s %.1f\n", name.constData(),
                                    double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6);
                        std::fflush(stdout);
                    });
                });
            }
        },
        Qt::QueuedConnection);
}

} // namespace

std::optional<int> claimOnlyInstance() {
    const QString dataFolder = QDir::cleanPath(QDir(platform::dataFolder()).absolutePath());
    // The private temporary folder belongs to this user alone (mode 0700).
    auto *instance = new SingleInstance(QDir::cleanPath(platform::tempFolder()),
                                        instanceKey(dataFolder), QCoreApplication::instance());
    if (instance->claim()) {
        instance->setShowHandler([] {
            if (!fMaster)
                return false;
            fMaster->Restaurar1Click();
            return fMaster->isVisible();
        });
        typeTestTextWhenAsked();
        reportCommandsWhenAsked();
        return std::nullopt;
    }
    const SingleInstance::Answer answer =
        SingleInstance::askOwnerToShow(instance->socketPath(), kAnswerTimeoutMs);
    delete instance;
    if (answer == SingleInstance::Answer::Shown)
        return 0;
    std::fprintf(stderr, "Brevnote already runs for this user and did not show its window.\n");
    return 1;
}

} // namespace brevnote
