#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/apperror.h"
#include "util/core/browsepagefile.h"
#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "web/browserroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

using namespace brevnote;

namespace {

QString inProgramTmp(const QString &name) {
    return QDir::cleanPath(platform::programFolder() + QStringLiteral("tmp/") + name);
}

} // namespace

class TestBrowser : public QObject {
    Q_OBJECT

private slots:
    void writesLinesWithCrLf_data();
    void writesLinesWithCrLf();
    void emptyNameIsTheDefaultPage();
    void secondDefaultPageReplacesTheFirst();
    void bareNameGoesIntoTmp();
    void uniqueNameIsStampedInTheTempFolder();
    void uniqueNamesOneMillisecondApartDiffer();
    void relativeNameWithFolderIsMadeFull();
    void unwritablePlaceRaisesAndWritesNothing();
    void navigateMapsLocationsToUrls_data();
    void navigateMapsLocationsToUrls();
    void browseHtmlTextShowsThePage();
    void failedWriteLeavesTheBrowserAlone();
};

void TestBrowser::writesLinesWithCrLf_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("mixed breaks") << QStringLiteral("<p>a\nb\rc\r\nd")
                                  << QByteArray("<p>a\r\nb\r\nc\r\nd\r\n");
    QTest::newRow("break at the end adds no line")
        << QStringLiteral("x\r\n") << QByteArray("x\r\n");
    QTest::newRow("empty lines kept") << QStringLiteral("a\n\nb") << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("empty text, empty file") << QString() << QByteArray();
    QTest::newRow("accents in Windows-1252")
        << QStringLiteral("Atenção") << QByteArray("Aten\xE7\xE3o\r\n");
}

void TestBrowser::writesLinesWithCrLf() {
    QFETCH(QString, html);
    QFETCH(QByteArray, bytes);
    const QString written = WriteBrowsePage(html, QString(), false);
    QCOMPARE(test::readBytes(written), bytes);
}

void TestBrowser::emptyNameIsTheDefaultPage() {
    QDir(platform::programFolder() + QStringLiteral("tmp")).removeRecursively();
    const QString written = WriteBrowsePage(QStringLiteral("<html></html>"), QString(), false);
    QCOMPARE(QDir::cleanPath(written), inProgramTmp(QStringLiteral("HTMLText2Browse.htm")));
    QVERIFY(QFileInfo(written).isAbsolute());
    QCOMPARE(test::readBytes(written), QByteArray("<html></html>\r\n"));
}

void TestBrowser::secondDefaultPageReplacesTheFirst() {
    const QString first = WriteBrowsePage(QStringLiteral("first\nlonger page"), QString(), false);
    const QString second = WriteBrowsePage(QStringLiteral("second"), QString(), false);
    QCOMPARE(second, first);
    QCOMPARE(test::readBytes(second), QByteArray("second\r\n"));
}

void TestBrowser::bareNameGoesIntoTmp() {
    const QString written = WriteBrowsePage(QStringLiteral("x"), QStringLiteral("page.htm"), false);
    QCOMPARE(QDir::cleanPath(written), inProgramTmp(QStringLiteral("page.htm")));
    QCOMPARE(test::readBytes(written), QByteArray("x\r\n"));
}

void TestBrowser::uniqueNameIsStampedInTheTempFolder() {
    // The stamp is month, seconds and milliseconds.
    const ScopedFixedClock clock(QDateTime(QDate(2026, 12, 8), QTime(3, 30, 7, 153)));
    // The unique name wins over a given name.
    const QString written = WriteBrowsePage(QStringLiteral("u"), QStringLiteral("given.htm"), true);
    QCOMPARE(QDir::cleanPath(written),
             QDir::cleanPath(TempFolder() + QStringLiteral("HTMLText2Browse.12.07.153.htm")));
    QCOMPARE(test::readBytes(written), QByteArray("u\r\n"));
    QVERIFY(!QFileInfo::exists(inProgramTmp(QStringLiteral("given.htm"))));
}

