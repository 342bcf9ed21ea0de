// `korvane-cli tiles export` and `korvane-cli tiles import` run as processes: the PNG written,
// round trips that leave the cartridge byte for byte, an import that reaches every copy of a
// changed page and survives reopening, usage errors and refusals that write nothing.
#include "CliProcessFixture.h"
#include "DemoCartridge.h"
#include "gamedata/GameData.h"
#include "graphics/NesColours.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace korvane {
namespace {

class CliTiles : public CliProcess {
protected:
    // The model of a cartridge file of the folder.
    std::unique_ptr<GameData> Reopen(const QString& name) {
        const QByteArray bytes = ReadFile(name);
        auto data = std::make_unique<GameData>();
        EXPECT_EQ(bytes.size(), static_cast<qsizetype>(kRomSize)) << name.toStdString();
        if (bytes.size() == static_cast<qsizetype>(kRomSize)) {
            auto image = std::make_unique<RomImage>();
            std::copy(bytes.begin(), bytes.end(), image->bytes.begin());
            data->Decode(*image);
        }
        return data;
    }
    CliResult Export(const QString& rom, int level, int half, int row, const QString& out) {
        QStringList args{"tiles", "export", rom, "--level", QString::number(level)};
        if (half >= 0) {
            args << "--half" << QString::number(half);
        }
        return Run(args << "--palette-row" << QString::number(row) << "-o" << Path(out));
    }
    CliResult Import(const QString& rom, const QString& out, int level, int half, int row,
                     const QString& picture) {
        QStringList args{"tiles", "import", rom, Path(out), "--level", QString::number(level)};
        if (half >= 0) {
            args << "--half" << QString::number(half);
        }
        return Run(args << "--palette-row" << QString::number(row) << Path(picture));
    }
    // Pixel (x, y) of tile t: bit 7 - x of byte y (plane 0) and of byte 8 + y (plane 1).
    static int TilePixel(const LevelRecord& level, int t, int x, int y) {
        const auto at = static_cast<std::size_t>(t * 16 + y);
        const int low = (level.tiles[at] >> (7 - x)) & 1;
        const int high = (level.tiles[at + 8] >> (7 - x)) & 1;
        return low | high << 1;
    }
    static QRgb RowColour(const LevelRecord& level, int row, int entry) {
        const NesRgb& rgb =
            NesColourTable[level.paletteSets[static_cast<std::size_t>(row / 4)]
                               .bytes[static_cast<std::size_t>(row % 4 * 4 + entry)] &
                           0x3FU];
        return qRgb(rgb.red, rgb.green, rgb.blue);
    }
};

TEST_F(CliTiles, ExportWritesTheTilesAsAnIndexedPngInTheRowsColours) {
    const QString rom = Demo();
    const auto demo = Reopen(QStringLiteral("demo1.nes"));
    const LevelRecord& level = demo->levels[3];
    const CliResult all = Export(rom, 3, -1, 6, QStringLiteral("all.png"));
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_TRUE(all.out.contains("tiles 0-255")) << all.out.toStdString();
    const QImage whole(Path(QStringLiteral("all.png")));
    ASSERT_EQ(whole.size(), QSize(128, 128));
    ASSERT_EQ(whole.format(), QImage::Format_Indexed8);
    ASSERT_EQ(whole.colorCount(), 4);
    for (int entry = 0; entry < 4; ++entry) {
        EXPECT_EQ(whole.color(entry), RowColour(level, 6, entry)) << entry;
    }
    // Tile t at column t mod 16, row t / 16.
    for (const auto& [t, x, y] : {std::array{0, 0, 0}, std::array{17, 3, 5}, std::array{100, 7, 1},
                                  std::array{200, 2, 6}, std::array{255, 7, 7}}) {
        EXPECT_EQ(whole.pixelIndex(t % 16 * 8 + x, t / 16 * 8 + y), TilePixel(level, t, x, y)) << t;
    }

    const CliResult half = Export(rom, 3, 1, 19, QStringLiteral("half.png"));
    ASSERT_EQ(half.exitCode, 0) << half.err.toStdString();
    const QImage second(Path(QStringLiteral("half.png")));
    ASSERT_EQ(second.size(), QSize(128, 64));
    EXPECT_EQ(second.color(3), RowColour(level, 19, 3));
    for (const auto& [t, x, y] :
         {std::array{128, 1, 1}, std::array{150, 4, 0}, std::array{255, 6, 7}}) {
        EXPECT_EQ(second.pixelIndex((t - 128) % 16 * 8 + x, (t - 128) / 16 * 8 + y),
                  TilePixel(level, t, x, y))
            << t;
    }
}

TEST_F(CliTiles, ExportThenImportLeavesTheCartridgeByteForByte) {
    const QString rom = Demo();
    // All tiles, then each half, each in another palette row.
    for (const auto& [half, row] : {std::array{-1, 0}, std::array{0, 9}, std::array{1, 19}}) {
        SCOPED_TRACE("half " + std::to_string(half) + ", row " + std::to_string(row));
        const CliResult out = Export(rom, 5, half, row, QStringLiteral("sheet.png"));
        ASSERT_EQ(out.exitCode, 0) << out.err.toStdString();
        const CliResult in =
            Import(rom, QStringLiteral("same.nes"), 5, half, row, QStringLiteral("sheet.png"));
        ASSERT_EQ(in.exitCode, 0) << in.err.toStdString();
        EXPECT_TRUE(in.out.contains("0 character pages changed")) << in.out.toStdString();
        EXPECT_EQ(ReadFile(QStringLiteral("same.nes")), ReadFile(QStringLiteral("demo1.nes")));
    }
}

TEST_F(CliTiles, AnImportReachesEveryCopyOfTheChangedPagesAndSurvivesReopening) {
    const QString rom = Demo();
    const auto demo = Reopen(QStringLiteral("demo1.nes"));
    const LevelRecord& before = demo->levels[0];
    // Level 0's second half shows the pages level 8 shows too.
    const std::size_t page = before.tileBanks[1];
    ASSERT_LT(page + 1, kCharacterPages);
    ASSERT_TRUE(demo->FindTileHalfSharing(0, 1).shared());

    ASSERT_EQ(Export(rom, 0, 1, 2, QStringLiteral("half.png")).exitCode, 0);
    QImage sheet(Path(QStringLiteral("half.png")));
    ASSERT_EQ(sheet.format(), QImage::Format_Indexed8);
    // Tile 128 pixel (0, 0) and tile 255 pixel (7, 7) take the next colour.
    const int first = (TilePixel(before, 128, 0, 0) + 1) % 4;
    const int last = (TilePixel(before, 255, 7, 7) + 1) % 4;
    sheet.setPixel(0, 0, static_cast<uint>(first));
    sheet.setPixel(127, 63, static_cast<uint>(last));
    ASSERT_TRUE(sheet.save(Path(QStringLiteral("edited.png")), "PNG"));

    const CliResult r =
        Import(rom, QStringLiteral("out.nes"), 0, 1, 2, QStringLiteral("edited.png"));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("2 character pages changed")) << r.out.toStdString();

