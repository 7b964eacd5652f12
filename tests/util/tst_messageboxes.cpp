#include "support/hermetic.h"
#include "support/scripteddialogs.h"
#include "util/core/platform.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <optional>

using namespace brevnote;
using brevnote::test::ScriptedDialogs;

namespace {

// Records where an open dialog would start; the scripted dialogs keep only the filter.
class OpenDialogRecorder final : public UserDialogs {
public:
    OpenDialogRecorder() { setUserDialogs(this); }
    ~OpenDialogRecorder() override { setUserDialogs(nullptr); }
    OpenDialogRecorder(const OpenDialogRecorder &) = delete;
    OpenDialogRecorder &operator=(const OpenDialogRecorder &) = delete;

    QString folder, filter, suffix, answer;

    int messageBox(QWidget *, const QString &, const QString &, int) override { return 0; }
    void errorBox(QWidget *, const QString &) override {}
    QString openFileName(QWidget *, const QString &f, const QString &flt,
                         const QString &sfx) override {
        folder = f;
        filter = flt;
        suffix = sfx;
        return answer;
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &,
                         bool) override {
        return {};
    }
    bool chooseFont(QWidget *, const QFont &, QFont *) override { return false; }
    bool choosePrinter(QWidget *, QPrinter *) override { return false; }
};

// Runs `inspect` on the real message box once it is on screen. A watchdog ends the box when
// `inspect` did not answer it within the limit, so the test fails instead of hanging.
class RealBoxDriver final {
public:
    explicit RealBoxDriver(std::function<void(QMessageBox *)> inspect)
        : m_inspect(std::move(inspect)) {
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start();
    }

    bool sawBox() const { return m_sawBox; }
    bool timedOut() const { return m_timedOut; }

private:
    static QMessageBox *openBox() {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            return box;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                return box;
        }
        return nullptr;
    }

    void poll() {
        QMessageBox *box = openBox();
        if (m_deadline.hasExpired()) {
            m_poll.stop();
            m_timedOut = true;
            if (box)
                box->done(0); // done() hides the box even when it refuses to close
            return;
        }
        if (!box || m_sawBox)
            return;
        m_sawBox = true;
        m_inspect(box);
        // Keep polling: the watchdog still ends a box that the inspection left open.
    }

    std::function<void(QMessageBox *)> m_inspect;
    QTimer m_poll;
    QDeadlineTimer m_deadline{10000};
    bool m_sawBox = false;
    bool m_timedOut = false;
};

} // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT

private slots:
    void realDialogsBlockOnlyTheirWindow_data();
    void realDialogsBlockOnlyTheirWindow();
    void applicationTitleIsTheApplicationName();
    void captionDefaultsToTitle_data();
    void captionDefaultsToTitle();
    void stylesReachTheSeam_data();
    void stylesReachTheSeam();
    void questionsAreTrueOnlyOnYes_data();
    void questionsAreTrueOnlyOnYes();
    void errorBoxGoesThroughTheSeam();
    void pickFileNameStartsInProgramFolder_data();
    void pickFileNameStartsInProgramFolder();
    void realYesNoBox_data();
    void realPickFileNameAcceptsANewName();
    void realYesNoBox();
    void realInformationBoxShowsTextAsGiven();
    void realErrorBoxShowsMessageAsText();
    void qtFileFilterConvertsPairs_data();
    void qtFileFilterConvertsPairs();
};

void TestMessageBoxes::applicationTitleIsTheApplicationName() {
    QCOMPARE(ApplicationTitle(), QStringLiteral("Brevnote"));
    const QString saved = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QString());
    const QString whenEmpty = ApplicationTitle();
    QCoreApplication::setApplicationName(saved);
    // Qt falls back to the executable's name, never to an empty title.
    QVERIFY(!whenEmpty.isEmpty());
}

void TestMessageBoxes::captionDefaultsToTitle_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty caption") << QString() << QStringLiteral("Brevnote");
    QTest::newRow("own caption") << QStringLiteral("Atenção") << QStringLiteral("Atenção");
    QTest::newRow("blank caption is not empty") << QStringLiteral(" ") << QStringLiteral(" ");
}

