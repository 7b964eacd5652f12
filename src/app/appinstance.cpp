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
#include <QWidget>

#include <algorithm>

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

double monotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The longest the interface thread went without running a 10 ms timer since the last report:
// how long the window could not repaint, give or take those 10 ms.
class RepaintGapWatch final : public QObject {
public:
    explicit RepaintGapWatch(QObject *parent)
        : QObject(parent) {
        m_last = monotonicMs();
        m_timer.callOnTimeout(this, [this] {
            const double now = monotonicMs();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_timer.start(10);
    }
    // Prints one report line with the longest gap so far (including the one still open),
    // then starts counting again.
    void report(const char *what, const QByteArray &name) {
        const double now = monotonicMs();
        std::printf("%s %s %.1f %.1f\n", what, name.constData(), now,
                    std::max(m_longest, now - m_last));
        std::fflush(stdout);
        m_longest = 0;
    }

protected:
    // A window shown: the benchmark script takes the end of a command that ends in a window
    // (the table of "Agrupar", a file dialog) from here.
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            report("shown", watched->metaObject()->className());
        return false;
    }

private:
    QTimer m_timer;
    double m_last = 0;
    double m_longest = 0;
};

// The benchmark script times commands end to end from outside: with this variable set, each
// action of the main window prints "done <action> <CLOCK_MONOTONIC ms> <longest gap ms>" on
// standard output once the events its command left behind have run, and every window shown
// prints "shown <class> <ms> <longest gap ms>". A user never sets it.
void reportCommandsWhenAsked() {
    if (qEnvironmentVariableIsEmpty("BREVNOTE_TEST_REPORT"))
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            if (!fMaster)
                return;
            auto *watch = new RepaintGapWatch(fMaster);
            QCoreApplication::instance()->installEventFilter(watch);
            for (QAction *action : fMaster->findChildren<QAction *>()) {
                // Connected after the command itself, so this runs once the command returned.
                QObject::connect(action, &QAction::triggered, fMaster, [action, watch] {
                    QTimer::singleShot(0, fMaster, [watch, name = action->objectName().toUtf8()] {
                        watch->report("done", name);
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