    std::array<std::uint8_t, kTileBytes> expected = before.tiles;
    const auto setBit = [&](std::size_t at, bool on) {
        expected[at] = static_cast<std::uint8_t>(on ? expected[at] | 0x80U : expected[at] & 0x7FU);
    };
    setBit(128 * 16, (first & 1) != 0);
    setBit(128 * 16 + 8, (first & 2) != 0);
    const auto setLowBit = [&](std::size_t at, bool on) {
        expected[at] = static_cast<std::uint8_t>(on ? expected[at] | 0x01U : expected[at] & 0xFEU);
    };
    setLowBit(255 * 16 + 7, (last & 1) != 0);
    setLowBit(255 * 16 + 15, (last & 2) != 0);

    const auto after = Reopen(QStringLiteral("out.nes"));
    EXPECT_EQ(after->levels[0].tiles, expected);
    // Every other level that shows either page shows the new bytes.
    int copies = 0;
    for (std::size_t n = 1; n < kLevelCount; ++n) {
        const LevelRecord& other = after->levels[n];
        for (std::size_t h = 0; h < 2; ++h) {
            for (std::size_t k = 0; k < 2; ++k) {
                const std::size_t shown = std::size_t{other.tileBanks[h]} + k;
                if (shown != page && shown != page + 1) {
                    continue;
                }
                ++copies;
                const std::size_t mine = 0x800 + (shown - page) * 0x400;
                EXPECT_TRUE(std::equal(expected.begin() + static_cast<std::ptrdiff_t>(mine),
                                       expected.begin() + static_cast<std::ptrdiff_t>(mine + 0x400),
                                       other.tiles.begin() +
                                           static_cast<std::ptrdiff_t>(h * 0x800 + k * 0x400)))
                    << "level " << n << " half " << h << " part " << k;
            }
        }
    }
    EXPECT_GE(copies, 2);
    // Nothing but the two pages changed in the file.
    const QByteArray original = ReadFile(QStringLiteral("demo1.nes"));
    const QByteArray written = ReadFile(QStringLiteral("out.nes"));
    ASSERT_EQ(written.size(), original.size());
    const auto pageStart = static_cast<qsizetype>(kCharacterOffset + page * kCharacterPageSize);
    const auto pageEnd = pageStart + static_cast<qsizetype>(2 * kCharacterPageSize);
    for (qsizetype i = 0; i < original.size(); ++i) {
        if (i < pageStart || i >= pageEnd) {
            ASSERT_EQ(written[i], original[i]) << "offset " << i;
        }
    }
    EXPECT_NE(written.mid(pageStart, pageEnd - pageStart),
              original.mid(pageStart, pageEnd - pageStart));
}