void TestMessageBoxes::captionDefaultsToTitle() {
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDOK);
    dialogs.messageBoxAnswers.enqueue(IDOK);
    dialogs.messageBoxAnswers.enqueue(IDYES);
    dialogs.messageBoxAnswers.enqueue(IDYES);
    QWidget owner;
    ShowMessageBox(QStringLiteral("a"), caption, 64, nullptr);
    OwnerMessageBox(&owner, QStringLiteral("b"), caption, 64);
    AskYesNo(QStringLiteral("c"), caption, false);
    ConfirmDialog(&owner, QStringLiteral("d"), caption);
    QCOMPARE(dialogs.messageBoxes.size(), 4);
    for (const auto &call : std::as_const(dialogs.messageBoxes))
        QCOMPARE(call.caption, shown);
}

void TestMessageBoxes::stylesReachTheSeam_data() {
    QTest::addColumn<int>("routine");
    QTest::addColumn<bool>("yesDefault");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("owned");
    QTest::newRow("ShowMessageBox information") << 0 << false << 64 << false;
    QTest::newRow("OwnerMessageBox information") << 1 << false << 64 << true;
    QTest::newRow("AskYesNo, No default") << 2 << false << 292 << false;
    QTest::newRow("AskYesNo, Yes default") << 2 << true << 36 << false;
    QTest::newRow("ConfirmDialog") << 3 << false << 292 << true;
}

void TestMessageBoxes::stylesReachTheSeam() {
    QFETCH(int, routine);
    QFETCH(bool, yesDefault);
    QFETCH(int, style);
    QFETCH(bool, owned);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(IDOK);
    QWidget owner;
    const QString text = QStringLiteral("Linha 1\rLinha 2");
    switch (routine) {
    case 0:
        QCOMPARE(ShowMessageBox(text, QString(), style, nullptr), IDOK);
        break;
    case 1:
        QCOMPARE(OwnerMessageBox(&owner, text, QString(), style), IDOK);
        break;
    case 2:
        AskYesNo(text, QString(), yesDefault);
        break;
    default:
        ConfirmDialog(&owner, text, QString());
        break;
    }
    QCOMPARE(dialogs.messageBoxes.size(), 1);
    const auto &call = dialogs.messageBoxes.constFirst();
    QCOMPARE(call.style, style);
    QCOMPARE(call.text, text);
    QCOMPARE(call.owner, owned ? &owner : nullptr);
}

void TestMessageBoxes::questionsAreTrueOnlyOnYes_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("result");
    QTest::newRow("Yes") << IDYES << true;
    QTest::newRow("No") << IDNO << false;
    QTest::newRow("Cancel") << IDCANCEL << false;
    QTest::newRow("OK") << IDOK << false;
    QTest::newRow("box ended without a button") << 0 << false;
}

void TestMessageBoxes::questionsAreTrueOnlyOnYes() {
    QFETCH(int, answer);
    QFETCH(bool, result);
    ScriptedDialogs dialogs;
    dialogs.messageBoxAnswers.enqueue(answer);
    dialogs.messageBoxAnswers.enqueue(answer);
    dialogs.messageBoxAnswers.enqueue(answer);
    QWidget owner;
    QCOMPARE(AskYesNo(QStringLiteral("q"), QString(), false), result);
    QCOMPARE(AskYesNo(QStringLiteral("q"), QString(), true), result);
    QCOMPARE(ConfirmDialog(&owner, QStringLiteral("q"), QString()), result);
}

void TestMessageBoxes::errorBoxGoesThroughTheSeam() {
    ScriptedDialogs dialogs;
    ShowErrorBox(nullptr, QStringLiteral("Cannot create file /x/y.txt"));
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("Cannot create file /x/y.txt")});
    QVERIFY(dialogs.messageBoxes.isEmpty());
}

void TestMessageBoxes::pickFileNameStartsInProgramFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("answer");
    QTest::newRow("no folder, chosen") << QString() << QStringLiteral("/opt/editor.exe");
    QTest::newRow("own folder, cancelled") << QStringLiteral("/usr/bin") << QString();
}

