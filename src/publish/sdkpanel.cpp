// The release panel's window: its controls, its settings and the ways it opens and closes.
// The commands of its buttons are in sdkpanelcommands.cpp.
#include "publish/sdkpanel.h"

#include "publish/filenameedit.h"
#include "util/core/apperror.h"
#include "util/core/inifile.h"
#include "util/core/platform.h"
#include "util/ui/buttonpanel.h"
#include "util/ui/messageboxes.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace brevnote {

namespace {

constexpr int kPanelWidth = 600;
constexpr int kPanelMinimumHeight = 480;
constexpr int kButtonPanelHeight = 41;
const QColor kLabelColour(0, 128, 128); // teal

QLabel *tealLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kLabelColour);
    label->setPalette(palette);
    return label;
}

// Boxes wear the tooltip background, pale yellow on most desktops, with its text colour.
void paintAsBox(QWidget *box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    box->setPalette(palette);
}

QLineEdit *lineEdit(const QString &name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    paintAsBox(edit);
    return edit;
}

QToolButton *speedButton(const QString &name, const QString &themeIcon,
                         QStyle::StandardPixmap fallback, QWidget *parent) {
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon::fromTheme(themeIcon, parent->style()->standardIcon(fallback)));
    button->setAutoRaise(true);
    return button;
}

QPushButton *bitButton(const QString &name, const QString &caption, QStyle::StandardPixmap icon,
                       QWidget *panel) {
    auto *button = new QPushButton(caption, panel);
    button->setObjectName(name);
    button->setIcon(panel->style()->standardIcon(icon));
    button->resize(std::max(75, button->sizeHint().width()), 25);
    return button;
}

} // namespace

TfSDK::TfSDK(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fSDK"));
    setWindowTitle(QStringLiteral("fSDK"));
    setFixedWidth(kPanelWidth);
    setMinimumHeight(kPanelMinimumHeight);
    buildControls();

    // FormCreate: both files are kept open for the panel's lifetime.
    m_settings = OpenSdkSettingsFile();
    m_sharedEditor = OpenSharedEditorFile();
    try {
        CheckHistory();
    } catch (const std::exception &error) {
        showError(error); // the panel still opens; the page can be named by hand
    }
}

TfSDK::~TfSDK() = default;

void TfSDK::Execute(QWidget *parent) {
    TfSDK panel(parent);
    panel.exec();
}

void TfSDK::buildControls() {
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildFileRows());
    layout->addWidget(buildFileList(), 1);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(kButtonPanelHeight);
    Panel1 = panel;
    BitBtn1 = bitButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), QStyle::SP_DialogOkButton,
                        Panel1);
    BitBtn2 = bitButton(QStringLiteral("BitBtn2"), QStringLiteral("Cancelar"),
                        QStyle::SP_DialogCancelButton, Panel1);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(Panel1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TfSDK::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TfSDK::SpeedButton2Click);
    connect(SpeedButton_Historico, &QToolButton::clicked, this, &TfSDK::SpeedButton_HistoricoClick);
    connect(SpeedButtonHTMLEditor, &QToolButton::clicked, this, &TfSDK::SpeedButtonHTMLEditorClick);
    connect(ToolButton1, &QToolButton::clicked, this, &TfSDK::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TfSDK::ToolButton2Click);
}

