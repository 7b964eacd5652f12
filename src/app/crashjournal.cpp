#include "crashjournal.h"

#include "util/core/apperror.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace brevnote {

QString journalFileName() {
    return QStringLiteral("Brevnote.journal");
}

QByteArray encodeJournalText(const QString &rawText) {
    if (rawText.isEmpty())
        return {};
    // One pass into a buffer of the final size: neither a split into a million lines nor
    // QString::replace, which moves the tail of the text again for every chunk of matches.
    // Each separator becomes CR LF, and CR LF ends the last line too.
    const qsizetype separators = rawText.count(QChar::ParagraphSeparator);
    QString text(rawText.size() + separators + 2, Qt::Uninitialized);
    QChar *out = text.data();
    for (const QChar c : rawText) {
        if (c == QChar::ParagraphSeparator) {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c;
        }
    }
    out[0] = u'\r';
    out[1] = u'\n';
    return encodeText(text);
}

namespace {

// Runs on a worker thread: touches nothing but its arguments.
bool writeJournalFile(const QString &path, const QString &rawText) {
    try {
        writeFileSafely(path, encodeJournalText(rawText));
        return true;
    } catch (const AppError &) {
        return false;
    }
}

} // namespace

CrashJournal::CrashJournal(const QString &folder, SnapshotFunction snapshot, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_snapshot(std::move(snapshot))
    , m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("JournalTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CrashJournal::startWrite);
    connect(&m_watcher, &QFutureWatcher<bool>::finished, this, &CrashJournal::takeResult);
}

CrashJournal::~CrashJournal() {
    if (m_inFlight)
        m_future.waitForFinished();
}

QString CrashJournal::path() const {
    return m_folder + u'/' + journalFileName();
}

void CrashJournal::textChanged() {
    if (m_stopped)
        return;
    // The wait is counted from the oldest change that no write has taken yet.
    if (m_changeCount == m_snapshotCount)
        m_oldestUnsaved.start();
    ++m_changeCount;
    const qint64 leftOfLongest = kLongestWaitMs - m_oldestUnsaved.elapsed();
    m_timer->start(int(std::clamp<qint64>(leftOfLongest, 0, kQuietMs)));
}

void CrashJournal::startWrite() {
    if (m_stopped)
        return;
    m_timer->stop();
    if (m_inFlight) {
        // One write at a time; the one under way starts the next when it ends.
        m_writeAgain = true;
        return;
    }
    m_writeAgain = false;
    m_snapshotCount = m_changeCount;
    // The snapshot is the only part on this thread: encoding and writing a large text
    // would stall typing.
    m_inFlight = true;
    m_future = QtConcurrent::run(writeJournalFile, path(), m_snapshot());
    m_watcher.setFuture(m_future);
}

void CrashJournal::takeResult() {
    // The watcher's signal may come after waitForWrite() took the result already, or from a
    // write before the one under way.
    if (!m_inFlight || !m_future.isFinished())
        return;
    m_inFlight = false;
    const bool ok = m_future.result();
    const quint64 written = m_snapshotCount;
    if (ok) {
        m_savedCount = std::max(m_savedCount, written);
    } else {
        if (!m_failureReported) {
            m_failureReported = true;
            emit cannotWrite(m_folder);
        }
    }
    emit writeFinished(ok);
    // Changes made while it wrote are past their wait already; after a failure the next
    // change tries again.
    if (ok && m_writeAgain && hasUnsavedChange())
        startWrite();
}

void CrashJournal::waitForWrite(Waiting waiting) {
    if (!m_inFlight)
        return;
    if (waiting == Waiting::Repainting) {
        // Ends at the watcher's signal, queued after whatever was waiting already (a
        // repaint, a tray click); key presses and clicks wait for the command.
        QEventLoop loop;
        QFutureWatcher<bool> written;
        connect(&written, &QFutureWatcher<bool>::finished, &loop, &QEventLoop::quit);
        written.setFuture(m_future);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    m_future.waitForFinished();
    takeResult();
}

void CrashJournal::writeNow(Waiting waiting) {
    if (m_stopped)
        return;
    waitForWrite(waiting);
    if (m_stopped || !hasUnsavedChange())
        return;
    startWrite();
    waitForWrite(waiting);
}

void CrashJournal::stop() {
    m_stopped = true;
    m_timer->stop();
    // A write under way must not bring the journal back after the caller removed it.
    if (m_inFlight) {
        m_future.waitForFinished();
        m_inFlight = false;
    }
}

void CrashJournal::discard() {
    stop();
    if (QFileInfo(path()).isFile())
        QFile::remove(path());
}

} // namespace brevnote
