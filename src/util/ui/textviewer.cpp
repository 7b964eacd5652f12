#include "util/ui/textviewer.h"

#include "util/core/textroutines.h"
#include "util/ui/statuspanels.h"

#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include <memory>

namespace brevnote {

namespace {

constexpr int kPanelWidth = 120;

} // namespace

TfRascunho::TfRascunho(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fRascunho"));
    setWindowTitle(QStringLiteral("Rascunho"));
    setMinimumSize(640, 400);
    resize(640, 400);
    setSizeGripEnabled(false);
    // A plain window: maximise and minimise like any other, no help button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    TextFile = new QPlainTextEdit(this);
    TextFile->setObjectName(QStringLiteral("TextFile"));
    layout->addWidget(TextFile, 1);
    connect(TextFile, &QPlainTextEdit::textChanged, this, &TfRascunho::LinColMemo);
    // Key releases and mouse presses, as the events reach the editor.
    TextFile->installEventFilter(this);
    TextFile->viewport()->installEventFilter(this);

    StatusBar = new StatusPanels(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setPanelWidths({kPanelWidth, kPanelWidth, kPanelWidth, kPanelWidth});
    layout->addWidget(StatusBar);
    FormCreate();
}

TfRascunho::~TfRascunho() = default;

void TfRascunho::FormCreate() {
    TextFile->hide();
    StatusBar->hide();
}

void TfRascunho::present(const QStringList &lines, const QString &title) {
    StatusBar->show();
    QPalette palette = TextFile->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    TextFile->setPalette(palette);
    TextFile->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextFile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextFile->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    TextFile->setFont(font);
    TextFile->setReadOnly(true);
    // Read-only still shows the caret, so arrows and clicks move it.
    TextFile->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    TextFile->clear();
    TextFile->show();
    setWindowState(Qt::WindowMaximized);
    setWindowTitle(title.isEmpty() ? QStringLiteral("Itens: ") + QString::number(lines.size())
                                   : title);
    // One piece, not line by line: a long list loads at once.
    TextFile->setPlainText(lines.join(u'\n'));
    TextFile->moveCursor(QTextCursor::Start);
    LinColMemo();
}

QString LinColText(const QPlainTextEdit *editor) {
    const int caret = editor->textCursor().selectionStart();
    const QTextBlock block = editor->document()->findBlock(caret);
    return Spaces(3) + QString::number(block.blockNumber() + 1) + u':' +
           QString::number(caret - block.position());
}

void TfRascunho::LinColMemo() {
    StatusBarMessage(StatusBar, 0, LinColText(TextFile), nullptr, true, 0);
}

bool TfRascunho::eventFilter(QObject *watched, QEvent *event) {
    if (watched == TextFile && event->type() == QEvent::KeyRelease) {
        // After the key has moved the caret: the editor saw the press already.
        LinColMemo();
    } else if (watched == TextFile->viewport() && event->type() == QEvent::MouseButtonPress) {
        // Before the click moves the caret.
        LinColMemo();
    }
    return QDialog::eventFilter(watched, event);
}

void ShowTextWindow(const QStringList &lines, const QString &title, bool modal) {
    // Owned by the window the user works in, so it opens above the always-on-top pad.
    QWidget *owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                       : QApplication::activeWindow();
    if (!modal) {
        // Not waiting: the window lives until the user closes it.
        auto *viewer = new TfRascunho(owner);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->present(lines, title);
        viewer->show();
        return;
    }
    const auto viewer = std::make_unique<TfRascunho>(owner);
    viewer->present(lines, title);
    viewer->exec();
}

} // namespace brevnote