QWidget *TfSDK::buildFileRows() {
    auto *rows = new QWidget(this);
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(1, 1);

    auto *historyLabel = tealLabel(QStringLiteral("Histórico de atualizações"), rows);
    historyLabel->setObjectName(QStringLiteral("EditorHTML"));
    FilenameEdit_Historico = new FilenameEdit(QStringLiteral("FilenameEdit_Historico"), rows);
    FilenameEdit_Historico->setFilter(QStringLiteral("HTML Files|*.htm*|All files (*.*)|*.*"));
    SpeedButton_Historico =
        speedButton(QStringLiteral("SpeedButton_Historico"), QStringLiteral("document-edit"),
                    QStyle::SP_FileDialogContentsView, rows);
    SpeedButtonHTMLEditor =
        speedButton(QStringLiteral("SpeedButtonHTMLEditor"), QStringLiteral("preferences-other"),
                    QStyle::SP_FileDialogDetailedView, rows);
    SpeedButtonHTMLEditor->setToolTip(QStringLiteral(
        "Define um editor externo para abrir os arquivos de histórico de atualizações."));

    FilenameEdit_Install = new FilenameEdit(QStringLiteral("FilenameEdit_Install"), rows);
    FilenameEdit_Install->setFilter(QStringLiteral("ISS Files|*.iss|All files (*.*)|*.*"));
    FilenameEdit_Install->setBeforeDialog([this] { return FilenameEdit_InstallBeforeDialog(); });
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), QStringLiteral("document-send"),
                               QStyle::SP_DialogApplyButton, rows);

    FilenameEdit_FTP = new FilenameEdit(QStringLiteral("FilenameEdit_FTP"), rows);
    FilenameEdit_FTP->setFilter(QStringLiteral("EXE Files|*.exe|All files (*.*)|*.*"));
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), QStringLiteral("go-up"),
                               QStyle::SP_ArrowUp, rows);
    for (FilenameEdit *edit : {FilenameEdit_Historico, FilenameEdit_Install, FilenameEdit_FTP})
        paintAsBox(edit->lineEdit());

    auto *historyButtons = new QHBoxLayout;
    historyButtons->setSpacing(0);
    historyButtons->addWidget(SpeedButton_Historico);
    historyButtons->addWidget(SpeedButtonHTMLEditor);
    historyButtons->addStretch();

    int row = 0;
    grid->addWidget(historyLabel, row, 0);
    grid->addWidget(FilenameEdit_Historico, row, 1);
    grid->addLayout(historyButtons, row++, 2);
    grid->addWidget(tealLabel(QStringLiteral("Instalador"), rows), row, 0);
    grid->addWidget(FilenameEdit_Install, row, 1);
    grid->addWidget(SpeedButton2, row++, 2, Qt::AlignLeft);
    grid->addWidget(tealLabel(QStringLiteral("FTP"), rows), row, 0);
    grid->addWidget(FilenameEdit_FTP, row, 1);
    grid->addWidget(SpeedButton1, row++, 2, Qt::AlignLeft);

    Edit_FTPHost = lineEdit(QStringLiteral("Edit_FTPHost"), rows);
    Edit_FTPUser = lineEdit(QStringLiteral("Edit_FTPUser"), rows);
    Edit_FTPPassword = lineEdit(QStringLiteral("Edit_FTPPassword"), rows);
    Edit_FTPPassword->setEchoMode(QLineEdit::Password);
    // One "*" per character, as the field always showed.
    Edit_FTPPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    Edit_FTPFolder = lineEdit(QStringLiteral("Edit_FTPFolder"), rows);
    Edit_URL = lineEdit(QStringLiteral("Edit_URL"), rows);
    const std::pair<const char *, QLineEdit *> edits[] = {
        {"FTP Host", Edit_FTPHost},
        {"FTP User", Edit_FTPUser},
        {"FTP PassWord", Edit_FTPPassword},
        {"Folder FTP", Edit_FTPFolder},
        {"FTP URL  ", Edit_URL},
    };
    for (const auto &[caption, edit] : edits) {
        grid->addWidget(tealLabel(QString::fromUtf8(caption), rows), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    return rows;
}

QWidget *TfSDK::buildFileList() {
    auto *group = new QGroupBox(QStringLiteral("Files FTP"), this);
    auto *layout = new QVBoxLayout(group);
    ToolBar1 = new QToolBar(group);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolButton1 = speedButton(QStringLiteral("ToolButton1"), QStringLiteral("list-add"),
                              QStyle::SP_FileDialogNewFolder, ToolBar1);
    ToolButton1->setText(QStringLiteral("Incluir"));
    ToolButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolButton2 = speedButton(QStringLiteral("ToolButton2"), QStringLiteral("list-remove"),
                              QStyle::SP_TrashIcon, ToolBar1);
    ToolButton2->setText(QStringLiteral("Excluir"));
    ToolButton2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar1->addWidget(ToolButton1);
    ToolBar1->addWidget(ToolButton2);

    ListBox_FTPFiles = new QListWidget(group);
    ListBox_FTPFiles->setObjectName(QStringLiteral("ListBox_FTPFiles"));
    paintAsBox(ListBox_FTPFiles);
    layout->addWidget(ToolBar1);
    layout->addWidget(ListBox_FTPFiles, 1);
    return group;
}

QString TfSDK::FilenameEdit_InstallBeforeDialog() {
    return platform::programFolder();
}

void TfSDK::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A window restored by the desktop shows again without being opened again.
    if (!event->spontaneous())
        FormShow();
}

void TfSDK::FormShow() {
    if (const QScreen *shown = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(shown->availableGeometry().center());
        move(frame.topLeft());
    }
    FormResize();
    LoadParams();
    try {
        CheckHistory();
    } catch (const std::exception &error) {
        showError(error);
    }
}

void TfSDK::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfSDK::FormResize() {
    ArrangeButtonPanel(Panel1, 2);
}

void TfSDK::LoadParams() {
    const SdkSettings settings = LoadSdkSettings(*m_settings);
    FilenameEdit_Historico->setText(settings.historyPage);
    FilenameEdit_FTP->setText(settings.uploadProgram);
    FilenameEdit_Install->setText(settings.installerScript);
    ListBox_FTPFiles->clear();
    ListBox_FTPFiles->addItems(settings.uploadFiles);
    Edit_FTPHost->setText(settings.host);
    Edit_FTPPassword->setText(settings.password);
    Edit_FTPUser->setText(settings.user);
    Edit_FTPFolder->setText(settings.folder);
    Edit_URL->setText(settings.url);
}

void TfSDK::SaveParams() {
    SaveSdkSettings(*m_settings, settingsFromControls());
}

SdkSettings TfSDK::settingsFromControls() const {
    SdkSettings settings;
    settings.historyPage = FilenameEdit_Historico->text();
    settings.uploadProgram = FilenameEdit_FTP->text();
    settings.installerScript = FilenameEdit_Install->text();
    settings.uploadFiles = listEntries();
    settings.host = Edit_FTPHost->text();
    settings.password = Edit_FTPPassword->text();
    settings.user = Edit_FTPUser->text();
    settings.folder = Edit_FTPFolder->text();
    settings.url = Edit_URL->text();
    return settings;
}

void TfSDK::done(int result) {
    // FormClose: Cancel keeps the edits too. A failed save is reported; the panel still
    // closes, so a settings file that became unwritable cannot trap the user in it.
    try {
        SaveParams();
    } catch (const std::exception &error) {
        showError(error);
    }
    QDialog::done(result);
}

QStringList TfSDK::listEntries() const {
    QStringList entries;
    entries.reserve(ListBox_FTPFiles->count());
    for (int row = 0; row < ListBox_FTPFiles->count(); ++row)
        entries.append(ListBox_FTPFiles->item(row)->text());
    return entries;
}

void TfSDK::appendToList(const QString &entry) {
    ListBox_FTPFiles->addItem(entry);
}

void TfSDK::showError(const std::exception &error) {
    const auto *appError = dynamic_cast<const AppError *>(&error);
    ShowErrorBox(this, appError ? appError->message() : QString::fromLocal8Bit(error.what()));
}

} // namespace brevnote
