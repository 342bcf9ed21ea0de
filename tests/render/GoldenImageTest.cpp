// The command-line render: one demo hallway compared pixel for pixel with a picture a person
// has looked at, and the tool's answers to bad arguments and unreadable files.

#include "DemoCartridge.h"
#include "tools/CliRender.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

namespace korvane {
namespace {

class CliRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        rom = Path("demo.nes");
        std::string error;
        ASSERT_TRUE(WriteDemoCartridge(rom, 1, error)) << error;
    }
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    QTemporaryDir dir;
    std::string rom;
};

// Level 1, hallway 1 of the demo cartridge (seed 1): five rooms side by side with enemy
// markers and the first checkpoint's label, at 32 bits.
TEST_F(CliRender, DemoHallwayMatchesTheGoldenPicture) {
    const std::string out = Path("hallway.png");
    ASSERT_EQ(RunRenderCommand({rom, "--level", "1", "--hallway", "1", "-o", out}), 0);
    const QImage rendered =
        QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
    const QImage golden = QImage(QStringLiteral(KORVANE_GOLDEN_DIR "/demo_level1_hallway1.png"))
                              .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull());
    ASSERT_EQ(rendered.size(), golden.size());
    int differing = 0;
    for (int y = 0; y < golden.height(); ++y) {
        for (int x = 0; x < golden.width(); ++x) {
            differing += rendered.pixel(x, y) != golden.pixel(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(CliRender, SixteenBitRenderIsTheGoldenPictureIn565) {
    const std::string out = Path("hallway16.png");
    ASSERT_EQ(RunRenderCommand({rom, "--level", "1", "--hallway", "1", "--depth", "16", "-o", out}),
              0);
    const QImage rendered =
        QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32);
    const QImage golden = QImage(QStringLiteral(KORVANE_GOLDEN_DIR "/demo_level1_hallway1.png"))
                              .convertToFormat(QImage::Format_RGB16)
                              .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(rendered.size(), golden.size());
    EXPECT_EQ(rendered, golden);
}

TEST_F(CliRender, EveryLayerAndOptionRenders) {
    const std::vector<std::vector<std::string>> runs = {
        {"--layer", "tiles", "--palette-set", "2", "--palette", "3", "--zoom-in", "2", "--grid"},
        {"--layer", "blocks", "--highlight", "-2"},
        {"--layer", "assemblies", "--highlight", "16", "--zoom-out", "2"},
        {"--layer", "rooms", "--zoom-out", "4"},
        {"--hallway", "3", "--tick", "5", "--no-enemies", "--no-checkpoints", "--depth", "24"},
    };
    const QSize sizes[] = {{256, 256}, {256, 256}, {256, 256}, {512, 256}, {1280, 256}};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string out = Path("layer.png");
        std::vector<std::string> args = {rom, "--level", "1", "-o", out};
        args.insert(args.end(), runs[i].begin(), runs[i].end());
        ASSERT_EQ(RunRenderCommand(args), 0) << i;
        EXPECT_EQ(QImage(QString::fromStdString(out)).size(), sizes[i]) << i;
    }
}

TEST_F(CliRender, BadArgumentsExitTwoAndUnreadableRomsOne) {
    const std::string out = Path("never.png");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {rom, "-o", out},
        {rom, "--level", "1"},
        {rom, "--level", "16", "-o", out},
        {rom, "--level", "1", "-o", out, "--highlight", "17"},
        {rom, "--level", "1", "-o", out, "--highlight", "-3"},
        {rom, "--level", "1", "-o", out, "--depth", "8"},
        {rom, "--level", "1", "-o", out, "--zoom-in", "0"},
        {rom, "--level", "1", "-o", out, "--layer", "sprites"},
        {rom, "--level", "1", "-o", out, "--tick", "x"},
        {rom, "--level", "1", "-o", out, "--palette-set", "5"},
        {rom, "--level", "1", "-o", out, "--frobnicate"},
        {rom, rom, "--level", "1", "-o", out},
    };
    for (const auto& args : bad) {
        EXPECT_EQ(RunRenderCommand(args), 2) << (args.size() > 1 ? args.back() : "");
    }
    EXPECT_EQ(RunRenderCommand({Path("missing.nes"), "--level", "1", "-o", out}), 1);
    {
        std::ofstream shortRom(Path("short.nes"), std::ios::binary);
        shortRom << "NES\x1A";
    }
    EXPECT_EQ(RunRenderCommand({Path("short.nes"), "--level", "1", "-o", out}), 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
}

} // namespace
} // namespace korvane
