#include <QGuiApplication>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Text drawing needs the application object; the tests draw off screen.
int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
