// The end-to-end test's eyes, on the X display of $DISPLAY:
//   korvane-screen-check grab OUT.png
//       saves the whole screen.
//   korvane-screen-check crop IN.png X Y W H OUT.png
//       saves the W x H area at (X, Y) of IN (the README's screenshot is the main window).
//   korvane-screen-check compare SHOT.png X Y W H EXPECTED.png...
//       succeeds when the W x H area at (X, Y) of SHOT equals the top-left W x H of any
//       EXPECTED picture, pixel for pixel; says which one matched or how close each came.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Grab(const char* out) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "no screen\n");
        return 1;
    }
    const QPixmap shot = screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(out))) {
        std::fprintf(stderr, "cannot grab the screen into %s\n", out);
        return 1;
    }
    std::printf("grabbed %dx%d into %s\n", shot.width(), shot.height(), out);
    return 0;
}

// How many pixels of the area differ.
long long Differences(const QImage& shot, int x, int y, const QImage& expected, int width,
                      int height) {
    long long differing = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            if ((shot.pixel(x + column, y + row) & 0xFFFFFF) !=
                (expected.pixel(column, row) & 0xFFFFFF)) {
                ++differing;
            }
        }
    }
    return differing;
}

int Compare(int argc, char** argv) {
    const QImage shot =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    const int x = std::atoi(argv[3]);
    const int y = std::atoi(argv[4]);
    const int width = std::atoi(argv[5]);
    const int height = std::atoi(argv[6]);
    if (shot.isNull() || x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > shot.width() ||
        y + height > shot.height()) {
        std::fprintf(stderr, "the area %dx%d at %d,%d is not inside the screenshot\n", width,
                     height, x, y);
        return 1;
    }
    for (int i = 7; i < argc; ++i) {
        const QImage expected =
            QImage(QString::fromLocal8Bit(argv[i])).convertToFormat(QImage::Format_RGB32);
        // A hallway narrower than the area is compared over its own width.
        const int comparedWidth = std::min(width, expected.width());
        const int comparedHeight = std::min(height, expected.height());
        const long long differing =
            Differences(shot, x, y, expected, comparedWidth, comparedHeight);
        if (differing == 0) {
            std::printf("the %dx%d preview area matches %s\n", comparedWidth, comparedHeight,
                        argv[i]);
            return 0;
        }
        std::printf("%s: %lld of %d pixels differ\n", argv[i], differing,
                    comparedWidth * comparedHeight);
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "grab") == 0) {
        QGuiApplication application(argc, argv);
        return Grab(argv[2]);
    }
    if (argc == 8 && std::strcmp(argv[1], "crop") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        const QImage area = QImage(QString::fromLocal8Bit(argv[2]))
                                .copy(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                      std::atoi(argv[6]));
        return !area.isNull() && area.save(QString::fromLocal8Bit(argv[7])) ? 0 : 1;
    }
    if (argc >= 8 && std::strcmp(argv[1], "compare") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return Compare(argc, argv);
    }
    std::fprintf(stderr, "usage: korvane-screen-check grab OUT.png\n"
                         "       korvane-screen-check compare SHOT.png X Y W H EXPECTED.png...\n"
                         "       korvane-screen-check crop IN.png X Y W H OUT.png\n");
    return 2;
}
