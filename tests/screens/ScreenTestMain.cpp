// Tests on a screen of their own, set up before the application starts: KORVANE_TEST_SCREEN
// "hidpi" is the offscreen screen at a device pixel ratio of 2 (QT_SCALE_FACTOR), "laptop" an
// offscreen screen of 1366 x 768.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/IsolatedUserFolders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const korvane::test::IsolatedUserFolders folders;
    QTemporaryDir screens;
    if (std::strcmp(KORVANE_TEST_SCREEN, "hidpi") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_SCALE_FACTOR", "2");
    } else {
        const QString config = screens.filePath(QStringLiteral("screens.json"));
        QFile file(config);
        if (!screens.isValid() || !file.open(QIODevice::WriteOnly) ||
            file.write(R"({"screens":[{"name":"laptop","x":0,"y":0,"width":1366,"height":768,)"
                       R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})") < 0) {
            std::fprintf(stderr, "cannot write the screen set-up\n");
            return 1;
        }
        file.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
