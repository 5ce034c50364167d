#pragma once

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

} // namespace ZephlistTest

// QTEST_MAIN for tests that show widgets. QTEST_MAIN calls a test's static
// initMain() before it makes the application, the last moment to pick the platform.
#define ZEPHLIST_GUI_TEST_MAIN(TestObject)                                                         \
    struct TestObject##Main : TestObject                                                           \
    {                                                                                              \
        static void initMain() { ZephlistTest::useOffscreenWithoutDisplay(); }                     \
    };                                                                                             \
    QTEST_MAIN(TestObject##Main)
