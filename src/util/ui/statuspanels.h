#pragma once

#include <QList>
#include <QStatusBar>

class QLabel;

namespace brevnote {

// A status bar made of panels of fixed widths, each with its own text, the last one reaching
// to the right edge; or, in simple mode, one text across the bar.
class StatusPanels final : public QStatusBar {
    Q_OBJECT

public:
    explicit StatusPanels(QWidget *parent = nullptr);

    // Replaces the panels by ones of the given widths in pixels.
    void setPanelWidths(const QList<int> &widths);
    int panelCount() const;
    // Raise AppError("List index out of bounds (<index>)") for a panel the bar does not have.
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

    bool simpleMode() const { return m_simple; }
    void setSimpleMode(bool simple);
    QString simpleText() const;
    void setSimpleText(const QString &text);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *panel(int index) const;
    void showTexts();

    QList<QLabel *> m_panels;
    QLabel *m_simpleLabel = nullptr;
    // The texts reach the labels only while the bar can be seen: laying out a label measures
    // its text, which loads and shapes a font that a window kept in the tray all day never
    // needs.
    QStringList m_texts;
    QString m_simpleText;
    bool m_simple = false;
};

// Puts `text` into a panel (or the simple text) and repaints at once; `previous` receives the
// text it replaces. Nothing happens when `show` is false. A pause above 0 blocks the thread.
void StatusBarMessage(StatusPanels *bar, int panelIndex, const QString &text, QString *previous,
                      bool show, int pauseMs);

} // namespace brevnote
