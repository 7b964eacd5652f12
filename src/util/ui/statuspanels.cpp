#include "util/ui/statuspanels.h"

#include "util/core/apperror.h"

#include <QLabel>
#include <QMouseEvent>
#include <QThread>

#include <memory>

namespace brevnote {

namespace {

// A panel's text is shown as given (file names, times), never as markup; a long text must not
// widen the window, so the label's own size hint is not a minimum.
std::unique_ptr<QLabel> makePanelLabel() {
    auto label = std::make_unique<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

} // namespace

StatusPanels::StatusPanels(QWidget *parent)
    : QStatusBar(parent) {
    std::unique_ptr<QLabel> simple = makePanelLabel();
    m_simpleLabel = simple.get();
    addWidget(simple.release(), 1);
    m_simpleLabel->hide();
}

void StatusPanels::setPanelWidths(const QList<int> &widths) {
    for (QLabel *old : std::as_const(m_panels)) {
        removeWidget(old);
        delete old;
    }
    m_panels.clear();
    m_texts = QStringList(widths.size());
    for (qsizetype i = 0; i < widths.size(); ++i) {
        std::unique_ptr<QLabel> label = makePanelLabel();
        const int width = qMax(0, widths.at(i));
        const bool last = i == widths.size() - 1;
        if (last) {
            label->setMinimumWidth(width);
        } else {
            // A fixed panel needs a fixed policy too: with Ignored, the status bar's layout
            // leaves it an empty slot and the next panel is drawn over it.
            label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
            label->setFixedWidth(width);
        }
        m_panels.append(label.get());
        addWidget(label.release(), last ? 1 : 0);
        m_panels.constLast()->setVisible(!m_simple);
    }
}

int StatusPanels::panelCount() const {
    return int(m_panels.size());
}

QString StatusPanels::panelText(int index) const {
    panel(index); // raises AppError for a panel the bar does not have
    return m_texts.at(index);
}

void StatusPanels::setPanelText(int index, const QString &text) {
    QLabel *label = panel(index);
    m_texts[index] = text;
    if (isVisible())
        label->setText(text);
}

void StatusPanels::setSimpleMode(bool simple) {
    m_simple = simple;
    m_simpleLabel->setVisible(simple);
    for (QLabel *label : std::as_const(m_panels))
        label->setVisible(!simple);
}

QString StatusPanels::simpleText() const {
    return m_simpleText;
}

void StatusPanels::setSimpleText(const QString &text) {
    m_simpleText = text;
    if (isVisible())
        m_simpleLabel->setText(text);
}

void StatusPanels::showEvent(QShowEvent *event) {
    QStatusBar::showEvent(event);
    showTexts();
}

void StatusPanels::showTexts() {
    m_simpleLabel->setText(m_simpleText);
    for (qsizetype i = 0; i < m_panels.size(); ++i)
        m_panels.at(i)->setText(m_texts.at(i));
}

// The panels ignore mouse events, so a double click on any of them arrives here too.
void StatusPanels::mouseDoubleClickEvent(QMouseEvent *event) {
    event->accept();
    emit doubleClicked();
}

QLabel *StatusPanels::panel(int index) const {
    if (index < 0 || index >= m_panels.size())
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_panels.at(index);
}

void StatusBarMessage(StatusPanels *bar, int panelIndex, const QString &text, QString *previous,
                      bool show, int pauseMs) {
    if (!show)
        return;
    QString old;
    if (bar->simpleMode()) {
        old = bar->simpleText();
        bar->setSimpleText(text);
    } else {
        old = bar->panelText(panelIndex);
        bar->setPanelText(panelIndex, text);
    }
    if (previous)
        *previous = old;
    // Callers may keep the thread busy next; paint now instead of waiting for the event loop.
    bar->repaint();
    if (pauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(pauseMs));
}

} // namespace brevnote
