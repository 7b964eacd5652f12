// The floor Brevnote is measured against: a tray icon and a plain-text editor, nothing else.
// With a tray the editor stays hidden, as Brevnote's window does; without one it is shown.
//
//   brevnote_reference [--load FILE] [--dump FILE]
//
// --load reads FILE as UTF-8 once the event loop runs, puts it into the editor with
// setPlainText and prints "load <ms> <kB in use before>" (read, decode, setPlainText and the
// events that left behind), with the peak memory reset just before.
// --dump writes toPlainText() as UTF-8 to FILE when SIGTERM arrives, then exits.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QSystemTrayIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int signalPipe[2];

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

QIcon noteIcon() {
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::yellow);
    return QIcon(pixmap);
}

// Resets the peak memory (VmHWM) to the present use and returns that use in kB, so the peak
// after a step is what the step itself held.
long resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

QString argumentAfter(const QStringList &arguments, const QString &name) {
    const qsizetype at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

} // namespace

int main(int argc, char *argv[]) {
    if (::pipe(signalPipe) != 0)
        return 1;
    std::signal(SIGTERM, onSignal);
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const QString loadPath = argumentAfter(arguments, QStringLiteral("--load"));
    const QString dumpPath = argumentAfter(arguments, QStringLiteral("--dump"));

    QPlainTextEdit editor;
    editor.resize(560, 400);
    QSystemTrayIcon tray(noteIcon());
    if (QSystemTrayIcon::isSystemTrayAvailable())
        tray.show();
    else
        editor.show();

    QSocketNotifier terminate(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&terminate, &QSocketNotifier::activated, [&] {
        if (!dumpPath.isEmpty()) {
            QFile file(dumpPath);
            if (file.open(QIODevice::WriteOnly))
                file.write(editor.toPlainText().toUtf8());
        }
        QCoreApplication::exit(0);
    });

    if (!loadPath.isEmpty()) {
        QTimer::singleShot(0, [&] {
            const long before = resetPeakMemory();
            QElapsedTimer clock;
            clock.start();
            QFile file(loadPath);
            if (!file.open(QIODevice::ReadOnly))
                return;
            editor.setPlainText(QString::fromUtf8(file.readAll()));
            // Reported once the events the load left behind have run (the editor's layout
            // and repaint), as Brevnote reports the end of a command.
            QTimer::singleShot(0, [clock, before] {
                std::printf("load %lld %ld\n", static_cast<long long>(clock.elapsed()), before);
                std::fflush(stdout);
            });
        });
    }
    return QApplication::exec();
}
