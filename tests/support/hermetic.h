#pragma once

#include <QString>

// Every test program runs in its own throw-away world: fresh program, data, config and
// temporary folders, so no test touches the real home or sees another test's files.
namespace brevnote::test {

// Creates the folders and points BREVNOTE_HOME, BREVNOTE_DATA_DIR, XDG_CONFIG_HOME,
// XDG_DATA_HOME, HOME and TMPDIR at them, and BREVNOTE_WEB_MODULE at the built web library
// unless set. Call before the application object exists.
void enterHermeticEnvironment();
// Removes the folders again.
void leaveHermeticEnvironment();
// The root that holds them.
QString hermeticRoot();

} // namespace brevnote::test

// Test mains: the QTEST_* mains with the hermetic environment around them.
#define BREVNOTE_TEST_MAIN_WITH(AppClass, TestObject)                                              \
    int main(int argc, char *argv[]) {                                                             \
        brevnote::test::enterHermeticEnvironment();                                                \
        int status = 0;                                                                            \
        {                                                                                          \
            AppClass app(argc, argv);                                                              \
            AppClass::setApplicationName(QStringLiteral("Brevnote"));                              \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            status = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        brevnote::test::leaveHermeticEnvironment();                                                \
        return status;                                                                             \
    }

#define BREVNOTE_TEST_GUILESS_MAIN(TestObject) BREVNOTE_TEST_MAIN_WITH(QCoreApplication, TestObject)
#define BREVNOTE_TEST_WIDGETS_MAIN(TestObject) BREVNOTE_TEST_MAIN_WITH(QApplication, TestObject)
