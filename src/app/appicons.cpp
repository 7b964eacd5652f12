#include "appicons.h"

#include "applicationid.h"

#include <QIconEngine>
#include <QPainter>

#include <optional>
#include <utility>

// The resource is compiled into this static library; naming it here makes the linker keep it.
static void initIconResources() {
    Q_INIT_RESOURCE(brevnote);
}

namespace brevnote {

namespace {

void ensureIconResources() {
    static const bool done = (initIconResources(), true);
    Q_UNUSED(done);
}

} // namespace

QString bundledIconPath(const QString &themeName) {
    return QStringLiteral(":/brevnote/icons/actions/") + themeName + QStringLiteral(".svg");
}

namespace {

QIcon resolveThemedIcon(const QString &themeName) {
    // One lookup in the theme: hasThemeIcon followed by fromTheme would search it twice. As
    // in hasThemeIcon, only the icon of that very name counts, not a more generic one the
    // theme falls back to ("document" for "document-open").
    QIcon themed = QIcon::fromTheme(themeName);
    if (themed.name() == themeName)
        return themed;
    ensureIconResources();
    return QIcon(bundledIconPath(themeName));
}

// Looks the icon up the first time it is drawn or asked about, not when it is made: the
// main window makes its fifteen icons while it starts hidden in the tray, and looking them
// up in the theme is a third of its construction.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(QString themeName)
        : m_themeName(std::move(themeName)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        // `size` is in device pixels here.
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("brevnote-deferred"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon() {
        if (!m_icon)
            m_icon = resolveThemedIcon(m_themeName);
        return *m_icon;
    }

    QString m_themeName;
    std::optional<QIcon> m_icon;
};

} // namespace

QIcon themedIcon(const QString &themeName) {
    return QIcon(new DeferredIconEngine(themeName));
}

QIcon trayIconImage() {
    ensureIconResources();
    return QIcon(QStringLiteral(":/brevnote/icons/") + applicationId() + QStringLiteral(".svg"));
}

} // namespace brevnote