void TestMessageBoxes::pickFileNameStartsInProgramFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, answer);
    OpenDialogRecorder dialogs;
    dialogs.answer = answer;
    QCOMPARE(PickFileName(folder, QStringLiteral("HTML Editor|*.exe"), QStringLiteral("exe")),
             answer);
    QCOMPARE(dialogs.folder, folder.isEmpty() ? platform::programFolder() : folder);
    QCOMPARE(dialogs.filter, QStringLiteral("HTML Editor|*.exe"));
    QCOMPARE(dialogs.suffix, QStringLiteral("exe"));
}

// The real open dialog keeps its standard options: a name that does not exist yet is
// accepted, with the default extension added.
void TestMessageBoxes::realPickFileNameAcceptsANewName() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    bool typed = false;
    QTimer poll;
    poll.setInterval(20);
    QDeadlineTimer deadline(10000);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QFileDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *found = qobject_cast<QFileDialog *>(w); found && found->isVisible())
                dialog = found;
        }
        if (!dialog)
            return;
        if (deadline.hasExpired() || typed) {
            // Still open: the name was refused, perhaps with a box saying so.
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->done(0);
            dialog->reject();
            return;
        }
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setText(QStringLiteral("novo"));
        typed = true;
        // Queued: a refusal opens a box of its own, which must not block this poll.
        QMetaObject::invokeMethod(
            edit, [edit] { QTest::keyClick(edit, Qt::Key_Return); }, Qt::QueuedConnection);
    });
    poll.start();
    const QString chosen =
        PickFileName(dir.path(), QStringLiteral("HTML Editor|*.exe"), QStringLiteral("exe"));
    QVERIFY(typed);
    QCOMPARE(chosen, QDir(dir.path()).filePath(QStringLiteral("novo.exe")));
}

// The real box: the seam with nothing installed.
void TestMessageBoxes::realYesNoBox_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("enterAnswers");
    QTest::newRow("292: No is the default") << 292 << int(QMessageBox::No) << IDNO;
    QTest::newRow("36: Yes is the default") << 36 << int(QMessageBox::Yes) << IDYES;
}

void TestMessageBoxes::realYesNoBox() {
    QFETCH(int, style);
    QFETCH(int, defaultButton);
    QFETCH(int, enterAnswers);

    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPushButton *defaultAtStart = nullptr;
    QAbstractButton *expectedDefault = nullptr;
    bool openAfterEscape = false, openAfterClose = false, closeButton = true;
    RealBoxDriver driver([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        defaultAtStart = box->defaultButton();
        expectedDefault = box->button(QMessageBox::StandardButton(defaultButton));
        closeButton = box->windowFlags().testFlag(Qt::WindowCloseButtonHint);
        QTest::keyClick(box, Qt::Key_Escape);
        openAfterEscape = box->isVisible();
        box->close();
        openAfterClose = box->isVisible();
        // Enter presses the default button.
        QTest::keyClick(box, Qt::Key_Return);
    });
    const int answer = ShowMessageBox(QStringLiteral("Apagar?\rTudo"), QString(), style, nullptr);

    QVERIFY2(driver.sawBox(), "no message box was shown");
    QVERIFY2(!driver.timedOut(), "the box was not answered in time");
    QCOMPARE(title, QStringLiteral("Brevnote"));
    QCOMPARE(text, QStringLiteral("Apagar?\nTudo"));
    QCOMPARE(icon, QMessageBox::Question);
    QVERIFY(expectedDefault != nullptr);
    QCOMPARE(static_cast<QAbstractButton *>(defaultAtStart), expectedDefault);
    QVERIFY2(openAfterEscape, "Escape closed a Yes/No box");
    QVERIFY2(openAfterClose, "a Yes/No box closed without an answer");
    QVERIFY2(!closeButton, "a Yes/No box offers a close button");
    QCOMPARE(answer, enterAnswers);
}

namespace {

// What a real box showed, read while it was open.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;

    static SeenBox of(const QMessageBox *box) {
        return {box->windowTitle(), box->text(), box->icon(), box->textFormat()};
    }
};

} // namespace

