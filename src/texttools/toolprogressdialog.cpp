#include "toolprogressdialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace brevnote {

ToolProgressDialog::ToolProgressDialog(QWidget *owner, const QString &label, qsizetype lines) {
    if (lines <= kProgressDialogLines)
        return;
    m_dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancelar"), 0,
                                                 int(std::min<qsizetype>(lines, INT_MAX)), owner);
    m_dialog->setWindowTitle(QCoreApplication::applicationName());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

ToolProgressDialog::~ToolProgressDialog() = default;

LineProgress ToolProgressDialog::callback() {
    if (!m_dialog)
        return {};
    QProgressDialog *dialog = m_dialog.get();
    return [dialog](qsizetype done, qsizetype) {
        // setValue repaints a modal dialog and processes events, so the windows stay drawn.
        dialog->setValue(int(std::min<qsizetype>(done, dialog->maximum())));
        QCoreApplication::processEvents();
        return !dialog->wasCanceled();
    };
}

void ToolProgressDialog::setLabel(const QString &label) {
    if (!m_dialog)
        return;
    m_dialog->setLabelText(label);
    m_dialog->setCancelButton(nullptr);
    QCoreApplication::processEvents();
}

} // namespace brevnote
