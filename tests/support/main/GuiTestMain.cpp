// Test main for GUI test executables: one QApplication with the program's style for the whole run.
#include <QApplication>
#include <gmock/gmock.h>

#include "toolkit/ToolkitStyle.h"

int main(int argc, char **argv)
{
    testing::InitGoogleMock(&argc, argv);
    // Listing the tests (CTest's discovery) needs no display.
    if (testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    ToolkitStyle::Install(); // the program's own style, as users see it
    return RUN_ALL_TESTS();
}
