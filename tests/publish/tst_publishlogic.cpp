#include "publish/commatext.h"
#include "publish/historypage.h"
#include "publish/installerscript.h"
#include "publish/sdksettings.h"
#include "publish/uploadcommand.h"
#include "support/hermetic.h"
#include "support/testfiles.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace brevnote;

class TestPublishLogic : public QObject {
    Q_OBJECT

private slots:
    void commaTextRoundTrip_data();
    void commaTextRoundTrip();
    void commaTextReadsLooseText_data();
    void commaTextReadsLooseText();
    void uploadCommandLine_data();
    void uploadCommandLine();
    void uploadStartTakesAnExistingProgramWhole();
    void installerScriptStampedInPlace();
    void historyPageFromTemplate();
    void historyPageNeverOverwritten();
    void versionMarker_data();
    void versionMarker();
    void versionMarkerInFileAppendsThenRewrites();
    void settingsRoundTrip();
    void settingsFileOwnerOnly_data();
    void settingsFileOwnerOnly();
};

void TestPublishLogic::commaTextRoundTrip_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty list") << QStringList() << QString();
    QTest::newRow("plain paths") << QStringList{"/a/b.htm", "/c/d.exe"}
                                 << QStringLiteral("/a/b.htm,/c/d.exe");
    QTest::newRow("space quoted") << QStringList{"/my files/a.htm", "/b"}
                                  << QStringLiteral("\"/my files/a.htm\",/b");
    QTest::newRow("comma quoted") << QStringList{"a,b", "c"} << QStringLiteral("\"a,b\",c");
    QTest::newRow("quote doubled")
        << QStringList{"say \"hi\"", "x\"y"} << QStringLiteral("\"say \"\"hi\"\"\",\"x\"\"y\"");
    QTest::newRow("lone empty entry") << QStringList{""} << QStringLiteral("\"\"");
    QTest::newRow("empty entries around")
        << QStringList{"", "a", ""} << QStringLiteral("\"\",a,\"\"");
    QTest::newRow("tab, line break and blanks at the ends")
        << QStringList{"a\tb", "c\r\nd", " e "} << QStringLiteral("\"a\tb\",\"c\r\nd\",\" e \"");
    QTest::newRow("only quotes") << QStringList{"\"", "\"\""}
                                 << QStringLiteral("\"\"\"\",\"\"\"\"\"\"");
    QTest::newRow("accents and other scripts") << QStringList{"/Atualizações/ç.htm", "日本.txt"}
                                               << QStringLiteral("/Atualizações/ç.htm,日本.txt");
}

void TestPublishLogic::commaTextRoundTrip() {
    QFETCH(QStringList, entries);
    QFETCH(QString, text);
    QCOMPARE(CommaText(entries), text);
    QCOMPARE(ParseCommaText(text), entries);
}

void TestPublishLogic::commaTextReadsLooseText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("blanks around entries") << QStringLiteral("  a , b  ") << QStringList{"a", "b"};
    QTest::newRow("unquoted blank splits") << QStringLiteral("a b") << QStringList{"a", "b"};
    QTest::newRow("empty between commas") << QStringLiteral("a,,b") << QStringList{"a", "", "b"};
    QTest::newRow("comma at the end") << QStringLiteral("a,") << QStringList{"a", ""};
    QTest::newRow("unterminated quote") << QStringLiteral("\"a b,c") << QStringList{"a b,c"};
    QTest::newRow("text after a closing quote")
        << QStringLiteral("\"a\"b,c") << QStringList{"a", "b", "c"};
    QTest::newRow("only blanks") << QStringLiteral(" \t ") << QStringList();
}

void TestPublishLogic::commaTextReadsLooseText() {
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QCOMPARE(ParseCommaText(text), entries);
}

