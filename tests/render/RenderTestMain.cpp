// The renderer tests need a GUI application for their fonts; without a screen they run on the
// offscreen platform.

#include <QGuiApplication>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
