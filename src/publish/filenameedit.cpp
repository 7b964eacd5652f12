#include "publish/filenameedit.h"

#include "util/core/platform.h"
#include "util/ui/userdialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace brevnote {

FilenameEdit::FilenameEdit(const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_browse(new QToolButton(this)) {
    setObjectName(name);
    m_edit->setObjectName(name + QStringLiteral("_Edit"));
    m_browse->setObjectName(name + QStringLiteral("_Browse"));
    m_browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_browse->setFocusPolicy(Qt::NoFocus);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    layout->addWidget(m_browse);
    setFocusProxy(m_edit);
    connect(m_browse, &QToolButton::clicked, this, &FilenameEdit::browse);
}

QString FilenameEdit::text() const {
    return m_edit->text();
}

void FilenameEdit::setText(const QString &text) {
    m_edit->setText(text);
}

void FilenameEdit::browse() {
    QString folder;
    if (m_beforeDialog) {
        folder = m_beforeDialog();
    } else if (!text().trimmed().isEmpty()) {
        const QFileInfo current(text().trimmed());
        if (current.absoluteDir().exists())
            folder = current.absolutePath();
    }
    if (folder.isEmpty())
        folder = platform::programFolder();
    const QString picked =
        userDialogs().openFileName(window(), folder, WithPlainAllFiles(m_filter), QString());
    if (!picked.isEmpty())
        setText(picked);
}

QString WithPlainAllFiles(const QString &filter) {
    QStringList parts = filter.split(u'|');
    for (qsizetype i = 1; i < parts.size(); i += 2) {
        if (parts.at(i) == u"*.*")
            parts[i] = QStringLiteral("*");
    }
    return parts.join(u'|');
}

} // namespace brevnote
