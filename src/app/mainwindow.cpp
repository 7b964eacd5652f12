#include "mainwindow.h"

#include "appicons.h"
#include "autostart.h"
#include "layoutdefault.h"
#include "mastertexts.h"

#include "reminders/reminderlistwindow.h"
#include "reminders/reminderpass.h"
#include "texttools/toolprogressdialog.h"
#include "util/core/apperror.h"
#include "util/core/clock.h"
#include "util/core/paths.h"
#include "util/core/platform.h"
#include "util/core/version.h"
#include "util/ui/editorlines.h"
#include "util/ui/editorroutines.h"
#include "util/ui/messageboxes.h"
#include "util/ui/statuspanels.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace brevnote {

TfMaster *fMaster = nullptr;

namespace {

constexpr int kTimerInterval = 12345;
constexpr int kMinimumWidth = 250;

QAction *makeAction(QObject *parent, const char *name, const QString &caption, const QIcon &icon,
                    const QString &hint = QString()) {
    auto *action = new QAction(icon, caption, parent);
    action->setObjectName(QLatin1String(name));
    if (!hint.isEmpty())
        action->setToolTip(hint);
    return action;
}

} // namespace

TfMaster::TfMaster(bool useTray, QWidget *parent)
    : QMainWindow(parent)
    , m_useTray(useTray)
    , m_reminderCheckerFactory(
          [](QWidget *owner) -> ReminderPass * { return new TfAutoTimer(owner); })
    , m_terminate([] { QCoreApplication::exit(0); }) {
    m_trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    setObjectName(QStringLiteral("fMaster"));
    fMaster = this;
    setWindowFlag(Qt::WindowStaysOnTopHint);
    // The tray's note is also the window's icon: title bar, task switcher and taskbar.
    setWindowIcon(trayIconImage());
    setMinimumWidth(kMinimumWidth);

    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(kTimerInterval);
    // A coarse timer would round the interval to whole seconds.
    Timer->setTimerType(Qt::PreciseTimer);
    connect(Timer, &QTimer::timeout, this, &TfMaster::TimerTimer);

    createTrayIcon();
    createActions();
    createToolBars();
    createMenus();
    offerFecharWithoutTray();
    createEditorArea();
    createSearchItems();
    describeButtonsForAccessibility();
    FormCreate();
}

TfMaster::~TfMaster() {
    if (fMaster == this)
        fMaster = nullptr;
}

