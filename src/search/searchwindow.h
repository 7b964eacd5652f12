#pragma once

#include "searchindexer.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace brevnote {

// "Procurar nos textos salvos": a search box, the dumps found (date and time, a line around
// the words found) and the chosen dump read-only with the words marked. "Abrir no Brevnote"
// hands the dump's text to the pad. Enter searches, Escape closes. Not modal: the pad stays
// usable while it is open.
class TfProcurar final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultLimit = 100;

    explicit TfProcurar(SearchService *service, QWidget *owner = nullptr);

    QLineEdit *searchBox() const { return Edit_Procurar; }
    QListWidget *resultList() const { return ListBox_Resultados; }
    QPlainTextEdit *viewer() const { return Memo_Texto; }
    QLabel *statusLabel() const { return Label_Status; }
    QLabel *noticeLabel() const { return Label_Aviso; }
    QPushButton *openButton() const { return Button_Abrir; }
    // The results shown, in order.
    const QList<SearchResult> &results() const { return m_results; }

    void ProcurarClick();

signals:
    // The chosen dump's whole text, for the pad.
    void openInPad(const QString &text);
    // The answer to the last search is shown.
    void resultsShown();

private:
    void showState();
    void showResults(quint64 id, const QList<SearchResult> &results);
    void showChosen();
    void AbrirClick();

    SearchService *m_service;
    quint64 m_pending = 0;
    QString m_lastQuery;
    QList<SearchResult> m_results;
    QString m_chosenText;
    bool m_indexingSeen = false;

    QLineEdit *Edit_Procurar = nullptr;
    QPushButton *Button_Procurar = nullptr;
    QLabel *Label_Status = nullptr;
    QLabel *Label_Aviso = nullptr;
    QListWidget *ListBox_Resultados = nullptr;
    QPlainTextEdit *Memo_Texto = nullptr;
    QPushButton *Button_Abrir = nullptr;
    QPushButton *Button_Fechar = nullptr;
};

} // namespace brevnote
