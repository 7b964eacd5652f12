// The release panel's commands: the update-history page, the installer script, the upload
// program and the list of files to send.
#include "publish/filenameedit.h"
#include "publish/historypage.h"
#include "publish/installerscript.h"
#include "publish/panelservices.h"
#include "publish/sdkpanel.h"
#include "publish/uploadcommand.h"
#include "util/core/clock.h"
#include "util/core/platform.h"
#include "util/core/textroutines.h"
#include "util/core/version.h"
#include "util/ui/listroutines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

namespace brevnote {

namespace {

// Any executable may be the editor here; the first filter is the one the choice always had.
const QString kEditorFilter = QStringLiteral("HTML Editor|*.exe|All files|*");

} // namespace

QString CannotStartMessage(const QString &program) {
    return QStringLiteral("Não foi possível iniciar o aplicativo\r") + program;
}

void TfSDK::CheckHistory() {
    if (!TrimBlanks(FilenameEdit_Historico->text()).isEmpty())
        return;
    const QString path = DefaultHistoryPath();
    if (CreateHistoryPage(path, ApplicationTitle(), currentDateTime().date(), ExeFileVersion())) {
        appendToList(path);
        const QStringList entries = listEntries();
        panelServices().showTextWindow(entries,
                                       QStringLiteral("Itens: ") + QString::number(entries.size()));
    }
    FilenameEdit_Historico->setText(path);
}

void TfSDK::SpeedButton_HistoricoClick() {
    try {
        const QString page = FilenameEdit_Historico->text();
        StampVersionMarkerInFile(page, ExeFileVersion());

        const QString editor = ReadExternalEditor(*m_sharedEditor);
        if (QFileInfo(editor).isFile()) {
            startProgram(editor, {page});
            return;
        }
        if (!editor.isEmpty()) {
            ShowMessageBox(QStringLiteral("Não foi possível localizar o aplicativo\r") + editor,
                           QString(), MB_OK | MB_ICONINFORMATION, this);
        }
        const bool saved = panelServices().editHtmlFile(this, page);
        if (saved && !ListHoldsPath(listEntries(), page) &&
            AskYesNo(QStringLiteral("Incluir na lista de arquivos a enviar?"), QString(), false))
            appendToList(page);
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfSDK::SpeedButtonHTMLEditorClick() {
    try {
        const QString current = ReadExternalEditor(*m_sharedEditor);
        const QFileInfo currentInfo(current);
        const QString folder = !current.isEmpty() && currentInfo.absoluteDir().exists()
                                   ? currentInfo.absolutePath()
                                   : platform::programFolder();
        const QString picked = PickFileName(folder, kEditorFilter, QString());
        if (!picked.isEmpty() && QFileInfo::exists(picked))
            WriteExternalEditor(*m_sharedEditor, picked);
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfSDK::SpeedButton1Click() {
    UploadSettings upload;
    upload.program = FilenameEdit_FTP->text();
    upload.folder = Edit_FTPFolder->text();
    upload.files = listEntries();
    upload.url = Edit_URL->text();
    upload.host = Edit_FTPHost->text();
    upload.user = Edit_FTPUser->text();
    upload.password = Edit_FTPPassword->text();
    const ProgramStart start = UploadProgramStart(upload);
    startProgram(start.program, start.arguments);
}

void TfSDK::SpeedButton2Click() {
    const QString script = FilenameEdit_Install->text();
    // An empty name would stamp the program's own settings file instead of a script.
    if (TrimBlanks(script).isEmpty()) {
        ShowMessageBox(QStringLiteral("Informe o script do instalador."), QString(),
                       MB_OK | MB_ICONINFORMATION, this);
        return;
    }
    try {
        const QString fullName = StampInstallerScript(script, ApplicationTitle(), ExeFileVersion());
        if (!panelServices().openDocument(fullName)) {
            ShowMessageBox(QStringLiteral("Não foi possível abrir o arquivo\r") + fullName,
                           QString(), MB_OK | MB_ICONEXCLAMATION, this);
        }
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfSDK::ToolButton1Click() {
    const QString picked = PickFileName(platform::programFolder(), QString(), QString());
    if (!picked.isEmpty())
        appendToList(QFileInfo(picked).absoluteFilePath());
}

void TfSDK::ToolButton2Click() {
    ListBoxDeleteSelected(ListBox_FTPFiles);
}

void TfSDK::startProgram(const QString &program, const QStringList &arguments) {
    if (!panelServices().startDetached(program, arguments))
        ShowMessageBox(CannotStartMessage(program), QString(), MB_OK | MB_ICONEXCLAMATION, this);
}

} // namespace brevnote