void TfMaster::createActions() {
    const auto button = [this](const char *name, const QString &caption, const QIcon &icon,
                               const QString &hint, void (TfMaster::*handler)()) {
        QAction *action = makeAction(this, name, caption, icon, hint);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    ToolButton_Abrir = button(
        "ToolButton_Abrir", QStringLiteral("Abrir"), themedIcon(QStringLiteral("document-open")),
        QStringLiteral("Carrega texto de um arquivo em disco."), &TfMaster::ToolButton_AbrirClick);
    ToolButton_Salvar = button("ToolButton_Salvar", QStringLiteral("Salvar"),
                               themedIcon(QStringLiteral("document-save")),
                               QStringLiteral("Salva o texto atual em um arquivo em disco."),
                               &TfMaster::ToolButton_SalvarClick);
    ToolButton6 = makeAction(this, "ToolButton6", QStringLiteral("Tools"),
                             themedIcon(QStringLiteral("preferences-other")),
                             QStringLiteral("Clique aqui para abrir o menu de utilitários."));
    ToolButton_SDK = button("ToolButton_SDK", QStringLiteral("SDK"),
                            themedIcon(QStringLiteral("applications-development")), QString(),
                            &TfMaster::ToolButton_SDKClick);

    ToolButton_Font =
        button("ToolButton_Font", QString(), themedIcon(QStringLiteral("preferences-desktop-font")),
               QStringLiteral("Define a fonte do texto."), &TfMaster::ToolButton_FontClick);
    ToolButton_SelectAll =
        button("ToolButton_SelectAll", QString(), themedIcon(QStringLiteral("edit-select-all")),
               QStringLiteral("Seleciona todo o texto."), &TfMaster::ToolButton_SelectAllClick);
    ToolButton_Cut = button("ToolButton_Cut", QString(), themedIcon(QStringLiteral("edit-cut")),
                            QStringLiteral("Remove o texto selecionado para a memória."),
                            &TfMaster::ToolButton_CutClick);
    ToolButton_Copy =
        button("ToolButton_Copy", QString(), themedIcon(QStringLiteral("edit-copy")),
               QStringLiteral("Copia o texto selecionado."), &TfMaster::ToolButton_CopyClick);
    ToolButton_Paste = button(
        "ToolButton_Paste", QString(), themedIcon(QStringLiteral("edit-paste")),
        QStringLiteral("Cola o texto armazenado na memória."), &TfMaster::ToolButton_PasteClick);
    ToolButton_Printer =
        button("ToolButton_Printer", QString(), themedIcon(QStringLiteral("document-print")),
               QStringLiteral("Clique aqui para imprimir o conteúdo desejado."),
               &TfMaster::ToolButton_PrinterClick);
    ToolButton_Timer =
        button("ToolButton_Timer", QString(), themedIcon(QStringLiteral("appointment-new")),
               QStringLiteral("Clique aqui para agendar um aviso futuro automático."),
               &TfMaster::ToolButton_TimerClick);
    ToolButton2 =
        button("ToolButton2", QString(), themedIcon(QStringLiteral("view-restore")),
               QStringLiteral(
                   "Clique aqui para redimensionar a janela para o tamanho e posição originais."),
               &TfMaster::ToolButton2Click);
}

void TfMaster::createToolBars() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar->setMovable(false);
    ToolBar->setMinimumHeight(22);
    ToolBar->addAction(ToolButton_Abrir);
    ToolBar->addSeparator();
    ToolBar->addAction(ToolButton_Salvar);
    ToolBar->addSeparator();
    ToolBar->addAction(ToolButton6);
    ToolBar->addSeparator();
    ToolBar->addAction(ToolButton_SDK);
    for (QAction *action : {ToolButton_Abrir, ToolButton_Salvar, ToolButton6, ToolButton_SDK}) {
        if (QWidget *widget = ToolBar->widgetForAction(action))
            widget->setMinimumWidth(57);
    }
    addToolBar(Qt::TopToolBarArea, ToolBar);
    addToolBarBreak(Qt::TopToolBarArea);

    ToolBar_SQLTools2 = new QToolBar(this);
    ToolBar_SQLTools2->setObjectName(QStringLiteral("ToolBar_SQLTools2"));
    ToolBar_SQLTools2->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar_SQLTools2->setMovable(false);
    ToolBar_SQLTools2->setMinimumHeight(22);
    ToolBar_SQLTools2->addActions(
        {ToolButton_Font, ToolButton_SelectAll, ToolButton_Cut, ToolButton_Copy, ToolButton_Paste});
    ToolBar_SQLTools2->addSeparator();
    ToolBar_SQLTools2->addAction(ToolButton_Printer);
    ToolBar_SQLTools2->addSeparator();
    ToolBar_SQLTools2->addAction(ToolButton_Timer);
    ToolBar_SQLTools2->addSeparator();
    ToolBar_SQLTools2->addAction(ToolButton2);
    ToolBar_SQLTools2->addSeparator();
    addToolBar(Qt::TopToolBarArea, ToolBar_SQLTools2);
}

