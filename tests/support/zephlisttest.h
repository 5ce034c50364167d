#pragma once

#include <QTemporaryDir>
#include <QTest>

namespace ZephlistTest {

// With no display to show windows on (a terminal, CI), the offscreen platform,
// so that a GUI test runs by hand as it does under ctest. A platform chosen in
// QT_QPA_PLATFORM wins.
inline void useOffscreenWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The listings a window keeps go to a folder of the test's own, which goes
// with it; a test that looks at them names its own folder.
inline void keepHistoryInTemporaryFolder()
{
    static QTemporaryDir history;
    qputenv("ZEPHLIST_HISTORY_DIR", history.path().toUtf8());
}

} // namespace ZephlistTest

// QTEST_MAIN for tests that show widgets. QTEST_MAIN calls a test's static
// initMain() before it makes the application, the last moment to pick the platform.
#define ZEPHLIST_GUI_TEST_MAIN(TestObject)                                                         \
    struct TestObject##Main : TestObject                                                           \
    {                                                                                              \
        static void initMain()                                                                     \
        {                                                                                          \
            ZephlistTest::useOffscreenWithoutDisplay();                                            \
            ZephlistTest::keepHistoryInTemporaryFolder();                                          \
        }                                                                                          \
    };                                                                                             \
    QTEST_MAIN(TestObject##Main)