void TestBrowser::uniqueNamesOneMillisecondApartDiffer() {
    const QString first = WriteBrowsePage(QStringLiteral("1"), QString(), true);
    const QString second = WriteBrowsePage(QStringLiteral("2"), QString(), true);
    QVERIFY(first != second);
    QCOMPARE(test::readBytes(first), QByteArray("1\r\n"));
    QCOMPARE(test::readBytes(second), QByteArray("2\r\n"));
}

void TestBrowser::relativeNameWithFolderIsMadeFull() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString saved = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QString written;
    try {
        written = WriteBrowsePage(QStringLiteral("r"), QStringLiteral("sub/page.htm"), false);
    } catch (...) {
        QDir::setCurrent(saved);
        throw;
    }
    QDir::setCurrent(saved);
    QCOMPARE(QFileInfo(written).canonicalFilePath(),
             QFileInfo(dir.filePath(QStringLiteral("sub/page.htm"))).canonicalFilePath());
    QVERIFY(QFileInfo(written).isAbsolute());
}

void TestBrowser::unwritablePlaceRaisesAndWritesNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = test::unwritablePath(dir, QStringLiteral("page.htm"));
    try {
        WriteBrowsePage(QStringLiteral("<p>x"), target, false);
        QFAIL("no error raised");
    } catch (const AppError &error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot create file ") + target);
    }
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(test::readBytes(dir.filePath(QStringLiteral("regular-file"))),
             QByteArray("not a folder"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("regular-file")});
}

void TestBrowser::navigateMapsLocationsToUrls_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("full file name") << QStringLiteral("/tmp/x/pagina.htm")
                                    << QUrl::fromLocalFile(QStringLiteral("/tmp/x/pagina.htm"));
    QTest::newRow("file name with # and ?")
        << QStringLiteral("/tmp/a#b?c.htm")
        << QUrl::fromLocalFile(QStringLiteral("/tmp/a#b?c.htm"));
    QTest::newRow("file URL") << QStringLiteral("file:///tmp/x/p%C3%A1gina.htm")
                              << QUrl::fromLocalFile(QStringLiteral("/tmp/x/página.htm"));
    QTest::newRow("about page") << QStringLiteral("about:blank")
                                << QUrl(QStringLiteral("about:blank"));
}

// The view is asked for the URL it was told to load; no test location needs a network.
void TestBrowser::navigateMapsLocationsToUrls() {
    QFETCH(QString, location);
    QFETCH(QUrl, url);
    QWebEngineView view;
    BrowserNavigate(&view, location);
    // The view reports the URL once the engine has taken the navigation up.
    QTRY_COMPARE_WITH_TIMEOUT(view.url(), url, 20000);
    view.stop();
}

void TestBrowser::browseHtmlTextShowsThePage() {
    QWebEngineView view;
    view.resize(400, 300);
    view.show();
    QSignalSpy finished(&view, &QWebEngineView::loadFinished);
    QString used = QStringLiteral("untouched");
    BrowseHtmlText(QStringLiteral("<html><head><title>Lembrete ç</title></head>\n"
                                  "<body>Olá</body></html>"),
                   &view, QString(), &used, false);

    QCOMPARE(QDir::cleanPath(used), inProgramTmp(QStringLiteral("HTMLText2Browse.htm")));
    QTRY_COMPARE_WITH_TIMEOUT(view.url(), QUrl::fromLocalFile(used), 20000);
    if (finished.isEmpty() && !finished.wait(30000))
        QSKIP("QtWebEngine did not finish loading in time here; the URL mapping is checked");
    QCOMPARE(finished.constFirst().constFirst().toBool(), true);
    QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("Lembrete ç"), 10000);
}

void TestBrowser::failedWriteLeavesTheBrowserAlone() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = test::unwritablePath(dir, QStringLiteral("page.htm"));
    QWebEngineView view;
    QString used = QStringLiteral("untouched");
    QVERIFY_THROWS_EXCEPTION(AppError,
                             BrowseHtmlText(QStringLiteral("x"), &view, target, &used, false));
    QCOMPARE(used, QStringLiteral("untouched"));
    QVERIFY(view.url().isEmpty());
}

BREVNOTE_TEST_WIDGETS_MAIN(TestBrowser)
#include "tst_browser.moc"