TEST_F(CliTiles, BadUsageExitsTwoAndWritesNothing) {
    const QString rom = Demo();
    const QString png = Path(QStringLiteral("x.png"));
    const QString out = Path(QStringLiteral("x.nes"));
    WriteFile(QStringLiteral("in.png"), QByteArray());
    const QString in = Path(QStringLiteral("in.png"));
    ExpectUsageErrors({
        {"tiles"},
        {"tiles", "frob", rom},
        {"tiles", "export", rom, "--palette-row", "0", "-o", png},
        {"tiles", "export", rom, "--level", "0", "-o", png},
        {"tiles", "export", rom, "--level", "16", "--palette-row", "0", "-o", png},
        {"tiles", "export", rom, "--level", "0", "--palette-row", "20", "-o", png},
        {"tiles", "export", rom, "--level", "0", "--half", "2", "--palette-row", "0", "-o", png},
        {"tiles", "export", rom, "--level", "0", "--half", "-1", "--palette-row", "0", "-o", png},
        {"tiles", "export", rom, "--level", "zero", "--palette-row", "0", "-o", png},
        {"tiles", "export", rom, "--level", "0", "--palette-row", "0"},
        {"tiles", "export", rom, "--level", "0", "--palette-row", "0", "--depth", "8", "-o", png},
        {"tiles", "export", rom, rom, "--level", "0", "--palette-row", "0", "-o", png},
        {"tiles", "import", rom, out, "--level", "0", "--palette-row", "0"},
        {"tiles", "import", rom, out, "--level", "0", "--palette-row", "0", in, in},
        {"tiles", "import", rom, out, "--level", "0", "--palette-row", "0", "-o", png, in},
        {"tiles", "import", rom, out, "--level", "0", in},
    });
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(ReadFile(QStringLiteral("in.png")), QByteArray());
    EXPECT_EQ(ReadFile(QStringLiteral("demo1.nes")), ImageBytes(*MakeDemoCartridge(1)));
    // The usage text names both commands.
    const CliResult help = Run({"help"});
    EXPECT_TRUE(help.out.contains("korvane-cli tiles export ROM --level L [--half 0|1] "
                                  "--palette-row R -o OUT.png"));
    EXPECT_TRUE(help.out.contains("korvane-cli tiles import ROM OUT.nes --level L [--half 0|1] "
                                  "--palette-row R IN.png"));
}

