#pragma once

#include <QDialog>
#include <QString>

namespace brevnote {

// The small modal editor for the source text of one HTML file, with a preview tab.
class TfHTMLEdit final : public QDialog {
    Q_OBJECT

public:
    explicit TfHTMLEdit(QWidget *parent = nullptr);
    ~TfHTMLEdit() override;

    // Loads `fileName` and shows the editor modally; returns when it has closed. The
    // caller reads result(): Accepted after a save, Rejected otherwise. Raises AppError when
    // the file cannot be read (the editor is then not shown).
    void LoadFromFile(const QString &fileName);

    const QString &EditedFile() const { return m_editedFile; }

private:
    QString m_editedFile;
};

} // namespace brevnote
