#include "publish/filenameedit.h"
#include "publish/panelservices.h"
#include "publish/sdkpanel.h"
#include "publish/sdksettings.h"
#include "support/hermetic.h"
#include "support/scripteddialogs.h"
#include "support/testfiles.h"
#include "util/core/inifile.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/core/version.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

using namespace brevnote;

namespace {

// Records what the panel starts and answers for the windows of other subsystems.
class ScriptedServices final : public PanelServices {
public:
    ScriptedServices() { setPanelServices(this); }
    ~ScriptedServices() override { setPanelServices(nullptr); }
    ScriptedServices(const ScriptedServices &) = delete;
    ScriptedServices &operator=(const ScriptedServices &) = delete;

    bool startSucceeds = true;
    bool openSucceeds = true;
    bool editorSaves = false;
    QList<QStringList> starts; // program followed by its arguments
    QStringList opened;
    QStringList viewerTitles;
    QList<QStringList> viewerLines;
    QStringList edited;

    bool startDetached(const QString &program, const QStringList &arguments) override {
        starts.append(QStringList{program} + arguments);
        return startSucceeds;
    }
    bool openDocument(const QString &path) override {
        opened.append(path);
        return openSucceeds;
    }
    void showTextWindow(const QStringList &lines, const QString &title) override {
        viewerLines.append(lines);
        viewerTitles.append(title);
    }
    bool editHtmlFile(QWidget *, const QString &path) override {
        edited.append(path);
        return editorSaves;
    }
};

QString settingsPath() {
    return platform::programFolder() + QStringLiteral("TfSDK.ini");
}

QString messageTexts(const test::ScriptedDialogs &dialogs) {
    QStringList texts;
    for (const auto &call : dialogs.messageBoxes)
        texts.append(call.text);
    return texts.join(u'|');
}

QStringList listEntries(const TfSDK &panel) {
    QStringList entries;
    for (int row = 0; row < panel.ListBox_FTPFiles->count(); ++row)
        entries.append(panel.ListBox_FTPFiles->item(row)->text());
    return entries;
}

} // namespace

class TestSdkPanel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void creationMakesTheDefaultPage();
    void everyCloseSavesTheEdits_data();
    void everyCloseSavesTheEdits();
    void uploadProgramStarted();
    void installerScriptStampedAndOpened();
    void historyPageEdited_data();
    void historyPageEdited();
    void editorChoice();
    void includeAndExclude();

private:
    std::unique_ptr<TfSDK> shownPanel() {
        auto panel = std::make_unique<TfSDK>();
        panel->show();
        return panel;
    }

    std::unique_ptr<test::ScriptedDialogs> m_dialogs;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSdkPanel::init() {
    m_dialogs = std::make_unique<test::ScriptedDialogs>();
    m_services = std::make_unique<ScriptedServices>();
    m_dir = std::make_unique<QTemporaryDir>();
    QFile::remove(settingsPath());
    // A default page in place, so a panel opens without the viewer unless a test wants it.
    QVERIFY(
        test::writeBytes(AppSubPath(QStringLiteral("Installs"), QStringLiteral("tst_sdkpanel.htm")),
                         "<html>\r\n</html>\r\n"));
}

void TestSdkPanel::cleanup() {
    m_services.reset();
    m_dialogs.reset();
}

void TestSdkPanel::creationMakesTheDefaultPage() {
    const QString page = platform::programFolder() + QStringLiteral("Installs/tst_sdkpanel.htm");
    QVERIFY(QFile::remove(page));

    TfSDK panel;
    QVERIFY(QFile::exists(page));
    QCOMPARE(m_services->viewerTitles, QStringList{QStringLiteral("Itens: 1")});
    QCOMPARE(m_services->viewerLines, QList<QStringList>{QStringList{page}});
    QCOMPARE(listEntries(panel), QStringList{page});

    // Showing loads the settings, which replace the list, and names the page again.
    panel.show();
    QCOMPARE(listEntries(panel), QStringList());
    QCOMPARE(panel.FilenameEdit_Historico->text(), page);
    QCOMPARE(m_services->viewerTitles.size(), 1);
    panel.reject();

    TfSDK again; // the page exists now: no viewer
    QCOMPARE(m_services->viewerTitles.size(), 1);
}

void TestSdkPanel::everyCloseSavesTheEdits_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK") << QStringLiteral("ok");
    QTest::newRow("Cancel") << QStringLiteral("cancel");
    QTest::newRow("Escape") << QStringLiteral("escape");
    QTest::newRow("close box") << QStringLiteral("close");
}

