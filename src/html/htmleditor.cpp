#include "htmleditor.h"

namespace brevnote {

TfHTMLEdit::TfHTMLEdit(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fHTMLEdit"));
}

TfHTMLEdit::~TfHTMLEdit() = default;

void TfHTMLEdit::LoadFromFile(const QString &fileName) {
    // Stand-in until the source editor lands: remembers the file and shows nothing.
    m_editedFile = fileName;
    setResult(QDialog::Rejected);
}

} // namespace brevnote
