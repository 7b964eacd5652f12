#pragma once

#include "toolprogress.h"

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace brevnote {

// Above this many lines a tool shows its progress and keeps the windows repainting.
inline constexpr qsizetype kProgressDialogLines = 100000;

// A modal progress dialog for a tool on a large text, with "Cancelar"; nothing at all for a
// small one.
class ToolProgressDialog final {
public:
    ToolProgressDialog(QWidget *owner, const QString &label, qsizetype lines);
    ~ToolProgressDialog();
    ToolProgressDialog(const ToolProgressDialog &) = delete;
    ToolProgressDialog &operator=(const ToolProgressDialog &) = delete;

    // The callback the tool's logic reports to; empty for a small text.
    LineProgress callback();
    // Shows what comes next (the editor's update, which cannot report progress).
    void setLabel(const QString &label);

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace brevnote
