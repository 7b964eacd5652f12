#include "support/hermetic.h"
#include "support/scopedenvironment.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"
#include "util/core/platform.h"
#include "util/ui/webwindows.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <thread>

using namespace brevnote;
using brevnote::test::ScopedEnvironment;
using brevnote::test::ScriptedDialogs;

namespace {

const QString kUnavailable =
    QStringLiteral("As páginas web não estão disponíveis: não foi possível carregar\r\n");

} // namespace

class TestWebWindows : public QObject {
    Q_OBJECT

private slots:
    void libraryThatCannotBeUsedIsReported_data();
    void libraryThatCannotBeUsedIsReported();
    void builtLibraryIsFound();

private:
    QTemporaryDir m_dir;
};

void TestWebWindows::libraryThatCannotBeUsedIsReported_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes"); // written to the path first unless empty
    QTest::addColumn<QString>("reason");   // the start of the reason, when it is ours
    QTest::newRow("no such file") << m_dir.filePath(QStringLiteral("libbrevnote_web.so"))
                                  << QByteArray() << QStringLiteral("O arquivo não existe.");
    QTest::newRow("not a library") << m_dir.filePath(QStringLiteral("text/libbrevnote_web.so"))
                                   << QByteArray("not a library\n") << QString();
    QTest::newRow("no entry point")
        << QStringLiteral(BREVNOTE_NOT_A_WEB_MODULE) << QByteArray() << QString();
}

// The page is not shown, the user is told why in the error box, and the program goes on.
void TestWebWindows::libraryThatCannotBeUsedIsReported() {
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    if (!bytes.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(test::writeBytes(path, bytes));
    }
    const ScopedEnvironment module("BREVNOTE_WEB_MODULE", QFile::encodeName(path));
    ScriptedDialogs dialogs;
    QVERIFY(!ShowHTMLDialog(nullptr, QStringLiteral("<p>x</p>")));
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY2(dialogs.errors.at(0).startsWith(kUnavailable + path + QStringLiteral("\r\n\r\n")),
             qPrintable(dialogs.errors.at(0)));
    QVERIFY(dialogs.errors.at(0).size() > kUnavailable.size() + path.size() + 4); // the reason
    QVERIFY(dialogs.errors.at(0).endsWith(reason));

    QString error;
    QCOMPARE(loadWebWindows(&error), nullptr);
    QCOMPARE(error, dialogs.errors.at(0));
}

namespace {

bool moduleLoaded() {
    const QString module = QFileInfo(platform::webModulePath()).canonicalFilePath();
    const QStringList loaded = platform::loadedLibraryFiles();
    return std::any_of(loaded.cbegin(), loaded.cend(), [&](const QString &library) {
        return QFileInfo(library).canonicalFilePath() == module;
    });
}

} // namespace

// The library named by the test environment (the built one) is loaded ahead on another
// thread (not on the interface thread, where that would only add to the wait) and then has
// the entry point the loader asks for; nothing is shown.
void TestWebWindows::builtLibraryIsFound() {
    QVERIFY(QFileInfo(platform::webModulePath()).isFile());
    QVERIFY(!moduleLoaded());
    webWindowsLoadingAhead()();
    QVERIFY(!moduleLoaded());
    std::thread elsewhere(webWindowsLoadingAhead());
    elsewhere.join();
    QVERIFY(moduleLoaded());

    ScriptedDialogs dialogs;
    QString error;
    QVERIFY(loadWebWindows(&error) != nullptr);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(dialogs.errors.isEmpty());
}

BREVNOTE_TEST_WIDGETS_MAIN(TestWebWindows)
#include "tst_webwindows.moc"
