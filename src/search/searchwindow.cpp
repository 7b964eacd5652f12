#include "searchwindow.h"

#include "dumpfiles.h"
#include "searchquery.h"

#include "util/core/textcodec.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

namespace brevnote {

namespace {

const QString kMarkOpen = QStringLiteral("<span style=\"background-color:#ffe680\">");
const QString kMarkClose = QStringLiteral("</span>");
// Marks beyond these in the viewer would slow a long text down for no reader's benefit.
constexpr qsizetype kViewerMarks = 2000;

QPushButton *plainButton(const QString &caption, const char *name, QWidget *parent) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // Enter belongs to the search box: no button is pressed by it.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TfProcurar::TfProcurar(SearchService *service, QWidget *owner)
    : QDialog(owner)
    , m_service(service) {
    setObjectName(QStringLiteral("TfProcurar"));
    setWindowTitle(QStringLiteral("Procurar nos textos salvos"));
    setSizeGripEnabled(true);
    resize(900, 560);

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Procurar:"), this);
    Edit_Procurar = new QLineEdit(this);
    Edit_Procurar->setObjectName(QStringLiteral("Edit_Procurar"));
    Edit_Procurar->setPlaceholderText(
        QStringLiteral("palavras, \"uma frase\" ou o começo de uma palavra*"));
    Edit_Procurar->setClearButtonEnabled(true);
    label->setBuddy(Edit_Procurar);
    Button_Procurar = plainButton(QStringLiteral("Procurar"), "Button_Procurar", this);
    row->addWidget(label);
    row->addWidget(Edit_Procurar, 1);
    row->addWidget(Button_Procurar);
    layout->addLayout(row);

    Label_Aviso = new QLabel(this);
    Label_Aviso->setObjectName(QStringLiteral("Label_Aviso"));
    Label_Aviso->setWordWrap(true);
    Label_Aviso->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; padding: 4px; }"));
    Label_Aviso->hide();
    layout->addWidget(Label_Aviso);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    ListBox_Resultados = new QListWidget(splitter);
    ListBox_Resultados->setObjectName(QStringLiteral("ListBox_Resultados"));
    ListBox_Resultados->setAccessibleName(QStringLiteral("Resultados"));
    ListBox_Resultados->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A light choice colour keeps the entry's black text and marks readable.
    ListBox_Resultados->setStyleSheet(
        QStringLiteral("QListWidget::item:selected { background: #cfe2fb; }"));
    Memo_Texto = new QPlainTextEdit(splitter);
    Memo_Texto->setObjectName(QStringLiteral("Memo_Texto"));
    Memo_Texto->setAccessibleName(QStringLiteral("Texto salvo"));
    Memo_Texto->setReadOnly(true);
    Memo_Texto->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo_Texto->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter, 1);

    auto *buttons = new QHBoxLayout;
    Label_Status = new QLabel(this);
    Label_Status->setObjectName(QStringLiteral("Label_Status"));
    Button_Abrir = plainButton(QStringLiteral("Abrir no Brevnote"), "Button_Abrir", this);
    Button_Abrir->setEnabled(false);
    Button_Fechar = plainButton(QStringLiteral("Fechar"), "Button_Fechar", this);
    buttons->addWidget(Label_Status, 1);
    buttons->addWidget(Button_Abrir);
    buttons->addWidget(Button_Fechar);
    layout->addLayout(buttons);

    connect(Edit_Procurar, &QLineEdit::returnPressed, this, &TfProcurar::ProcurarClick);
    connect(Button_Procurar, &QPushButton::clicked, this, &TfProcurar::ProcurarClick);
    connect(Button_Abrir, &QPushButton::clicked, this, &TfProcurar::AbrirClick);
    connect(Button_Fechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBox_Resultados, &QListWidget::currentRowChanged, this, &TfProcurar::showChosen);
    connect(m_service, &SearchService::stateChanged, this, &TfProcurar::showState);
    connect(m_service, &SearchService::found, this, &TfProcurar::showResults);
    showState();
}

