#pragma once

#include "util/ui/userdialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace brevnote::test {

// A UserDialogs that answers from queues filled by the test and records what was asked.
// Installed for its lifetime; an unexpected question fails loudly instead of blocking.
class ScriptedDialogs final : public UserDialogs {
public:
    struct MessageBoxCall {
        QWidget *owner = nullptr;
        QString text;
        QString caption;
        int style = 0;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    QQueue<int> messageBoxAnswers; // button codes, IDYES etc.
    QQueue<QString> fileNames;     // answers of open and save dialogs; "" cancels
    QQueue<bool> fontAnswers;      // with `fontToChoose`
    QFont fontToChoose;
    QQueue<bool> printerAnswers;

    QList<MessageBoxCall> messageBoxes;
    QStringList errors;
    QStringList fileDialogFilters;
    QList<QFont> fontDialogInitialFonts;
    QStringList fileDialogFolders; // the folder (or proposed file) each file dialog opened on
    int printPreviews = 0;
    std::function<void(QPrinter *)> lastPrintPreviewPaint;

    int messageBox(QWidget *owner, const QString &text, const QString &caption, int style) override;
    void errorBox(QWidget *owner, const QString &message) override;
    QString openFileName(QWidget *owner, const QString &folder, const QString &filter,
                         const QString &defaultSuffix) override;
    QString saveFileName(QWidget *owner, const QString &folder, const QString &filter,
                         const QString &defaultSuffix, bool confirmOverwrite) override;
    bool chooseFont(QWidget *owner, const QFont &initial, QFont *chosen) override;
    bool choosePrinter(QWidget *owner, QPrinter *printer) override;
    // Records the preview and keeps `paint`; no window opens.
    void printPreview(QWidget *owner, const std::function<void(QPrinter *)> &paint) override;
};

} // namespace brevnote::test