void TfMaster::createMenus() {
    PopupMenu_Tools = new QMenu(this);
    PopupMenu_Tools->setObjectName(QStringLiteral("PopupMenu_Tools"));
    AutoInicializarcomoWindows1 = makeAction(PopupMenu_Tools, "AutoInicializarcomoWindows1",
                                             QStringLiteral("Auto-Inicializar com o Windows"), {});
    // Checked while the session starts the program (the user's XDG autostart entry).
    AutoInicializarcomoWindows1->setCheckable(true);
    AutoInicializarcomoWindows1->setChecked(autostartEnabled());
    connect(AutoInicializarcomoWindows1, &QAction::triggered, this,
            &TfMaster::AutoInicializarcomoWindows1Click);
    Restaurarlayoutpadro1 = makeAction(PopupMenu_Tools, "Restaurarlayoutpadro1",
                                       QStringLiteral("Restaurar layout padrão"), {});
    connect(Restaurarlayoutpadro1, &QAction::triggered, ToolButton2, &QAction::trigger);

    Format1 = new QMenu(QStringLiteral("Format"), PopupMenu_Tools);
    Format1->setObjectName(QStringLiteral("Format1"));
    PlainTextMenu = makeAction(Format1, "PlainTextMenu", QStringLiteral("PlainText"), {});
    PlainTextMenu->setCheckable(true);
    connect(PlainTextMenu, &QAction::triggered, this, &TfMaster::PlainTextMenuClick);
    ScrollBarHorizontal1 =
        makeAction(Format1, "ScrollBarHorizontal1", QStringLiteral("ScrollBar Horizontal"), {});
    ScrollBarHorizontal1->setCheckable(true);
    connect(ScrollBarHorizontal1, &QAction::triggered, this, &TfMaster::ScrollBarHorizontal1Click);
    const auto formatItem = [this](const char *name, const QString &caption,
                                   void (TfMaster::*handler)()) {
        QAction *action = makeAction(Format1, name, caption, {});
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    RecortarColunas = formatItem("RecortarColunas", QStringLiteral("Recortar colunas"),
                                 &TfMaster::RecortarColunasClick);
    Ordenar1 = formatItem("Ordenar1", QStringLiteral("Ordenar"), &TfMaster::Ordenar1Click);
    Agrupar1 = formatItem("Agrupar1", QStringLiteral("Agrupar"), &TfMaster::Agrupar1Click);
    UpperFirst1 =
        formatItem("UpperFirst1", QStringLiteral("UpperFirst"), &TfMaster::UpperFirst1Click);
    GerarArquivoCSV1 = formatItem("GerarArquivoCSV1", QStringLiteral("Gerar Arquivo CSV"),
                                  &TfMaster::GerarArquivoCSV1Click);
    Format1->addActions({PlainTextMenu, ScrollBarHorizontal1, RecortarColunas, Ordenar1, Agrupar1,
                         UpperFirst1, GerarArquivoCSV1});

    HTMLText1 = makeAction(PopupMenu_Tools, "HTMLText1", QStringLiteral("HTMLText"),
                           themedIcon(QStringLiteral("text-html")));
    connect(HTMLText1, &QAction::triggered, this, &TfMaster::HTMLText1Click);
    Browser1 = makeAction(PopupMenu_Tools, "Browser1", QStringLiteral("Browser"),
                          themedIcon(QStringLiteral("internet-web-browser")));
    connect(Browser1, &QAction::triggered, this, &TfMaster::Browser1Click);

    PopupMenu_Tools->addAction(AutoInicializarcomoWindows1);
    PopupMenu_Tools->addAction(Restaurarlayoutpadro1);
    PopupMenu_Tools->addSeparator();
    PopupMenu_Tools->addMenu(Format1);
    PopupMenu_Tools->addSeparator();
    PopupMenu_Tools->addAction(HTMLText1);
    PopupMenu_Tools->addAction(Browser1);

    // "Tools" drops its menu down below the button on a plain click.
    ToolButton6->setMenu(PopupMenu_Tools);
    if (auto *toolButton = qobject_cast<QToolButton *>(ToolBar->widgetForAction(ToolButton6)))
        toolButton->setPopupMode(QToolButton::InstantPopup);

    // The editor's menu items run the matching button, so both ways behave the same.
    PopupMenu_SQL = new QMenu(this);
    PopupMenu_SQL->setObjectName(QStringLiteral("PopupMenu_SQL"));
    const auto clickItem = [this](const char *name, const QString &caption, QAction *button) {
        QAction *action = makeAction(PopupMenu_SQL, name, caption, button->icon());
        connect(action, &QAction::triggered, button, &QAction::trigger);
        return action;
    };
    Recortar1 = clickItem("Recortar1", QStringLiteral("Recortar"), ToolButton_Cut);
    Copiar1 = clickItem("Copiar1", QStringLiteral("Copiar"), ToolButton_Copy);
    Colar1 = clickItem("Colar1", QStringLiteral("Colar"), ToolButton_Paste);
    Selecionartudo1 =
        clickItem("Selecionartudo1", QStringLiteral("Selecionar tudo"), ToolButton_SelectAll);
    PopupMenu_SQL->addActions({Recortar1, Copiar1, Colar1});
    PopupMenu_SQL->addSeparator();
    PopupMenu_SQL->addAction(Selecionartudo1);
}

void TfMaster::createEditorArea() {
    Panel_Master = new QWidget(this);
    Panel_Master->setObjectName(QStringLiteral("Panel_Master"));
    auto *layout = new QVBoxLayout(Panel_Master);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);

    RichEdit = new QPlainTextEdit(Panel_Master);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    QPalette palette = RichEdit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, QColor(0, 0, 128));
    RichEdit->setPalette(palette);
    // Most Linux systems lack "Courier New"; a font the system does not have would leave the
    // font dialog on some proportional default, so the system's fixed-width font stands in.
    QFont font(QStringLiteral("Courier New"));
    if (!QFontDatabase::hasFamily(font.family()))
        // The resolved family: the system's own name is often an alias such as "monospace",
        // which the font dialog does not list either.
        font.setFamily(QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family());
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setBold(true);
    font.setPointSize(12);
    RichEdit->setFont(font);
    RichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu_SQL->popup(RichEdit->viewport()->mapToGlobal(pos));
    });
    // The caret text is taken before the key or click moves the caret.
    RichEdit->installEventFilter(this);
    RichEdit->viewport()->installEventFilter(this);
    layout->addWidget(RichEdit);

    StatusBar1 = new StatusPanels(Panel_Master);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    StatusBar1->setPanelWidths({123, 50});
    connect(StatusBar1, &StatusPanels::doubleClicked, this, &TfMaster::StatusBar1DblClick);
    layout->addWidget(StatusBar1);

    setCentralWidget(Panel_Master);
}

