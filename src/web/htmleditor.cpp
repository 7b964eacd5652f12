#include "web/htmleditor.h"

#include "html/htmlfile.h"
#include "util/core/apperror.h"
#include "util/core/fonttext.h"
#include "util/core/inifile.h"
#include "util/core/openinifile.h"
#include "util/core/paths.h"
#include "util/core/textcodec.h"
#include "util/ui/buttonpanel.h"
#include "util/ui/messageboxes.h"
#include "util/ui/qfontconvert.h"
#include "util/ui/userdialogs.h"
#include "web/browserroutines.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace brevnote {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kBarHeight = 41;

const QString kSection = QStringLiteral("TfHTMLEdit");
const QString kFilter = QStringLiteral("HTML Files|*.htm*");
const QString kExtension = QStringLiteral("htm");

QString editorCaption(const QString &fileName) {
    return QStringLiteral("HTMLEditor - ") + fileName.toLower();
}

} // namespace

TfHTMLEdit::TfHTMLEdit(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fHTMLEdit"));
    setWindowTitle(QStringLiteral("HTMLEdit"));
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createToolBar();
    layout->addWidget(ToolBar1);
    createPages();
    layout->addWidget(PageControl1, 1);
    createButtons();
    layout->addWidget(Panel_Buttons);
    FormCreate();
}

TfHTMLEdit::~TfHTMLEdit() = default;

QString TfHTMLEdit::settingsFileName() {
    return WindowsDirectory() + QStringLiteral("/TfHTMLEdit.ini");
}

void TfHTMLEdit::createToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const char *name, const QString &caption, const QString &hint) {
        QAction *action = ToolBar1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        if (QWidget *widget = ToolBar1->widgetForAction(action)) {
            widget->setObjectName(QString::fromLatin1(name));
            widget->setMinimumSize(43, 21);
        }
        ToolBar1->addSeparator();
        return action;
    };
    ToolButton1 = button("ToolButton1", QStringLiteral("Arquivo"),
                         QStringLiteral("Clique aqui para carregar um arquivo HTML."));
    ToolButton3 = button("ToolButton3", QStringLiteral("Fonte"),
                         QStringLiteral("Clique aqui para formatar a fonte de edição."));
    connect(ToolButton1, &QAction::triggered, this, &TfHTMLEdit::ToolButton1Click);
    connect(ToolButton3, &QAction::triggered, this, &TfHTMLEdit::ToolButton3Click);
}

void TfHTMLEdit::createPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);

    TabSheet_Editor = new QWidget(PageControl1);
    TabSheet_Editor->setObjectName(QStringLiteral("TabSheet_Editor"));
    auto *editorLayout = new QVBoxLayout(TabSheet_Editor);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(TabSheet_Editor);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    Memo1->setPalette(palette);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(QStringLiteral("Memo1"));
    editorLayout->addWidget(Memo1);
    PageControl1->addTab(TabSheet_Editor, QStringLiteral("Editor"));

    TabSheet_Preview = new QWidget(PageControl1);
    TabSheet_Preview->setObjectName(QStringLiteral("TabSheet_Preview"));
    auto *previewLayout = new QVBoxLayout(TabSheet_Preview);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QFrame(TabSheet_Preview);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    previewLayout->addWidget(Panel1);
    PageControl1->addTab(TabSheet_Preview, QStringLiteral("Preview"));

    connect(Memo1, &QPlainTextEdit::textChanged, this, &TfHTMLEdit::Memo1Change);
    connect(Memo1->document(), &QTextDocument::modificationChanged, this, &TfHTMLEdit::Memo1Change);
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (PageControl1->widget(index) == TabSheet_Preview)
            TabSheet_PreviewShow();
    });
}

