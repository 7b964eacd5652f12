#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLineEdit;
class QToolButton;

namespace brevnote {

// A file-name box: a line edit with a browse button that runs an open-file dialog through
// the dialog seam and puts the picked file's full name into the box.
class FilenameEdit final : public QWidget {
    Q_OBJECT

public:
    explicit FilenameEdit(const QString &name, QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);
    QLineEdit *lineEdit() const { return m_edit; }
    QToolButton *browseButton() const { return m_browse; }

    // Filter pairs as "Description|*.ext|...".
    void setFilter(const QString &filter) { m_filter = filter; }
    // Runs before the dialog and gives its starting folder; without it the dialog starts in
    // the folder of the current name, or in the program folder.
    void setBeforeDialog(std::function<QString()> beforeDialog) {
        m_beforeDialog = std::move(beforeDialog);
    }

    void browse();

private:
    QLineEdit *m_edit = nullptr;
    QToolButton *m_browse = nullptr;
    QString m_filter;
    std::function<QString()> m_beforeDialog;
};

// On this platform programs and most files carry no extension: a "*.*" pattern of the
// program's filters becomes "*", so "All files (*.*)" lists every file.
QString WithPlainAllFiles(const QString &filter);

} // namespace brevnote
