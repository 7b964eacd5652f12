#include "web/htmldialog.h"

#include "util/core/apperror.h"
#include "util/core/paths.h"
#include "util/core/safefile.h"
#include "util/core/textcodec.h"
#include "util/ui/buttonpanel.h"
#include "util/ui/messageboxes.h"
#include "util/ui/userdialogs.h"
#include "web/browserdocument.h"
#include "web/browserroutines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <memory>

namespace brevnote {

namespace {

constexpr int kClientWidth = 632;
constexpr int kClientHeight = 365;
constexpr int kMinimumWidth = 640;
constexpr int kMinimumHeight = 400;
constexpr int kBarHeight = 41;
// Chromium renders the page to PDF before it is painted on the printer; a page that takes
// longer than this is reported as failed.
constexpr int kPrintWaitMs = 30000;

const QString kSaveFilter = QStringLiteral("HTML files|*.htm*");

QString copiedMessage() {
    return QStringLiteral("Conteúdo copiado para a memória.\r\n"
                          "\r\n"
                          "Este conteúdo poderá ser colado\r\n"
                          "em uma planilha eletrônica Excel\r\n"
                          "ou compatível.\r\n");
}

QFont addressFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(21);
    return font;
}

} // namespace

TfHTMDialog::TfHTMDialog(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fHTMDialog"));
    setWindowTitle(QStringLiteral("HTMDialog"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createMenu();
    layout->setMenuBar(MainMenu1);

    Title = new QLabel(this);
    Title->setObjectName(QStringLiteral("Title"));
    Title->setFixedHeight(20);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setBold(true);
    titleFont.setPointSize(8);
    Title->setFont(titleFont);
    Title->setAutoFillBackground(true);
    QPalette titlePalette = Title->palette();
    titlePalette.setColor(QPalette::Window, QColor(0xFF, 0xC6, 0x8A));
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    Title->setPalette(titlePalette);
    Title->setTextFormat(Qt::PlainText);
    layout->addWidget(Title);

    Panel_Params = new QFrame(this);
    Panel_Params->setObjectName(QStringLiteral("Panel_Params"));
    Panel_Params->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto *params = new QVBoxLayout(Panel_Params);
    params->setContentsMargins(1, 1, 1, 1);
    Panel_Moldura = new QWidget(Panel_Params);
    Panel_Moldura->setObjectName(QStringLiteral("Panel_Moldura"));
    params->addWidget(Panel_Moldura);
    auto *frame = new QVBoxLayout(Panel_Moldura);
    frame->setContentsMargins(3, 3, 3, 3);
    frame->setSpacing(0);
    createAddressBar(Panel_Moldura);
    frame->addWidget(Panel_URL);
    Panel_WEBBrowser = new QFrame(Panel_Moldura);
    Panel_WEBBrowser->setObjectName(QStringLiteral("Panel_WEBBrowser"));
    Panel_WEBBrowser->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *browserLayout = new QVBoxLayout(Panel_WEBBrowser);
    browserLayout->setContentsMargins(1, 1, 1, 1);
    frame->addWidget(Panel_WEBBrowser, 1);
    layout->addWidget(Panel_Params, 1);

    createButtons();
    layout->addWidget(Panel_Buttons);

    // A dialog border: the design's client area, not resizable until Maximize.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setFixedSize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());
    FormCreate();
}

TfHTMDialog::~TfHTMDialog() = default;

void TfHTMDialog::createMenu() {
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // Commands straight on the bar: a menu bar shows an item's icon instead of its caption,
    // so these carry captions only.
    const auto command = [this](const char *name, const QString &caption) {
        QAction *action = MainMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    Imprimir1 = command("Imprimir1", QStringLiteral("Imprimir"));
    CopiarHTML1 = command("CopiarHTML1", QStringLiteral("Copiar HTML"));
    Salvar1 = command("Salvar1", QStringLiteral("Salvar"));
    connect(Imprimir1, &QAction::triggered, this, &TfHTMDialog::Imprimir1Click);
    connect(CopiarHTML1, &QAction::triggered, this, &TfHTMDialog::CopiarHTML1Click);
    connect(Salvar1, &QAction::triggered, this, &TfHTMDialog::fFolderSearchSalvar1Click);
}

void TfHTMDialog::createAddressBar(QWidget *frame) {
    Panel_URL = new QWidget(frame);
    Panel_URL->setObjectName(QStringLiteral("Panel_URL"));
    Panel_URL->setFixedHeight(kBarHeight);
    auto *bar = new QHBoxLayout(Panel_URL);
    bar->setContentsMargins(4, 4, 4, 4);
    bar->setSpacing(4);

    Label_URL = new QLabel(QStringLiteral("URL: "), Panel_URL);
    Label_URL->setObjectName(QStringLiteral("Label_URL"));
    Label_URL->setFont(addressFont());
    bar->addWidget(Label_URL);

    Edit_URL = new QLineEdit(Panel_URL);
    Edit_URL->setObjectName(QStringLiteral("Edit_URL"));
    Edit_URL->setFont(addressFont());
    QPalette palette = Edit_URL->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, QColor(0, 0x80, 0x80));
    Edit_URL->setPalette(palette);
    // Enter is taken here, before the dialog could read it as OK.
    Edit_URL->installEventFilter(this);
    bar->addWidget(Edit_URL, 1);

    SpeedButton_Search = new QToolButton(Panel_URL);
    SpeedButton_Search->setObjectName(QStringLiteral("SpeedButton_Search"));
    SpeedButton_Search->setAutoRaise(true);
    SpeedButton_Search->setFixedSize(32, 32);
    SpeedButton_Search->setIconSize(QSize(24, 24));
    SpeedButton_Search->setIcon(
        QIcon::fromTheme(QStringLiteral("go-jump"), style()->standardIcon(QStyle::SP_ArrowRight)));
    SpeedButton_Search->setFocusPolicy(Qt::NoFocus);
    connect(SpeedButton_Search, &QToolButton::clicked, this, &TfHTMDialog::SpeedButton_SearchClick);
    bar->addWidget(SpeedButton_Search);
}

void TfHTMDialog::createButtons() {
    // No layout: ArrangeButtonPanel places the buttons from the resize handler.
    Panel_Buttons = new QWidget(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    Panel_Buttons->setFixedHeight(kBarHeight);
    BitBtn_Ok = new QPushButton(QIcon::fromTheme(QStringLiteral("dialog-ok"),
                                                 style()->standardIcon(QStyle::SP_DialogOkButton)),
                                QStringLiteral("OK"), Panel_Buttons);
    BitBtn_Ok->setObjectName(QStringLiteral("BitBtn_Ok"));
    BitBtn_Ok->resize(75, 25);
    connect(BitBtn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn_Cancel =
        new QPushButton(QIcon::fromTheme(QStringLiteral("dialog-cancel"),
                                         style()->standardIcon(QStyle::SP_DialogCancelButton)),
                        QStringLiteral("Cancelar"), Panel_Buttons);
    BitBtn_Cancel->setObjectName(QStringLiteral("BitBtn_Cancel"));
    BitBtn_Cancel->resize(75, 25);
    connect(BitBtn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfHTMDialog::FormCreate() {
    BitBtn_Cancel->hide();
    Panel_URL->hide();
    Title->hide();
}

void TfHTMDialog::FormResize() {
    ArrangeButtonPanel(Panel_Buttons, 2);
}

void TfHTMDialog::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfHTMDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!(windowState() & Qt::WindowMaximized)) {
        // Centred on the screen, also when the owner is a dialog that is never shown.
        const QWidget *anchor =
            parentWidget() && parentWidget()->isVisible() ? parentWidget() : nullptr;
        QScreen *screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    FormResize();
}

void TfHTMDialog::keyPressEvent(QKeyEvent *event) {
    // Escape presses the Cancel button, and there is none while it is hidden.
    if (event->key() == Qt::Key_Escape && BitBtn_Cancel->isHidden()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfHTMDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == Edit_URL && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            SpeedButton_Search->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QWebEngineView &TfHTMDialog::ensureBrowser() {
    if (!WebBrowser) {
        WebBrowser = new QWebEngineView(Panel_WEBBrowser);
        WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
        Panel_WEBBrowser->layout()->addWidget(WebBrowser);
    }
    return *WebBrowser;
}

void TfHTMDialog::Maximize() {
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowState(windowState() | Qt::WindowMaximized);
    Panel_Buttons->hide();
}

void TfHTMDialog::setPresentation(const QString &title, bool hideButtons, const QString &saveName) {
    m_presentedTitle = title;
    m_hideButtons = hideButtons;
    m_saveName = saveName;
}

void TfHTMDialog::ShowAddressBar() {
    Panel_URL->show();
}

int TfHTMDialog::ShowForm(const QString &location) {
    BrowserNavigate(&ensureBrowser(), location);
    return exec();
}

int TfHTMDialog::Execute(const QString &location, bool maximized, bool showCancel,
                         const QString &captionSuffix) {
    // Destroyed here like a child of this dialog, but hung on the nearest window that is shown:
    // a window whose owner is never shown can open behind the always-on-top pad.
    QWidget *owner = this;
    while (owner->parentWidget() && !owner->isVisible())
        owner = owner->parentWidget();
    const auto dialog = std::make_unique<TfHTMDialog>(owner);
    if (maximized)
        dialog->Maximize();
    QString caption = ApplicationTitle();
    if (!captionSuffix.isEmpty())
        caption += QStringLiteral(" :: ") + captionSuffix;
    dialog->setWindowTitle(caption);
    dialog->BitBtn_Cancel->setVisible(showCancel);
    if (!m_presentedTitle.isEmpty()) {
        dialog->Title->setText(m_presentedTitle);
        dialog->Title->show();
    }
    if (m_hideButtons)
        dialog->Panel_Buttons->hide();
    dialog->m_saveName = m_saveName;
    return dialog->ShowForm(location);
}

int TfHTMDialog::LoadFromStrings(const QStringList &lines, bool maximized, bool showCancel,
                                 const QString &captionSuffix) {
    return LoadPage(encodeText(joinLines(lines)), maximized, showCancel, captionSuffix);
}

int TfHTMDialog::LoadFromString(const QString &html, bool maximized, bool showCancel,
                                const QString &captionSuffix) {
    // The bytes LoadFromStrings(splitLines(html)) writes, from one copy of the page instead of
    // a string per line: a page of a million lines is written in a fraction of the time, and
    // the windows wait for it.
    return LoadPage(encodeTextAsLines(html), maximized, showCancel, captionSuffix);
}

int TfHTMDialog::LoadPage(const QByteArray &bytes, bool maximized, bool showCancel,
                          const QString &captionSuffix) {
    const QString page = TempFileName(QStringLiteral(".htm"));
    // Set before writing: a write that fails half-way must not leave its file either.
    const auto removePage = qScopeGuard([&page] { QFile::remove(page); });
    writeFileSafely(page, bytes);
    return Execute(page, maximized, showCancel, captionSuffix);
}

void TfHTMDialog::SpeedButton_SearchClick() {
    BrowserNavigate(&ensureBrowser(), Edit_URL->text());
}

bool TfHTMDialog::printPage(QPrinter *printer) {
    if (!WebBrowser || WebBrowser->url().isEmpty()) {
        // Nothing loaded yet: one empty page.
        QPainter painter(printer);
        return true;
    }
    bool finished = false;
    bool success = false;
    QEventLoop loop;
    const QMetaObject::Connection connection =
        connect(WebBrowser, &QWebEngineView::printFinished, &loop, [&](bool ok) {
            finished = true;
            success = ok;
            loop.quit();
        });
    WebBrowser->print(printer);
    if (!finished) {
        QTimer::singleShot(kPrintWaitMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    disconnect(connection);
    return finished && success;
}

void TfHTMDialog::Imprimir1Click() {
    bool failed = false;
    userDialogs().printPreview(this, [this, &failed](QPrinter *printer) {
        if (!printPage(printer))
            failed = true;
    });
    if (failed)
        ShowErrorBox(this, QStringLiteral("Não foi possível imprimir a página."));
}

void TfHTMDialog::CopiarHTML1Click() {
    QStringList list;
    BrowserDocumentHTML(WebBrowser, &list);
    // An empty list still replaces the clipboard: with nothing copied, nothing stale remains.
    QGuiApplication::clipboard()->setText(joinLines(list));
    OwnerMessageBox(this, copiedMessage(), QString(), MB_ICONINFORMATION);
}

void TfHTMDialog::fFolderSearchSalvar1Click() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString proposed =
        QDir(desktop).filePath(m_saveName.isEmpty() ? QStringLiteral("*.htm") : m_saveName);
    const QString fileName =
        userDialogs().saveFileName(this, proposed, kSaveFilter, QString(), true);
    if (fileName.isEmpty())
        return;
    // The proposed "*.htm" is a pattern: accepted unchanged it would name a file "*.htm".
    const QString baseName = QFileInfo(fileName).fileName();
    const bool wildcard = baseName.contains(u'*') || baseName.contains(u'?');
    try {
        if (!wildcard && SaveBrowserDocument(WebBrowser, fileName))
            OwnerMessageBox(this, QStringLiteral("Salvo em:\r") + fileName, QString(),
                            MB_ICONINFORMATION);
        else
            OwnerMessageBox(this, QStringLiteral("Não foi possível salvar o arquivo\r") + fileName,
                            QString(), MB_ICONINFORMATION);
    } catch (const AppError &error) {
        ShowErrorBox(this, error.message());
    }
}

} // namespace brevnote