void TestPublishLogic::uploadCommandLine_data() {
    QTest::addColumn<QStringList>("fields"); // program, folder, url, host, user, password
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("all filled, values trimmed")
        << QStringList{"/opt/up", "site/rel", " http://x.org/ ", " h.org ", " me ", " pw "}
        << QStringList{"/r/a.htm"}
        << QStringLiteral("/opt/up folder=site/rel filenames=/r/a.htm URL=http://x.org/ "
                          "Host=h.org User=me PassWord=pw")
        << QStringList{"/opt/up",    "folder=site/rel", "filenames=/r/a.htm", "URL=http://x.org/",
                       "Host=h.org", "User=me",         "PassWord=pw"};
    QTest::newRow("blank host, user and password left out; URL kept")
        << QStringList{"/opt/up", "", "", "", "   ", "\t"} << QStringList()
        << QStringLiteral("/opt/up folder= filenames= URL=")
        << QStringList{"/opt/up", "folder=", "filenames=", "URL="};
    QTest::newRow("only the password given")
        << QStringList{"/opt/up", "f", "u", "", "", "s3"} << QStringList{"/a", "/b"}
        << QStringLiteral("/opt/up folder=f filenames=/a,/b URL=u PassWord=s3")
        << QStringList{"/opt/up", "folder=f", "filenames=/a,/b", "URL=u", "PassWord=s3"};
    QTest::newRow("no program: no argument taken for one")
        << QStringList{" ", "f", "", "", "", ""} << QStringList()
        << QStringLiteral("  folder=f filenames= URL=")
        << QStringList{"", "folder=f", "filenames=", "URL="};
    QTest::newRow("file with a space quoted, folder untrimmed")
        << QStringList{"/opt/up", " f", "u", "h", "", ""} << QStringList{"/my dir/a.htm", "/b.exe"}
        << QStringLiteral("/opt/up folder= f filenames=\"/my dir/a.htm\",/b.exe URL=u Host=h")
        << QStringList{"/opt/up", "folder=", "f", "filenames=/my dir/a.htm,/b.exe",
                       "URL=u",   "Host=h"};
}

void TestPublishLogic::uploadCommandLine() {
    QFETCH(QStringList, fields);
    QFETCH(QStringList, files);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, words);

    const UploadSettings settings{fields.at(0), fields.at(1), files,       fields.at(2),
                                  fields.at(3), fields.at(4), fields.at(5)};
    QCOMPARE(UploadCommandLine(settings), commandLine);
    const ProgramStart start = UploadProgramStart(settings);
    QCOMPARE(QStringList{start.program} + start.arguments, words);
}

void TestPublishLogic::uploadStartTakesAnExistingProgramWhole() {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("my tools/up load"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("my tools"))));
    QVERIFY(test::writeBytes(program, "#!/bin/sh\n"));

    UploadSettings settings;
    settings.program = program;
    settings.url = QStringLiteral("u");
    const ProgramStart start = UploadProgramStart(settings);
    QCOMPARE(start.program, program);
    QCOMPARE(start.arguments, (QStringList{"folder=", "filenames=", "URL=u"}));
}

void TestPublishLogic::installerScriptStampedInPlace() {
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("setup.iss"));
    QVERIFY(test::writeBytes(script, "; installer\r\n"
                                     "[Setup]\r\n"
                                     "AppName=Old\r\n"
                                     "DefaultDirName={pf}\\Brevnote\r\n"
                                     "[Files]\r\n"
                                     "Source: \"brevnote.exe\"; DestDir: \"{app}\"\r\n"
                                     "[Code]\r\n"
                                     "begin end.\r\n"));
    const QByteArray expected = "; installer\r\n"
                                "[Setup]\r\n"
                                "AppName=Brevnote [1.2.3]\r\n"
                                "DefaultDirName={pf}\\Brevnote\r\n"
                                "AppVerName=Brevnote [1.2.3]\r\n"
                                "VersionInfoVersion=1.2.3\r\n"
                                "[Files]\r\n"
                                "Source: \"brevnote.exe\"; DestDir: \"{app}\"\r\n"
                                "[Code]\r\n"
                                "begin end.\r\n"
                                "[Aviso de atualiza\xe7\xe3o]\r\n"
                                "Sistema=Brevnote [1.2.3]\r\n"
                                "Ref:=\r\n";
    for (int round = 1; round <= 2; ++round) {
        QCOMPARE(StampInstallerScript(script, QStringLiteral("Brevnote"), QStringLiteral("1.2.3")),
                 script);
        QCOMPARE(test::readBytes(script), expected);
    }
}

