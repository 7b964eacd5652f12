#include "util/ui/userdialogs.h"

#include "util/ui/messageboxes.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include <memory>

namespace brevnote {

namespace {

// A Yes/No question must be answered: Escape and the close button do nothing, as with the
// system box whose only way out is one of its buttons.
class AnswerRequiredBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

QMessageBox::Icon iconOf(int style) {
    switch (style & 0xF0) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int code;
};

QList<ButtonSpec> buttonsOf(int style) {
    switch (style & 0xF) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

// Modal to the owner's window only, not to the whole program: the tray icon and its menu
// (Restaurar, Lembretes, Fechar) keep working while a dialog is open.
int execForOwner(QDialog &dialog, QWidget *owner) {
    if (owner)
        dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

class SystemDialogs final : public UserDialogs {
public:
    int messageBox(QWidget *owner, const QString &text, const QString &caption,
                   int style) override {
        const QList<ButtonSpec> buttons = buttonsOf(style);
        const bool mustAnswer = (style & 0xF) == MB_YESNO;
        std::unique_ptr<QMessageBox> box = mustAnswer ? std::make_unique<AnswerRequiredBox>(owner)
                                                      : std::make_unique<QMessageBox>(owner);
        box->setWindowTitle(caption);
        // The system box breaks lines at a lone carriage return as well.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        box->setText(shown);
        box->setIcon(iconOf(style));
        box->setTextFormat(Qt::PlainText);
        if (mustAnswer)
            box->setWindowFlag(Qt::WindowCloseButtonHint, false);
        QList<QPushButton *> pushButtons;
        for (const ButtonSpec &spec : buttons)
            pushButtons.append(box->addButton(spec.button));
        const int defaultIndex = (style & 0xF00) == MB_DEFBUTTON2   ? 1
                                 : (style & 0xF00) == MB_DEFBUTTON3 ? 2
                                                                    : 0;
        box->setDefaultButton(pushButtons.value(defaultIndex, pushButtons.first()));
        if (!mustAnswer) {
            const int escape = (style & 0xF) == MB_OK ? 0 : int(pushButtons.size()) - 1;
            box->setEscapeButton(pushButtons.at(escape));
        }
        execForOwner(*box, owner);
        const auto *clicked = box->clickedButton();
        for (int i = 0; i < pushButtons.size(); ++i) {
            if (pushButtons.at(i) == clicked)
                return buttons.at(i).code;
        }
        return buttons.size() == 1 ? IDOK : IDCANCEL;
    }

    void errorBox(QWidget *owner, const QString &message) override {
        QMessageBox box(QMessageBox::Critical, ApplicationTitle(), message, QMessageBox::Ok, owner);
        // Messages carry file names and page text; never let them render as markup.
        box.setTextFormat(Qt::PlainText);
        execForOwner(box, owner);
    }

    QString openFileName(QWidget *owner, const QString &folder, const QString &filter,
                         const QString &defaultSuffix) override {
        QFileDialog dialog(owner, QString(), folder, qtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The standard open dialog also takes a name that does not exist yet; whoever opens
        // the file reports it when it is missing.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(defaultSuffix);
        if (execForOwner(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    QString saveFileName(QWidget *owner, const QString &folder, const QString &filter,
                         const QString &defaultSuffix, bool confirmOverwrite) override {
        QFileDialog dialog(owner, QString(), folder, qtFileFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
        if (execForOwner(dialog, owner) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().constFirst();
    }

    bool chooseFont(QWidget *owner, const QFont &initial, QFont *chosen) override {
        QFontDialog dialog(initial, owner);
        if (execForOwner(dialog, owner) != QDialog::Accepted)
            return false;
        *chosen = dialog.selectedFont();
        return true;
    }

    bool choosePrinter(QWidget *owner, QPrinter *printer) override {
        QPrintDialog dialog(printer, owner);
        return execForOwner(dialog, owner) == QDialog::Accepted;
    }
};

UserDialogs *&installed() {
    static UserDialogs *dialogs = nullptr;
    return dialogs;
}

} // namespace

void UserDialogs::printPreview(QWidget *owner, const std::function<void(QPrinter *)> &paint) {
    QPrinter printer;
    QPrintPreviewDialog dialog(&printer, owner);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    dialog.exec();
}

UserDialogs &userDialogs() {
    static SystemDialogs system;
    return installed() ? *installed() : system;
}

void setUserDialogs(UserDialogs *dialogs) {
    installed() = dialogs;
}

QString qtFileFilter(const QString &filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        pattern.replace(u';', u' ');
        filters.append(parts.at(i) + QStringLiteral(" (") + pattern + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace brevnote
