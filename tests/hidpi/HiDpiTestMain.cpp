// The canvas tests at a device pixel ratio of 2: the offscreen screen scaled by QT_SCALE_FACTOR,
// set before the application starts.
#include <QApplication>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