void TestPublishLogic::historyPageFromTemplate() {
    QCOMPARE(HistoryTemplate().size(), 26);
    const QString text =
        HistoryPageText(QStringLiteral("Brevnote"), QDate(2026, 3, 7), QStringLiteral("1.0.9"));
    const QString expected = QStringLiteral("<html>\r\n"
                                            "<!--appver=VERSÃO-->\r\n"
                                            "<head>\r\n"
                                            "<title>Velmora Informática</title>\r\n"
                                            "</head>\r\n"
                                            "<body bgcolor=lightyellow>\r\n"
                                            "\r\n"
                                            "<Font size=6 color=blue>Brevnote</Font>\r\n"
                                            "<hr>\r\n"
                                            "<Font size=5 color=red>Atualizações</Font>\r\n"
                                            "<p>\r\n"
                                            "\r\n"
                                            "<ul>\r\n"
                                            "<li>\r\n"
                                            "<Font size=4 color=blue>07.03.2026(1.0.9)</Font>\r\n"
                                            "</li>\r\n"
                                            "<ul>\r\n"
                                            "<li>\r\n"
                                            "Texto\r\n"
                                            "</li>\r\n"
                                            "</ul>\r\n"
                                            "</ul>\r\n"
                                            "<hr>\r\n"
                                            "\r\n"
                                            "</body>\r\n"
                                            "</html>\r\n");
    QCOMPARE(text, expected);
    // Replacements keep letter case: a title holding "[data]" is not a date placeholder.
    QVERIFY(HistoryPageText(QStringLiteral("X [data]"), QDate(2026, 1, 2), QString())
                .contains(QStringLiteral("X [data]</Font>")));
}

void TestPublishLogic::historyPageNeverOverwritten() {
    const QString path = DefaultHistoryPath();
    QCOMPARE(path, platform::programFolder() + QStringLiteral("Installs/tst_publishlogic.htm"));
    QFile::remove(path);
    QVERIFY(CreateHistoryPage(path, QStringLiteral("T"), QDate(2026, 1, 2), QStringLiteral("1")));
    const QByteArray made = test::readBytes(path);
    QVERIFY(made.startsWith("<html>\r\n<!--appver=VERS\xc3O-->\r\n")); // Windows-1252 bytes
    QVERIFY(test::writeBytes(path, "edited"));
    QVERIFY(!CreateHistoryPage(path, QStringLiteral("T"), QDate(2026, 1, 2), QStringLiteral("1")));
    QCOMPARE(test::readBytes(path), QByteArray("edited"));
}

void TestPublishLogic::versionMarker_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("stamped");

    QTest::newRow("missing: appended after the last line")
        << QStringList{"<html>", "<!--appver=VERSÃO-->", "</html>"}
        << QStringList{"<html>", "<!--appver=VERSÃO-->", "</html>", "[AppVer=2.0]"};
    QTest::newRow("present: rewritten in place")
        << QStringList{"a", "[AppVer=1.0]", "b"} << QStringList{"a", "[AppVer=2.0]", "b"};
    QTest::newRow("name compared without letter case, first one only")
        << QStringList{"[appver=old", "[APPVER=x]"} << QStringList{"[AppVer=2.0]", "[APPVER=x]"};
    QTest::newRow("name must stand before the first equals sign")
        << QStringList{"x=[AppVer=1]", "[AppVer]", " [AppVer=1]"}
        << QStringList{"x=[AppVer=1]", "[AppVer]", " [AppVer=1]", "[AppVer=2.0]"};
    QTest::newRow("empty page") << QStringList() << QStringList{"[AppVer=2.0]"};
}

void TestPublishLogic::versionMarker() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, stamped);
    QCOMPARE(StampVersionMarker(lines, QStringLiteral("2.0")), stamped);
}

