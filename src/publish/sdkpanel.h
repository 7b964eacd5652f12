#pragma once

#include "publish/sdksettings.h"

#include <QDialog>
#include <QStringList>

#include <exception>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace brevnote {

class FilenameEdit;
class IniFile;

// The developer's release panel: keeps the update-history page, the installer script, the
// upload program and server and the files to send in TfSDK.ini; stamps and opens the
// installer script, starts the upload program and opens the history page for editing. It
// performs no upload and no build itself. Settings are saved however the panel closes.
class TfSDK final : public QDialog {
    Q_OBJECT

public:
    // Opens TfSDK.ini and SDK.Ini, then makes sure a history page exists (CheckHistory).
    // Raises AppError when either file cannot be written.
    explicit TfSDK(QWidget *parent = nullptr);
    ~TfSDK() override;

    // Creates the panel, shows it modally and destroys it. Raises AppError as the constructor.
    static void Execute(QWidget *parent);

    void LoadParams();
    void SaveParams();
    // Makes sure FilenameEdit_Historico names a page; writes the default page when missing.
    void CheckHistory();

    void SpeedButton1Click();          // starts the upload program
    void SpeedButton2Click();          // stamps and opens the installer script
    void SpeedButton_HistoricoClick(); // stamps and edits the history page
    void SpeedButtonHTMLEditorClick(); // chooses the external HTML editor
    void ToolButton1Click();           // "Incluir"
    void ToolButton2Click();           // "Excluir"

    // The controls, named as their settings keys.
    FilenameEdit *FilenameEdit_Historico = nullptr;
    FilenameEdit *FilenameEdit_Install = nullptr;
    FilenameEdit *FilenameEdit_FTP = nullptr;
    QToolButton *SpeedButton_Historico = nullptr;
    QToolButton *SpeedButtonHTMLEditor = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLineEdit *Edit_FTPHost = nullptr;
    QLineEdit *Edit_FTPUser = nullptr;
    QLineEdit *Edit_FTPPassword = nullptr;
    QLineEdit *Edit_FTPFolder = nullptr;
    QLineEdit *Edit_URL = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton1 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QListWidget *ListBox_FTPFiles = nullptr;
    QWidget *Panel1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;

public slots:
    // Every way of closing (OK, Cancel, Escape, the close box) ends here: SaveParams first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    QWidget *buildFileRows();
    QWidget *buildFileList();
    void FormResize();
    void FormShow();
    QString FilenameEdit_InstallBeforeDialog();

    SdkSettings settingsFromControls() const;
    QStringList listEntries() const;
    void appendToList(const QString &entry);
    // Starts a program; a program that cannot be started is named in a message box.
    void startProgram(const QString &program, const QStringList &arguments);
    void showError(const std::exception &error);

    std::unique_ptr<IniFile> m_settings;
    std::unique_ptr<IniFile> m_sharedEditor;
};

// Label of every message about an outside program that could not be started.
QString CannotStartMessage(const QString &program);

} // namespace brevnote