void TfProcurar::showState() {
    if (!m_service->notice().isEmpty() && Label_Aviso->text() != m_service->notice()) {
        Label_Aviso->setText(m_service->notice());
        Label_Aviso->show();
    }
    const QLocale locale;
    if (!m_service->unavailableReason().isEmpty()) {
        Label_Status->setText(QStringLiteral("A busca não está disponível: ") +
                              m_service->unavailableReason());
        Edit_Procurar->setEnabled(false);
        Button_Procurar->setEnabled(false);
        return;
    }
    if (m_service->indexing()) {
        m_indexingSeen = true;
        Label_Status->setText(
            QStringLiteral("Indexando… %1 de %2 textos")
                .arg(locale.toString(m_service->done()), locale.toString(m_service->total())));
        return;
    }
    if (m_indexingSeen) {
        // What was asked during the indexing is asked again of the whole index.
        m_indexingSeen = false;
        if (!m_lastQuery.isEmpty())
            m_pending = m_service->search(m_lastQuery, kResultLimit);
    }
    if (m_pending == 0 && m_lastQuery.isEmpty())
        Label_Status->setText(m_service->dumps() == 1
                                  ? QStringLiteral("1 texto salvo no índice.")
                                  : QStringLiteral("%1 textos salvos no índice.")
                                        .arg(locale.toString(m_service->dumps())));
}

void TfProcurar::ProcurarClick() {
    const QString text = Edit_Procurar->text().trimmed();
    if (parseSearchQuery(text).isEmpty()) {
        Label_Status->setText(QStringLiteral("Digite as palavras a procurar."));
        return;
    }
    m_lastQuery = text;
    m_pending = m_service->search(text, kResultLimit);
    if (!m_service->indexing())
        Label_Status->setText(QStringLiteral("Procurando…"));
}

void TfProcurar::showResults(quint64 id, const QList<SearchResult> &results) {
    if (id != m_pending)
        return;
    m_pending = 0;
    m_results = results;
    ListBox_Resultados->clear();
    for (const SearchResult &result : results) {
        auto *item = new QListWidgetItem(ListBox_Resultados);
        // The label below draws the entry; screen readers get its plain text.
        item->setData(Qt::AccessibleTextRole, result.caption + u' ' + result.excerpt.text);
        auto *view = new QLabel(
            QStringLiteral("<b>%1</b><br>%2")
                .arg(result.caption.toHtmlEscaped(),
                     markedHtml(result.excerpt.text, result.excerpt.marks, kMarkOpen, kMarkClose)),
            ListBox_Resultados);
        view->setTextFormat(Qt::RichText);
        view->setContentsMargins(4, 2, 4, 2);
        view->setAttribute(Qt::WA_TransparentForMouseEvents);
        item->setSizeHint(view->sizeHint());
        ListBox_Resultados->setItemWidget(item, view);
    }
    const QLocale locale;
    QString status;
    if (results.isEmpty())
        status = QStringLiteral("Nenhum texto encontrado.");
    else if (results.size() == 1)
        status = QStringLiteral("1 texto encontrado.");
    else if (results.size() >= kResultLimit)
        status = QStringLiteral("Os %1 textos mais relevantes.").arg(locale.toString(kResultLimit));
    else
        status = QStringLiteral("%1 textos encontrados.").arg(locale.toString(results.size()));
    if (m_service->indexing())
        status += QStringLiteral(" Indexando… %1 de %2 textos")
                      .arg(locale.toString(m_service->done()), locale.toString(m_service->total()));
    Label_Status->setText(status);
    if (!results.isEmpty())
        ListBox_Resultados->setCurrentRow(0);
    else
        showChosen();
    emit resultsShown();
}

void TfProcurar::showChosen() {
    const int row = ListBox_Resultados->currentRow();
    if (row < 0 || row >= m_results.size()) {
        m_chosenText.clear();
        Memo_Texto->clear();
        Button_Abrir->setEnabled(false);
        return;
    }
    m_chosenText = normalizeLineBreaks(readDumpText(m_results.at(row).path));
    Memo_Texto->setPlainText(m_chosenText);
    QList<QTextEdit::ExtraSelection> marks;
    QTextCharFormat format;
    format.setBackground(QColor(0xff, 0xe6, 0x80));
    const QList<TextRange> found =
        findTerms(m_chosenText, parseSearchQuery(m_lastQuery).terms, kViewerMarks);
    for (const TextRange &range : found) {
        QTextCursor cursor(Memo_Texto->document());
        cursor.setPosition(int(range.start));
        cursor.setPosition(int(range.end), QTextCursor::KeepAnchor);
        marks.append({cursor, format});
    }
    Memo_Texto->setExtraSelections(marks);
    if (!found.isEmpty()) {
        QTextCursor first(Memo_Texto->document());
        first.setPosition(int(found.first().start));
        Memo_Texto->setTextCursor(first);
        Memo_Texto->centerCursor();
    }
    Button_Abrir->setEnabled(true);
}

void TfProcurar::AbrirClick() {
    if (ListBox_Resultados->currentRow() >= 0)
        emit openInPad(m_chosenText);
}

} // namespace brevnote