QMenu *TfMaster::createPopupMenu() {
    return nullptr;
}

void TfMaster::describeButtonsForAccessibility() {
    // Image-only buttons have no text: screen readers and test tools find them by their hint.
    for (const QToolBar *bar : {ToolBar, ToolBar_SQLTools2}) {
        for (QAction *entry : bar->actions()) {
            QWidget *button = bar->widgetForAction(entry);
            if (!button || entry->isSeparator())
                continue;
            const QString hint = entry->toolTip();
            button->setAccessibleName(entry->text().isEmpty() ? hint : entry->text());
            if (!entry->text().isEmpty() && hint != entry->text())
                button->setAccessibleDescription(hint);
        }
    }
    RichEdit->setAccessibleName(QStringLiteral("Texto"));
    // "SDK" has no hint; without this filter Qt would show its caption as one.
    if (QWidget *sdk = ToolBar->widgetForAction(ToolButton_SDK))
        sdk->installEventFilter(this);
}

void TfMaster::FormCreate() {
    Timer->stop();
    // Decided once: a development environment started later does not bring the button.
    ToolButton_SDK->setVisible(IsDesignerRunning());
    DataFolder = ForceDirectoriesPath(platform::dataFolder());
    setWindowTitle(masterCaption(ApplicationTitle(), ExeFileVersion()));
    LayoutDefault();
    m_plainText = true;
    setBothScrollBars();
    // Before the banner: changing the wrap lays out the line under the cursor, which would
    // load the editor's font and shape the banner while the window is still hidden.
    RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    insertLinesAtTop(RichEdit, bootBannerLines(currentDateTime()));
    startCrashJournal();
    Timer->start();
}

void TfMaster::presentAtStartUp() {
    // With a tray the icon is the only sign of the program until the user restores it.
    if (!m_useTray)
        show();
}

