#include "app/appicons.h"
#include "app/mainwindow.h"

#include "masterfixture.h"
#include "support/hermetic.h"
#include "support/testfiles.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;

// Every button and menu image is a real icon: the theme's when it has one, else the program's.
class TestAppIcons : public QObject {
    Q_OBJECT

private slots:
    void init();
    void everyActionHasItsOwnIconUnderAnEmptyTheme();
    void themeIconComesFirst();
    void trayIconReadsAtTraySizes_data();
    void trayIconReadsAtTraySizes();
    void windowShowsTheTrayIcon();

private:
    QTemporaryDir m_themes;
};

namespace {

// Non-transparent pixels of the icon drawn at that size.
int paintedPixels(const QIcon &icon, int size) {
    const QImage image = icon.pixmap(size).toImage();
    int painted = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return painted;
}

} // namespace

void TestAppIcons::init() {
    // No theme has any icon: the search path holds nothing.
    QIcon::setThemeSearchPaths({m_themes.filePath(u"none"_s)});
    QIcon::setThemeName(u"empty"_s);
    QIcon::setFallbackThemeName(u"empty"_s);
}

void TestAppIcons::everyActionHasItsOwnIconUnderAnEmptyTheme() {
    brevnote::test::MasterFixture fixture;
    const char *const names[] = {"ToolButton_Abrir", "ToolButton_Salvar",
                                 "ToolButton6",      "ToolButton_SDK",
                                 "ToolButton_Font",  "ToolButton_SelectAll",
                                 "ToolButton_Cut",   "ToolButton_Copy",
                                 "ToolButton_Paste", "ToolButton_Printer",
                                 "ToolButton_Timer", "ToolButton2",
                                 "HTMLText1",        "Browser1",         "Procurar1",
                                 "Recortar1",        "Copiar1",
                                 "Colar1",           "Selecionartudo1"};
    QSet<QByteArray> images;
    for (const char *name : names) {
        const QIcon icon = brevnote::test::action(*fixture.master, name)->icon();
        QVERIFY2(!icon.isNull(), name);
        QVERIFY2(icon.name().isEmpty(), name); // not from a theme
        QVERIFY2(paintedPixels(icon, 16) > 40, name);
        const QImage image = icon.pixmap(16).toImage();
        images.insert(
            QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    }
    // Fifteen pictures: the four editor-menu items share their buttons' icons.
    QCOMPARE(images.size(), 15);
}

void TestAppIcons::themeIconComesFirst() {
    const QString theme = m_themes.filePath(u"themes/mine"_s);
    QVERIFY(QDir().mkpath(theme + u"/16x16/actions"_s));
    QVERIFY(brevnote::test::writeBytes(theme + u"/index.theme"_s,
                                       "[Icon Theme]\nName=mine\nDirectories=16x16/actions\n\n"
                                       "[16x16/actions]\nSize=16\nType=Fixed\n"));
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(theme + u"/16x16/actions/edit-cut.png"_s));
    QIcon::setThemeSearchPaths({m_themes.filePath(u"themes"_s)});
    QIcon::setThemeName(u"mine"_s);

    QCOMPARE(brevnote::themedIcon(u"edit-cut"_s).name(), u"edit-cut"_s);
    const QIcon own = brevnote::themedIcon(u"edit-copy"_s);
    QVERIFY(own.name().isEmpty());
    QVERIFY(paintedPixels(own, 16) > 40);
    QVERIFY(QFile::exists(brevnote::bundledIconPath(u"edit-copy"_s)));
}

void TestAppIcons::trayIconReadsAtTraySizes_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("16") << 16;
    QTest::newRow("22") << 22;
    QTest::newRow("32") << 32;
}

void TestAppIcons::trayIconReadsAtTraySizes() {
    QFETCH(int, size);
    const QPixmap pixmap = brevnote::trayIconImage().pixmap(size);
    QCOMPARE(pixmap.size(), QSize(size, size));
    // A note fills most of its square, not a speck in a corner.
    QVERIFY(paintedPixels(brevnote::trayIconImage(), size) > size * size / 2);
}

void TestAppIcons::windowShowsTheTrayIcon() {
    brevnote::test::MasterFixture fixture;
    const QImage window = fixture.master->windowIcon().pixmap(32).toImage();
    QVERIFY(!window.isNull());
    QCOMPARE(window, brevnote::trayIconImage().pixmap(32).toImage());
}

BREVNOTE_TEST_WIDGETS_MAIN(TestAppIcons)
#include "tst_appicons.moc"