void TestPublishLogic::versionMarkerInFileAppendsThenRewrites() {
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("h.htm"));
    QVERIFY(!StampVersionMarkerInFile(page, QStringLiteral("1")));
    QVERIFY(!QFile::exists(page));

    QVERIFY(test::writeBytes(page, "<html>\n</html>"));
    QVERIFY(StampVersionMarkerInFile(page, QStringLiteral("1.1")));
    QCOMPARE(test::readBytes(page), QByteArray("<html>\r\n</html>\r\n[AppVer=1.1]\r\n"));
    QVERIFY(StampVersionMarkerInFile(page, QStringLiteral("1.2")));
    QCOMPARE(test::readBytes(page), QByteArray("<html>\r\n</html>\r\n[AppVer=1.2]\r\n"));
}

void TestPublishLogic::settingsRoundTrip() {
    SdkSettings saved;
    saved.historyPage = QStringLiteral("/p/h.htm");
    saved.uploadProgram = QStringLiteral("/opt/up");
    saved.installerScript = QStringLiteral("/p/setup.iss");
    saved.uploadFiles = {"/my files/a.htm", "b,c", "\"q\"", ""};
    saved.host = QStringLiteral("h.org");
    saved.password = QStringLiteral("  p=w;\"x\"  ");
    saved.user = QStringLiteral("me");
    saved.folder = QStringLiteral(" rel");
    saved.url = QStringLiteral("\"http://x\"");
    {
        auto ini = OpenSdkSettingsFile();
        SaveSdkSettings(*ini, saved);
    }
    const IniFile fresh(platform::programFolder() + QStringLiteral("TfSDK.ini"));
    const SdkSettings loaded = LoadSdkSettings(fresh);
    QCOMPARE(loaded.historyPage, saved.historyPage);
    QCOMPARE(loaded.uploadProgram, saved.uploadProgram);
    QCOMPARE(loaded.installerScript, saved.installerScript);
    QCOMPARE(loaded.uploadFiles, saved.uploadFiles);
    QCOMPARE(loaded.host, saved.host);
    QCOMPARE(loaded.password, saved.password);
    QCOMPARE(loaded.user, saved.user);
    QCOMPARE(loaded.folder, saved.folder);
    QCOMPARE(loaded.url, saved.url);
    QCOMPARE(fresh.readString(QStringLiteral("TfSDK"), QStringLiteral("Edit_FTPHost")),
             QStringLiteral("h.org"));
}

void TestPublishLogic::settingsFileOwnerOnly_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("existingMode");
    QTest::addColumn<int>("mode");

    QTest::newRow("new file") << false << 0 << 0600;
    QTest::newRow("readable by all before") << true << 0644 << 0600;
    QTest::newRow("open to all before") << true << 0666 << 0600;
    QTest::newRow("already owner only") << true << 0600 << 0600;
}

void TestPublishLogic::settingsFileOwnerOnly() {
    QFETCH(bool, existing);
    QFETCH(int, existingMode);
    QFETCH(int, mode);

    const QString path = platform::programFolder() + QStringLiteral("TfSDK.ini");
    QFile::remove(path);
    if (existing) {
        QVERIFY(test::writeBytes(path, "[TfSDK]\r\nEdit_FTPHost=h\r\n"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(existingMode)) == 0);
    }
    const auto unixMode = [&path] {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777)
                                                                       : -1;
    };
    auto ini = OpenSdkSettingsFile();
    QCOMPARE(unixMode(), mode);
    SdkSettings settings = LoadSdkSettings(*ini);
    settings.password = QStringLiteral("secret");
    SaveSdkSettings(*ini, settings);
    QCOMPARE(unixMode(), mode); // every write replaces the file; the mode must survive it
    QCOMPARE(LoadSdkSettings(*ini).host, existing ? QStringLiteral("h") : QString());
}

BREVNOTE_TEST_GUILESS_MAIN(TestPublishLogic)
#include "tst_publishlogic.moc"