void TfMaster::setReminderCheckerFactory(ReminderCheckerFactory factory) {
    m_reminderCheckerFactory = std::move(factory);
}

void TfMaster::setTerminateFunction(TerminateFunction terminate) {
    m_terminate = std::move(terminate);
}

void TfMaster::setTrayAvailableFunction(std::function<bool()> available) {
    m_trayAvailable = std::move(available);
}

void TfMaster::LayoutDefault() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The sizes are those of the whole window, frame included, where the window manager
    // has given it one; move() already places the frame.
    const QRect frame = defaultMasterGeometry(screen->size(), minimumWidth());
    const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    resize(frame.size().shrunkBy(margins));
    move(frame.topLeft());
    // Before the first show the frame is unknown: lay out again once the window manager
    // has framed the window.
    m_layoutAwaitsFrame = margins.isNull() && !isVisible();
}

void TfMaster::moveEvent(QMoveEvent *event) {
    QMainWindow::moveEvent(event);
    if (m_layoutAwaitsFrame && isVisible() && windowHandle() &&
        !windowHandle()->frameMargins().isNull())
        LayoutDefault();
}

void TfMaster::ToolButton2Click() {
    LayoutDefault();
}

void TfMaster::setBothScrollBars() {
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TfMaster::setVerticalScrollBarOnly() {
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TfMaster::PlainTextMenuClick(bool checked) {
    m_plainText = checked;
}

void TfMaster::ScrollBarHorizontal1Click(bool checked) {
    if (checked) {
        setBothScrollBars();
        RichEdit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    } else {
        setVerticalScrollBarOnly();
        RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
}

void TfMaster::AutoInicializarcomoWindows1Click(bool checked) {
    try {
        if (checked)
            enableAutostart(QCoreApplication::applicationFilePath());
        else
            disableAutostart();
    } catch (const std::exception &error) {
        // The check mark keeps saying what the session will do.
        AutoInicializarcomoWindows1->setChecked(!checked);
        showError(error);
    }
}

void TfMaster::StatusBar1DblClick() {
    m_plainText = ConfirmDialog(this, QStringLiteral("RichEdit.PlainText?"), QString());
    if (ConfirmDialog(this, QStringLiteral("RichEdit.ScrollBars?"), QString()))
        setBothScrollBars();
}

bool TfMaster::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ToolTip && watched == ToolBar->widgetForAction(ToolButton_SDK))
        return true;
    const bool onEditor = watched == RichEdit || (RichEdit && watched == RichEdit->viewport());
    if (onEditor &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress))
        showCaretPosition();
    return QMainWindow::eventFilter(watched, event);
}

void TfMaster::showCaretPosition() {
    QString previous;
    StatusBarMessage(StatusBar1, 0, EditCaretPos(RichEdit), &previous, true, 0);
}

void TfMaster::showCheckTime() {
    QString previous;
    StatusBarMessage(StatusBar1, 1, checkTimerText(currentDateTime(), QLocale::system()), &previous,
                     true, 0);
}

ReminderPass &TfMaster::ensureReminderChecker() {
    if (!ReminderChecker)
        ReminderChecker = m_reminderCheckerFactory(this);
    return *ReminderChecker;
}

void TfMaster::TimerTimer() {
    // An alarm's window would run an event loop of its own, taking input into a text that a
    // tool may be replacing: the pass waits for the next tick.
    if (ToolProgressDialog::anyAtWork())
        return;
    // Off for the whole pass: the pass can open windows whose event loops would let ticks
    // pile up and passes overlap.
    Timer->stop();
    try {
        showCheckTime();
        ensureReminderChecker().CheckReminders();
        showCheckTime();
    } catch (const std::exception &error) {
        showError(error);
    }
    Timer->start();
}

void TfMaster::showError(const std::exception &error) {
    const auto *appError = dynamic_cast<const AppError *>(&error);
    ShowErrorBox(this, appError ? appError->message() : QString::fromLocal8Bit(error.what()));
}

} // namespace brevnote
