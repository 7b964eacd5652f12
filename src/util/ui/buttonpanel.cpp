#include "util/ui/buttonpanel.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

// The panels these routines lay out have no QLayout: the buttons are placed by hand, from the
// dialog's resize handler. The row's buttons are the QPushButton direct children; a hidden
// one takes no place. Integer divisions truncate toward zero.
namespace brevnote {

namespace {

constexpr int kButtonGap = 5;
constexpr int kLeftMargin = 10;
constexpr int kPanelBorder = 3;

bool takesPart(const QWidget *child) {
    return !child->isWindow() && !child->isHidden();
}

// The panel's child widgets in its order (creation order), skipping hidden ones.
QList<QWidget *> visibleChildren(const QWidget *panel) {
    QList<QWidget *> widgets;
    for (QObject *object : panel->children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (widget && takesPart(widget))
            widgets.append(widget);
    }
    return widgets;
}

// A button that is no dialog's default still answers Enter while it has the focus, as a
// focused push button does on every desktop; Qt only does that for (auto-)default buttons.
// Q_OBJECT lets findChild() tell it apart from the panel's other children.
class EnterClicksFocusedButton final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

void makeNonDefault(QWidget *panel, QPushButton *button) {
    button->setDefault(false);
    button->setAutoDefault(false);
    auto *filter =
        panel->findChild<EnterClicksFocusedButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (!filter)
        filter = new EnterClicksFocusedButton(panel); // owned by the panel
    button->installEventFilter(filter);               // installing twice keeps one entry
}

// The panel's push buttons in the order the Tab key visits them: the focus chain walked from
// the panel (creation order unless QWidget::setTabOrder changed it). A button not met there
// follows in the panel's order.
QList<QPushButton *> inTabOrder(const QWidget *panel, const QList<QPushButton *> &buttons) {
    QList<QPushButton *> ordered;
    const QWidget *start = panel;
    for (QWidget *w = start->nextInFocusChain(); w && w != start && ordered.size() < buttons.size();
         w = w->nextInFocusChain()) {
        auto *button = qobject_cast<QPushButton *>(w);
        if (button && buttons.contains(button) && !ordered.contains(button))
            ordered.append(button);
    }
    for (QPushButton *button : buttons) {
        if (!ordered.contains(button))
            ordered.append(button);
    }
    return ordered;
}

} // namespace

void CenterButtonsInPanel(QWidget *panel) {
    const QList<QWidget *> children = visibleChildren(panel);
    int total = 0;
    int tallest = 0;
    for (const QWidget *child : children) {
        if (qobject_cast<const QPushButton *>(child))
            total += child->width() + kButtonGap;
        tallest = std::max(tallest, child->height());
    }
    int left = (panel->width() - total) / 2;
    const int top = (panel->height() - tallest) / 2;
    for (QWidget *child : children) {
        auto *button = qobject_cast<QPushButton *>(child);
        if (!button)
            continue;
        const int width = button->width();
        button->setGeometry(left, top, width, tallest);
        left += width + kButtonGap;
    }
}

void ArrangeButtonPanel(QWidget *panel, int alignment) {
    if (auto *frame = qobject_cast<QFrame *>(panel))
        frame->setFrameShape(QFrame::NoFrame);
    panel->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);

    QList<QPushButton *> buttons;
    int total = 0;
    int tallest = 0;
    for (QWidget *child : visibleChildren(panel)) {
        auto *button = qobject_cast<QPushButton *>(child);
        if (!button)
            continue;
        buttons.append(button);
        total += button->width() + kButtonGap;
        tallest = std::max(tallest, button->height());
    }

    const int top = (panel->height() - tallest) / 2;
    int left = 0;
    switch (alignment) {
    case 0:
        left = kLeftMargin;
        break;
    case 1:
        left = panel->width() - total - kLeftMargin;
        break;
    default: // 2, and any value the callers do not use
        left = (panel->width() - total) / 2;
        break;
    }

    for (QPushButton *button : inTabOrder(panel, buttons)) {
        button->move(left, top);
        makeNonDefault(panel, button);
        left += button->width() + kButtonGap;
    }
}

} // namespace brevnote

#include "buttonpanel.moc"