void TestMessageBoxes::realInformationBoxShowsTextAsGiven() {
    SeenBox seen;
    RealBoxDriver driver([&](QMessageBox *box) {
        seen = SeenBox::of(box);
        // An information box may be dismissed with Escape; that is its OK.
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const int answer =
        ShowMessageBox(QStringLiteral("<b>x</b>"), QStringLiteral("Aviso"), 64, nullptr);
    QVERIFY(driver.sawBox());
    QVERIFY(!driver.timedOut());
    QCOMPARE(answer, IDOK);
    QCOMPARE(seen.title, QStringLiteral("Aviso"));
    QCOMPARE(seen.text, QStringLiteral("<b>x</b>"));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.format, Qt::PlainText);
}

void TestMessageBoxes::realErrorBoxShowsMessageAsText() {
    SeenBox seen;
    RealBoxDriver driver([&](QMessageBox *box) {
        seen = SeenBox::of(box);
        QTest::keyClick(box, Qt::Key_Return);
    });
    ShowErrorBox(nullptr, QStringLiteral("Cannot create file /tmp/<i>a</i>.htm"));
    QVERIFY(driver.sawBox());
    QVERIFY(!driver.timedOut());
    QCOMPARE(seen.title, QStringLiteral("Brevnote"));
    QCOMPARE(seen.text, QStringLiteral("Cannot create file /tmp/<i>a</i>.htm"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.format, Qt::PlainText);
}

void TestMessageBoxes::realDialogsBlockOnlyTheirWindow_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("message box") << 0;
    QTest::newRow("question") << 1;
    QTest::newRow("error box") << 2;
    QTest::newRow("open") << 3;
    QTest::newRow("save") << 4;
    QTest::newRow("font") << 5;
    QTest::newRow("print") << 6;
}

void TestMessageBoxes::realDialogsBlockOnlyTheirWindow() {
    QFETCH(int, kind);
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    // Another top-level window, as the tray icon is: it must stay usable.
    QWidget other;
    other.show();

    std::optional<Qt::WindowModality> modality;
    // An application-modal window would block `other` too.
    bool otherBlocked = true;
    QTimer poll;
    QDeadlineTimer deadline(10000);
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog && !deadline.hasExpired())
            return;
        if (dialog) {
            modality = dialog->windowModality();
            otherBlocked = QGuiApplication::modalWindow() &&
                           QGuiApplication::modalWindow()->modality() == Qt::ApplicationModal;
            dialog->done(0);
        }
        poll.stop();
    });
    poll.start();

    UserDialogs &dialogs = userDialogs();
    QFont font;
    QPrinter printer;
    switch (kind) {
    case 0:
        dialogs.messageBox(&owner, QStringLiteral("x"), QStringLiteral("Brevnote"), 64);
        break;
    case 1:
        dialogs.messageBox(&owner, QStringLiteral("x?"), QStringLiteral("Brevnote"), 292);
        break;
    case 2:
        dialogs.errorBox(&owner, QStringLiteral("x"));
        break;
    case 3:
        dialogs.openFileName(&owner, QDir::tempPath(), QStringLiteral("TXT files|*.txt"),
                             QStringLiteral("txt"));
        break;
    case 4:
        dialogs.saveFileName(&owner, QDir::tempPath(), QStringLiteral("TXT files|*.txt"),
                             QStringLiteral("txt"), true);
        break;
    case 5:
        dialogs.chooseFont(&owner, owner.font(), &font);
        break;
    default:
        dialogs.choosePrinter(&owner, &printer);
        break;
    }
    QVERIFY2(modality.has_value(), "no dialog appeared");
    QCOMPARE(*modality, Qt::WindowModal);
    QVERIFY(!otherBlocked);
}

void TestMessageBoxes::qtFileFilterConvertsPairs_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one pair") << QStringLiteral("HTML Editor|*.exe")
                              << QStringLiteral("HTML Editor (*.exe)");
    QTest::newRow("two pairs") << QStringLiteral("HTML Files|*.htm*|All files (*.*)|*.*")
                               << QStringLiteral("HTML Files (*.htm*);;All files (*.*) (*.*)");
    QTest::newRow("several patterns")
        << QStringLiteral("Texto|*.txt;*.log") << QStringLiteral("Texto (*.txt *.log)");
    QTest::newRow("empty") << QString() << QString();
}

void TestMessageBoxes::qtFileFilterConvertsPairs() {
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(qtFileFilter(filter), qt);
}

BREVNOTE_TEST_WIDGETS_MAIN(TestMessageBoxes)
#include "tst_messageboxes.moc"