void TfHTMLEdit::createButtons() {
    // No layout: ArrangeButtonPanel places the buttons from the resize handler.
    Panel_Buttons = new QWidget(this);
    Panel_Buttons->setObjectName(QStringLiteral("Panel_Buttons"));
    Panel_Buttons->setFixedHeight(kBarHeight);
    BitBtn_Salvar =
        new QPushButton(QIcon::fromTheme(QStringLiteral("document-save"),
                                         style()->standardIcon(QStyle::SP_DialogSaveButton)),
                        QStringLiteral("Salvar"), Panel_Buttons);
    BitBtn_Salvar->setObjectName(QStringLiteral("BitBtn_Salvar"));
    BitBtn_Salvar->resize(75, 25);
    BitBtn_Salvar->setEnabled(false);
    connect(BitBtn_Salvar, &QPushButton::clicked, this, &QDialog::accept);
    BitBtn_Cancelar =
        new QPushButton(QIcon::fromTheme(QStringLiteral("dialog-cancel"),
                                         style()->standardIcon(QStyle::SP_DialogCancelButton)),
                        QStringLiteral("Cancelar"), Panel_Buttons);
    BitBtn_Cancelar->setObjectName(QStringLiteral("BitBtn_Cancelar"));
    BitBtn_Cancelar->resize(75, 25);
    connect(BitBtn_Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfHTMLEdit::FormCreate() {
    // The font kept by an earlier use; a missing or damaged setting keeps the default font.
    try {
        const IniFile settings(settingsFileName());
        if (!settings.valueExists(kSection, QStringLiteral("Fonte")))
            return;
        FontDescription description =
            describeFont(Memo1->font(), Memo1->palette().color(QPalette::Text));
        TextToFont(settings.readString(kSection, QStringLiteral("Font")), description);
        Memo1->setFont(toQFont(description));
        QPalette palette = Memo1->palette();
        palette.setColor(QPalette::Text, toQColor(description));
        Memo1->setPalette(palette);
    } catch (const AppError &) {
        // Not worth a message each time the editor opens: the next "Fonte" rewrites it.
    }
}

void TfHTMLEdit::FormResize() {
    ArrangeButtonPanel(Panel_Buttons, 2);
}

void TfHTMLEdit::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TfHTMLEdit::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormResize();
    PageControl1->setCurrentWidget(TabSheet_Editor);
    Memo1->setFocus();
}

void TfHTMLEdit::loadMemo(const QString &fileName) {
    // Read completely first: a file that cannot be read leaves the text as it was.
    const QStringList lines = splitLines(readTextFile(fileName));
    Memo1->setPlainText(lines.join(u'\n'));
    Memo1->document()->setModified(false);
    Memo1Change();
}

void TfHTMLEdit::LoadFromFile(const QString &fileName) {
    m_editedFile = fileName;
    loadMemo(fileName);
    setWindowTitle(editorCaption(fileName));
    exec();
}

void TfHTMLEdit::ToolButton1Click() {
    const QString known = m_openDialogFileName.isEmpty() ? m_editedFile : m_openDialogFileName;
    const QString folder = known.isEmpty() ? QString() : QFileInfo(known).absolutePath();
    const QString fileName = userDialogs().openFileName(this, folder, kFilter, kExtension);
    if (fileName.isEmpty())
        return;
    m_openDialogFileName = fileName;
    try {
        loadMemo(fileName);
        setWindowTitle(editorCaption(fileName));
    } catch (const AppError &error) {
        ShowErrorBox(this, error.message());
    }
}

void TfHTMLEdit::ToolButton3Click() {
    QFont chosen;
    if (!userDialogs().chooseFont(this, m_fontDialogFont, &chosen))
        return;
    m_fontDialogFont = chosen;
    Memo1->setFont(chosen);
    storeFont(chosen);
}

void TfHTMLEdit::storeFont(const QFont &font) {
    const QString text = FontToText(describeFont(font, Memo1->palette().color(QPalette::Text)));
    try {
        const auto settings = OpenIniFile(settingsFileName());
        settings->writeString(kSection, QStringLiteral("Font"), text);
        settings->writeString(kSection, QStringLiteral("Fonte"), QStringLiteral("1"));
    } catch (const AppError &error) {
        // The memo keeps the chosen font; only the next use goes without it.
        ShowErrorBox(this, error.message());
    }
}

void TfHTMLEdit::Memo1Change() {
    BitBtn_Salvar->setEnabled(Memo1->document()->isModified());
}

void TfHTMLEdit::TabSheet_PreviewShow() {
    if (!WebBrowser1) {
        WebBrowser1 = new QWebEngineView(Panel1);
        WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
        Panel1->layout()->addWidget(WebBrowser1);
    }
    try {
        BrowseHtmlText(Memo1->toPlainText(), WebBrowser1, QString(), nullptr, false);
    } catch (const AppError &error) {
        ShowErrorBox(this, error.message());
    }
}

bool TfHTMLEdit::saveTo(const QString &proposed) {
    const QString fileName = userDialogs().saveFileName(this, proposed, kFilter, kExtension, false);
    if (fileName.isEmpty())
        return false;
    try {
        WriteHtmlLines(fileName, splitLines(Memo1->toPlainText()));
        return true;
    } catch (const AppError &error) {
        // Nothing is lost: the editor stays open with the text.
        ShowErrorBox(this, error.message());
        return false;
    }
}

bool TfHTMLEdit::FormCloseQuery(int result) {
    if (result != QDialog::Accepted) {
        if (!Memo1->document()->isModified())
            return true;
        return AskYesNo(QStringLiteral("O texto possui modificações, deseja sair sem salvar?"),
                        QString(), false);
    }
    // Both steps run when both apply: the file loaded with "Arquivo", then the one the
    // editor was started on.
    if (!m_openDialogFileName.isEmpty() && !saveTo(m_openDialogFileName))
        return false;
    if (!m_editedFile.isEmpty() && !saveTo(m_editedFile))
        return false;
    return true;
}

void TfHTMLEdit::done(int result) {
    if (!FormCloseQuery(result))
        return;
    QDialog::done(result);
}

} // namespace brevnote
