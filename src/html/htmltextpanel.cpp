#include "html/htmltextpanel.h"

#include "html/htmltext.h"
#include "util/ui/webwindows.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace brevnote {

TfHTMLText::TfHTMLText(QWidget *parent)
    : QDialog(parent)
    , m_showPage([](const QString &html) { ShowHTMLDialog(nullptr, html); }) {
    setObjectName(QStringLiteral("fHTMLText"));
    setWindowTitle(QStringLiteral("fHTMLText"));
    setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createToolBar();
    layout->addWidget(ToolBar);

    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    QPalette palette = Memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    Memo->setPalette(palette);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    Memo->setFont(font);
    Memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(Memo, 1);

    Panel_Rodape = new QWidget(this);
    Panel_Rodape->setObjectName(QStringLiteral("Panel_Rodape"));
    auto *footer = new QHBoxLayout(Panel_Rodape);
    footer->setContentsMargins(8, 4, 8, 4);
    CheckBox_CR2BR = new QCheckBox(QStringLiteral("CR2BR"), Panel_Rodape);
    CheckBox_CR2BR->setObjectName(QStringLiteral("CheckBox_CR2BR"));
    CheckBox_CR2BR->setToolTip(QStringLiteral("Deixe esta opção marcada para\n"
                                              "gerar quebra de linha HTM para\n"
                                              "quebras de linha em modo texto. "));
    footer->addWidget(CheckBox_CR2BR);
    footer->addStretch(1);
    layout->addWidget(Panel_Rodape);

    setWindowState(Qt::WindowMaximized);
}

TfHTMLText::~TfHTMLText() = default;

void TfHTMLText::createToolBar() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    ToolBar->setFont(font);
    const auto button = [this](const char *name, const QString &caption, const QIcon &icon) {
        QAction *action = ToolBar->addAction(icon, caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    ToolBar->addSeparator();
    ToolButton_Colar = button("ToolButton_Colar", QStringLiteral("Colar"),
                              QIcon::fromTheme(QStringLiteral("edit-paste"),
                                               style()->standardIcon(QStyle::SP_DialogOpenButton)));
    ToolBar->addSeparator();
    ToolButton_Copiar =
        button("ToolButton_Copiar", QStringLiteral("Copiar"),
               QIcon::fromTheme(QStringLiteral("edit-copy"),
                                style()->standardIcon(QStyle::SP_DialogSaveButton)));
    ToolBar->addSeparator();
    ToolButton_Browse = button("ToolButton_Browse", QStringLiteral("Browse"),
                               QIcon::fromTheme(QStringLiteral("internet-web-browser"),
                                                style()->standardIcon(QStyle::SP_ComputerIcon)));
    ToolBar->addSeparator();
    connect(ToolButton_Colar, &QAction::triggered, this, &TfHTMLText::ToolButton_ColarClick);
    connect(ToolButton_Copiar, &QAction::triggered, this, &TfHTMLText::ToolButton_CopiarClick);
    connect(ToolButton_Browse, &QAction::triggered, this, &TfHTMLText::ToolButton_BrowseClick);
}

QString TfHTMLText::memoText() const {
    QString text = Memo->toPlainText();
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

void TfHTMLText::setMemoText(const QString &text) {
    // The editor keeps paragraphs; every kind of break becomes one.
    QString paragraphs = AdjustLineBreaks(text);
    Memo->setPlainText(paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TfHTMLText::setPageShower(PageShower shower) {
    m_showPage = std::move(shower);
}

void TfHTMLText::ToolButton_ColarClick() {
    setMemoText(PastedHtmlToLines(QGuiApplication::clipboard()->text()));
}

void TfHTMLText::ToolButton_CopiarClick() {
    QGuiApplication::clipboard()->setText(LinesToHtml(memoText()));
}

void TfHTMLText::ToolButton_BrowseClick() {
    m_showPage(HtmlToBrowse(memoText(), CheckBox_CR2BR->isChecked()));
}

} // namespace brevnote
