// The canvas and editor tests run with a QApplication on the offscreen platform.
#include <QApplication>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