void TestSdkPanel::everyCloseSavesTheEdits() {
    QFETCH(QString, how);
    {
        auto panel = shownPanel();
        panel->Edit_FTPHost->setText(QStringLiteral("ftp.example.org"));
        panel->Edit_FTPPassword->setText(QStringLiteral(" s e c r e t "));
        panel->FilenameEdit_FTP->setText(QStringLiteral("/opt/up"));
        panel->ListBox_FTPFiles->addItems(
            {QStringLiteral("/my files/a.htm"), QStringLiteral("/b")});
        if (how == u"ok")
            panel->BitBtn1->click();
        else if (how == u"cancel")
            panel->BitBtn2->click();
        else if (how == u"escape")
            QTest::keyClick(panel.get(), Qt::Key_Escape);
        else
            QVERIFY(panel->close());
        QVERIFY(!panel->isVisible());
    }
    QCOMPARE(QFile::permissions(settingsPath()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadUser |
                                                     QFileDevice::WriteUser);

    auto reopened = shownPanel();
    QCOMPARE(reopened->Edit_FTPHost->text(), QStringLiteral("ftp.example.org"));
    QCOMPARE(reopened->Edit_FTPPassword->text(), QStringLiteral(" s e c r e t "));
    QCOMPARE(reopened->FilenameEdit_FTP->text(), QStringLiteral("/opt/up"));
    QCOMPARE(listEntries(*reopened), (QStringList{"/my files/a.htm", "/b"}));
    QVERIFY(m_dialogs->errors.isEmpty());
}

void TestSdkPanel::uploadProgramStarted() {
    auto panel = shownPanel();
    panel->FilenameEdit_FTP->setText(QStringLiteral("/opt/up"));
    panel->Edit_FTPFolder->setText(QStringLiteral("rel"));
    panel->Edit_URL->setText(QStringLiteral(" http://x.org "));
    panel->Edit_FTPUser->setText(QStringLiteral("me"));
    panel->ListBox_FTPFiles->clear();
    panel->ListBox_FTPFiles->addItem(QStringLiteral("/my files/a.htm"));
    panel->SpeedButton1->click();
    const QStringList upload{"/opt/up", "folder=rel", "filenames=/my files/a.htm",
                             "URL=http://x.org", "User=me"};
    QCOMPARE(m_services->starts, QList<QStringList>{upload});
    QVERIFY(m_dialogs->messageBoxes.isEmpty());

    // A program that cannot be started is named; nothing else changes.
    m_services->startSucceeds = false;
    m_dialogs->messageBoxAnswers.enqueue(IDOK);
    panel->SpeedButton1->click();
    QCOMPARE(messageTexts(*m_dialogs),
             QStringLiteral("Não foi possível iniciar o aplicativo\r/opt/up"));
    QCOMPARE(listEntries(*panel), QStringList{"/my files/a.htm"});
}

void TestSdkPanel::installerScriptStampedAndOpened() {
    auto panel = shownPanel();
    const QString script = m_dir->filePath(QStringLiteral("setup.iss"));
    QVERIFY(test::writeBytes(script, "[Files]\r\nSource: a\r\n"));
    panel->FilenameEdit_Install->setText(script);
    panel->SpeedButton2->click();
    QCOMPARE(m_services->opened, QStringList{script});
    const IniFile stamped(script);
    const QString title = QStringLiteral("Brevnote [") + ExeFileVersion() + u']';
    QCOMPARE(stamped.readString(QStringLiteral("Setup"), QStringLiteral("AppVerName")), title);
    QCOMPARE(stamped.readString(QStringLiteral("Files"), QStringLiteral("Source: a")), QString());
    QCOMPARE(stamped.keys(QStringLiteral("Files")), QStringList());

    // No script named: nothing is stamped (least of all the program's own settings file).
    m_dialogs->messageBoxAnswers.enqueue(IDOK);
    panel->FilenameEdit_Install->setText(QStringLiteral("  "));
    panel->SpeedButton2->click();
    QCOMPARE(m_services->opened.size(), 1);
    QCOMPARE(m_dialogs->messageBoxes.size(), 1);
    QVERIFY(!QFile::exists(platform::programFolder() + QStringLiteral("tst_sdkpanel.Ini")));
}

void TestSdkPanel::historyPageEdited_data() {
    QTest::addColumn<QString>("editor"); // "", "missing" or "existing"
    QTest::addColumn<bool>("saves");     // the own editor ends with a save
    QTest::addColumn<QString>("listed"); // the page as the list already holds it, or ""
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("messages");
    QTest::addColumn<bool>("ownEditor");
    QTest::addColumn<bool>("added");

    const QString locate = QStringLiteral("Não foi possível localizar o aplicativo\r<missing>");
    const QString include = QStringLiteral("Incluir na lista de arquivos a enviar?");
    QTest::newRow("external editor started")
        << "existing" << true << "" << QList<int>() << QString() << false << false;
    QTest::newRow("missing editor reported, saved, Yes adds")
        << "missing" << true << "" << QList<int>{IDOK, IDYES} << locate + u'|' + include << true
        << true;
    QTest::newRow("no editor chosen, saved, No keeps the list")
        << "" << true << "" << QList<int>{IDNO} << include << true << false;
    QTest::newRow("not saved: no question")
        << "" << false << "" << QList<int>() << QString() << true << false;
    QTest::newRow("already listed in other letter case: no question")
        << "" << true << "<PAGE>" << QList<int>() << QString() << true << false;
}

void TestSdkPanel::historyPageEdited() {
    QFETCH(QString, editor);
    QFETCH(bool, saves);
    QFETCH(QString, listed);
    QFETCH(QList<int>, answers);
    QFETCH(QString, messages);
    QFETCH(bool, ownEditor);
    QFETCH(bool, added);

    const QString page = m_dir->filePath(QStringLiteral("history.htm"));
    QVERIFY(test::writeBytes(page, "<html>\r\n[appver=0.1]\r\n</html>\r\n"));
    const QString editorPath = m_dir->filePath(QStringLiteral("editor"));
    if (editor == u"existing")
        QVERIFY(test::writeBytes(editorPath, "#!/bin/sh\n"));
    {
        auto shared = OpenSharedEditorFile();
        WriteExternalEditor(*shared, editor.isEmpty() ? QString() : editorPath);
    }
    messages.replace(QStringLiteral("<missing>"), editorPath);

    auto panel = shownPanel();
    panel->FilenameEdit_Historico->setText(page);
    panel->ListBox_FTPFiles->clear();
    if (!listed.isEmpty())
        panel->ListBox_FTPFiles->addItem(page.toUpper());
    m_services->editorSaves = saves;
    m_dialogs->messageBoxAnswers.append(answers);
    panel->SpeedButton_HistoricoClick();

    QCOMPARE(test::readBytes(page),
             "<html>\r\n[AppVer=" + ExeFileVersion().toUtf8() + "]\r\n</html>\r\n");
    QCOMPARE(messageTexts(*m_dialogs), messages);
    QCOMPARE(m_services->edited, ownEditor ? QStringList{page} : QStringList());
    const QList<QStringList> started{QStringList{editorPath, page}};
    QCOMPARE(m_services->starts, ownEditor ? QList<QStringList>() : started);
    QCOMPARE(listEntries(*panel).contains(page), added);
    QVERIFY(m_dialogs->messageBoxAnswers.isEmpty());
}

void TestSdkPanel::editorChoice() {
    auto panel = shownPanel();
    const QString first = m_dir->filePath(QStringLiteral("first"));
    QVERIFY(test::writeBytes(first, "#!/bin/sh\n"));
    const auto chosen = [] { return ReadExternalEditor(*OpenSharedEditorFile()); };

    m_dialogs->fileNames.enqueue(first);
    panel->SpeedButtonHTMLEditor->click();
    QCOMPARE(chosen(), first);
    QCOMPARE(m_dialogs->fileDialogFilters,
             QStringList{QStringLiteral("HTML Editor|*.exe|All files|*")});

    m_dialogs->fileNames.enqueue(QString()); // cancelled
    panel->SpeedButtonHTMLEditor->click();
    QCOMPARE(chosen(), first);
    m_dialogs->fileNames.enqueue(m_dir->filePath(QStringLiteral("gone"))); // not a file
    panel->SpeedButtonHTMLEditor->click();
    QCOMPARE(chosen(), first);
}

void TestSdkPanel::includeAndExclude() {
    auto panel = shownPanel();
    panel->ListBox_FTPFiles->clear();
    m_dialogs->fileNames.append({QStringLiteral("/a/one"), QString(), QStringLiteral("/b/two")});
    for (int i = 0; i < 3; ++i)
        panel->ToolButton1->click();
    QCOMPARE(listEntries(*panel), (QStringList{"/a/one", "/b/two"}));

    panel->ListBox_FTPFiles->clearSelection();
    panel->ToolButton2->click(); // nothing selected: nothing removed
    QCOMPARE(listEntries(*panel).size(), 2);
    panel->ListBox_FTPFiles->setCurrentRow(0);
    panel->ToolButton2->click();
    QCOMPARE(listEntries(*panel), QStringList{"/b/two"});
}

BREVNOTE_TEST_WIDGETS_MAIN(TestSdkPanel)
#include "tst_sdkpanel.moc"
