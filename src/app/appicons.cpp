#include "appicons.h"

#include "applicationid.h"

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

QIcon themedIcon(const QString &themeName) {
    // One lookup in the theme: hasThemeIcon followed by fromTheme would search it twice. As
    // in hasThemeIcon, only the icon of that very name counts, not a more generic one the
    // theme falls back to ("document" for "document-open").
    QIcon themed = QIcon::fromTheme(themeName);
    if (themed.name() == themeName)
        return themed;
    ensureIconResources();
    return QIcon(bundledIconPath(themeName));
}

QIcon trayIconImage() {
    ensureIconResources();
    return QIcon(QStringLiteral(":/brevnote/icons/") + applicationId() + QStringLiteral(".svg"));
}

} // namespace brevnote