TEST_F(CliTiles, RefusedPicturesExitOneNameThePixelAndWriteNothing) {
    const QString rom = Demo();
    const auto demo = Reopen(QStringLiteral("demo1.nes"));
    const LevelRecord& level = demo->levels[2];
    QImage tall(128, 128, QImage::Format_RGB32);
    tall.fill(RowColour(level, 4, 1));
    ASSERT_TRUE(tall.save(Path(QStringLiteral("tall.png")), "PNG"));
    QImage stray(128, 64, QImage::Format_RGB32);
    stray.fill(RowColour(level, 4, 1));
    stray.setPixel(77, 12, qRgb(1, 2, 3));
    ASSERT_TRUE(stray.save(Path(QStringLiteral("stray.png")), "PNG"));
    QImage indices(128, 64, QImage::Format_Indexed8);
    indices.setColorTable(
        {0xFF000000U, 0xFF202020U, 0xFF404040U, 0xFF606060U, 0xFF808080U, 0xFFA0A0A0U});
    indices.fill(2);
    indices.setPixel(3, 60, 5);
    ASSERT_TRUE(indices.save(Path(QStringLiteral("indices.png")), "PNG"));
    // A sheet in the row's colours, but a BMP file with a PNG's name.
    QImage bitmap(128, 64, QImage::Format_RGB32);
    bitmap.fill(RowColour(level, 4, 1));
    ASSERT_TRUE(bitmap.save(Path(QStringLiteral("bitmap.png")), "BMP"));

    const struct {
        const char* picture;
        const char* named;
    } cases[] = {{"tall.png", "pixel (0, 64)"},
                 {"stray.png", "pixel (77, 12)"},
                 {"indices.png", "pixel (3, 60)"},
                 {"bitmap.png", "bitmap.png\": it is not a PNG file."},
                 {"missing.png", "missing.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.picture);
        const CliResult r = Import(rom, QStringLiteral("out.nes"), 2, 0, 4, c.picture);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(c.named)) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("Nothing was written") || r.err.contains("can't read"))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.nes"))));
    }
    // An output that cannot be written: a folder in its place.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.png")));
    const CliResult folder = Export(rom, 2, 0, 4, QStringLiteral("folder.png"));
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_FALSE(folder.err.isEmpty());
}

TEST_F(CliTiles, TilesOnAPageTheCartridgeLacksAreRefused) {
    // Level 0's second half put on pages 127 and 128: tiles 192-255 show no page of the file.
    QByteArray bytes = ImageBytes(*MakeDemoCartridge(1));
    bytes[static_cast<qsizetype>(LevelCatalogue[0].bankOffset + bank::kTileBanks + 1)] = 127;
    WriteFile(QStringLiteral("edge.nes"), bytes);
    const QString rom = Path(QStringLiteral("edge.nes"));
    ASSERT_EQ(Export(rom, 0, 1, 0, QStringLiteral("half.png")).exitCode, 0);
    QImage sheet(Path(QStringLiteral("half.png")));
    sheet.setPixel(0, 0, (static_cast<uint>(sheet.pixelIndex(0, 0)) + 1) % 4); // tile 128
    ASSERT_TRUE(sheet.save(Path(QStringLiteral("page127.png")), "PNG"));
    sheet.setPixel(0, 63, (static_cast<uint>(sheet.pixelIndex(0, 63)) + 1) % 4); // tile 240
    ASSERT_TRUE(sheet.save(Path(QStringLiteral("page128.png")), "PNG"));

    const CliResult refused =
        Import(rom, QStringLiteral("out.nes"), 0, 1, 0, QStringLiteral("page128.png"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("tiles 192-255") && refused.err.contains("page 128"))
        << refused.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("out.nes"))));
    const CliResult taken =
        Import(rom, QStringLiteral("out.nes"), 0, 1, 0, QStringLiteral("page127.png"));
    EXPECT_EQ(taken.exitCode, 0) << taken.err.toStdString();
}

} // namespace
} // namespace korvane
