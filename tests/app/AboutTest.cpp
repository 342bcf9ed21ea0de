// The About box, its animation and the link control.
#include "app/AboutArtwork.h"
#include "app/CAboutDlg.h"
#include "app/CLinkStatic.h"
#include "app/LinkErrorText.h"
#include "editors/CCanvasControl.h"
#include "gamedata/UserReporter.h"
#include "graphics/DisplayLayer.h"

#include <QLabel>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace korvane::test {
namespace {

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Tiles of the cartridge that differ from each other.
        for (std::size_t i = 0; i < aboutTiles_.size(); ++i) {
            aboutTiles_[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        for (std::size_t i = 0; i < aboutTilesLarge_.size(); ++i) {
            aboutTilesLarge_[i] = static_cast<std::uint8_t>(i * 13 + 5);
        }
    }
    // The bytes of the cartridge's small About tile t and of its large About tile t.
    std::array<std::uint8_t, 16> SmallTile(int t) const {
        std::array<std::uint8_t, 16> bytes{};
        std::copy_n(aboutTiles_.begin() + t * 16, 16, bytes.begin());
        return bytes;
    }
    std::array<std::uint8_t, 16> LargeTile(int t) const {
        std::array<std::uint8_t, 16> bytes{};
        std::copy_n(aboutTilesLarge_.begin() + t * 16, 16, bytes.begin());
        return bytes;
    }
    std::unique_ptr<CAboutDlg> Make(bool decoded) {
        return std::make_unique<CAboutDlg>(display_, reporter_, aboutTiles_, aboutTilesLarge_,
                                           decoded);
    }
    QStringList LabelTexts(QWidget& dialog) {
        QStringList texts;
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                texts.append(label->text());
            }
        }
        return texts;
    }

    RecordingReporter reporter_;
    DisplayContext display_{32, &reporter_};
    std::array<std::uint8_t, kAboutTileBytes> aboutTiles_{};
    std::array<std::uint8_t, kAboutTileLargeBytes> aboutTilesLarge_{};
};

TEST_F(AboutTest, ShowsTitleVersionCreditAndDate) {
    auto about = Make(true);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Korvane"));
    const QStringList texts = LabelTexts(*about);
    EXPECT_TRUE(texts.contains(QStringLiteral("Korvane Version 1.0")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Coded by")));
    EXPECT_TRUE(texts.contains(QStringLiteral("December 2026")));
    EXPECT_EQ(about->creditLink().text(), QStringLiteral("The Korvane developers"));
    EXPECT_EQ(about->creditLink().url(),
              QStringLiteral("mailto:korvane-dev@users.noreply.invalid"));
    EXPECT_EQ(about->creditLink().underline(), UnderlineMode::Never);
    EXPECT_EQ(about->creditLink().toolTip(), about->creditLink().url());
    EXPECT_EQ(about->webLink().url(), about->webLink().text());
    EXPECT_TRUE(about->webLink().isHidden());
    EXPECT_TRUE(reporter_.messages.empty());
}

TEST_F(AboutTest, WithoutADecodedCartridgeTheSurfacesHideAndNothingAnimates) {
    auto about = Make(false);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(about->surface(i).isHidden()) << i;
    }
    EXPECT_FALSE(about->animationRunning());
}

TEST_F(AboutTest, AnimationFollowsItsTiming) {
    auto about = Make(true);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(about->surface(i).isHidden()) << i;
        EXPECT_EQ(about->surface(i).renderer().gridWidth(), 32);
        EXPECT_EQ(about->surface(i).renderer().gridHeight(), 4);
    }
    EXPECT_EQ(about->surface(0).pos(), QPoint(20, 70));
    EXPECT_EQ(about->surface(1).pos(), QPoint(20, 102));
    EXPECT_EQ(about->surface(2).pos(), QPoint(20, 134));
    EXPECT_TRUE(about->animationRunning());
    EXPECT_EQ(about->animationPeriod(), 1000);

    // Before the first tick: the first surface shows the cartridge's small tiles, five to a
    // band, each row starting five tiles further (row r, column c: tile (5r + c mod 5) mod 14);
    // the second its large tiles, twelve further a row.
    const CRenderer& firstSurface = about->surface(0).renderer();
    const CRenderer& secondSurface = about->surface(1).renderer();
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(firstSurface.cell(column, 0).pattern, SmallTile(column % 5)) << column;
        EXPECT_EQ(firstSurface.cell(column, 2).pattern, SmallTile((10 + column % 5) % 14))
            << column;
        EXPECT_EQ(secondSurface.cell(column, 1).pattern, LargeTile(12 + column % 5)) << column;
    }
    about->AnimationTick();
    EXPECT_EQ(about->animationPeriod(), 30);
    // Tick 1: the first band slides one tile to the left, the second one to the right (a shift
    // of 32, which is 2 modulo 5).
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(firstSurface.cell(column, 0).pattern, SmallTile((column + 1) % 5)) << column;
        EXPECT_EQ(secondSurface.cell(column, 0).pattern, LargeTile((column + 2) % 5)) << column;
    }
    about->AnimationTick();
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(firstSurface.cell(column, 0).pattern, SmallTile((column + 2) % 5)) << column;
        EXPECT_EQ(secondSurface.cell(column, 0).pattern, LargeTile((column + 1) % 5)) << column;
    }
    while (about->tickCount() < 33) {
        about->AnimationTick();
    }
    EXPECT_EQ(about->animationPeriod(), 60);
    const CRenderer& third = about->surface(2).renderer();
    auto glyphPattern = [&](char letter) {
        std::array<std::uint8_t, 16> bytes{};
        const auto first = static_cast<std::size_t>(AboutGlyphTile(letter)) * 16;
        std::copy_n(third.tilePatterns().begin() + static_cast<std::ptrdiff_t>(first), 16,
                    bytes.begin());
        return bytes;
    };
    for (std::size_t i = 0; i < kAboutFirstLine.size(); ++i) {
        EXPECT_EQ(third.cell(7 + static_cast<int>(i), 1).pattern, glyphPattern(kAboutFirstLine[i]))
            << i;
    }
    // The second line appears one glyph per tick on row 2, over the box's brick tile (64).
    const auto tilePattern = [&](int tile) {
        std::array<std::uint8_t, 16> bytes{};
        std::copy_n(third.tilePatterns().begin() + tile * 16, 16, bytes.begin());
        return bytes;
    };
    EXPECT_EQ(third.cell(0, 2).pattern, tilePattern(64));
    about->AnimationTick(); // 34: glyph 0
    EXPECT_EQ(third.cell(0, 2).pattern, glyphPattern(kAboutSecondLine[0]));
    EXPECT_EQ(third.cell(1, 2).pattern, tilePattern(64));
    about->AnimationTick(); // 35: glyph 1
    EXPECT_EQ(third.cell(1, 2).pattern, glyphPattern(kAboutSecondLine[1]));
    EXPECT_EQ(third.cell(2, 2).pattern, tilePattern(64));
    while (about->tickCount() < 64) {
        about->AnimationTick();
    }
    EXPECT_TRUE(about->animationRunning());
    about->AnimationTick();
    EXPECT_EQ(about->tickCount(), 65);
    EXPECT_FALSE(about->animationRunning());
}

TEST(AboutArtworkTest, GlyphTilesSpellTheLines) {
    const auto tiles = AboutTileTable({}, {});
    auto pattern = [&](int tile) {
        std::array<std::uint8_t, 16> bytes{};
        std::copy_n(tiles.begin() + tile * 16, 16, bytes.begin());
        return bytes;
    };
    EXPECT_EQ(kAboutFirstLine.size(), 18U);
    EXPECT_EQ(kAboutSecondLine.size(), 31U);
    // Every letter of both lines has a glyph of its own, and a blank is empty.
    for (char letter : std::string(kAboutFirstLine) + std::string(kAboutSecondLine)) {
        if (letter == ' ') {
            EXPECT_EQ(pattern(AboutGlyphTile(letter)), (std::array<std::uint8_t, 16>{}));
        } else {
            EXPECT_NE(pattern(AboutGlyphTile(letter)), (std::array<std::uint8_t, 16>{})) << letter;
            EXPECT_NE(AboutGlyphTile(letter), AboutGlyphTile(' ')) << letter;
        }
    }
    // The glyph set follows the box's own tiles: a blank, A to Z, 0 to 9, "!" and ".", and
    // any other character shows the blank.
    EXPECT_EQ(AboutGlyphTile(' '), 96);
    EXPECT_EQ(AboutGlyphTile('A'), 97);
    EXPECT_EQ(AboutGlyphTile('Z'), 122);
    EXPECT_EQ(AboutGlyphTile('0'), 123);
    EXPECT_EQ(AboutGlyphTile('9'), 132);
    EXPECT_EQ(AboutGlyphTile('!'), 133);
    EXPECT_EQ(AboutGlyphTile('.'), 134);
    EXPECT_EQ(AboutGlyphTile('a'), 96);
    EXPECT_EQ(AboutGlyphTile('#'), 96);
    // Every glyph is a picture of its own.
    std::set<std::array<std::uint8_t, 16>> glyphs;
    for (int tile = 96; tile <= 134; ++tile) {
        glyphs.insert(pattern(tile));
    }
    EXPECT_EQ(glyphs.size(), 39U);
    // The table starts with the cartridge's tiles: small ones, then large ones.
    std::array<std::uint8_t, kAboutTileBytes> small{};
    std::array<std::uint8_t, kAboutTileLargeBytes> large{};
    small[0] = 0x11;
    small[small.size() - 1] = 0x22;
    large[0] = 0x33;
    large[large.size() - 1] = 0x44;
    const auto withCartridge = AboutTileTable(small, large);
    EXPECT_EQ(withCartridge[0], 0x11);
    EXPECT_EQ(withCartridge[14 * 16 - 1], 0x22);
    EXPECT_EQ(withCartridge[14 * 16], 0x33);
    EXPECT_EQ(withCartridge[62 * 16 - 1], 0x44);
}

TEST(LinkErrorTextTest, KnownCodesHaveTheirTextsAndOthersAreUnknown) {
    // A few texts word for word, line breaks and trailing blank included.
    EXPECT_EQ(LinkErrorText(2), "The specified file was not found.");
    EXPECT_EQ(LinkErrorText(5), "The operating system denied\naccess to the specified file.");
    EXPECT_EQ(LinkErrorText(26), "A sharing violation occurred. ");
    // The lookup: exactly the codes 0, 2, 3, 5, 8, 11 and 26 to 32 have texts of their own,
    // all different; every other code, success codes above 32 included, is unknown.
    const std::set<int> known{0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32};
    std::set<std::string> texts;
    for (int code = -2; code <= 40; ++code) {
        const std::string text = LinkErrorText(code);
        const std::string unknown = "Unknown Error (" + std::to_string(code) + ") occurred.";
        EXPECT_EQ(text == unknown, known.count(code) == 0) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), 43U);
    EXPECT_EQ(LinkErrorReport(99), "Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
    EXPECT_EQ(LinkErrorReport(3), "Unable to open hyperlink:\n\n" + LinkErrorText(3));
}

TEST(LinkStaticTest, EmptyUrlTakesTheTextAndEmptyTextTakesTheUrl) {
    CLinkStatic fromText(QStringLiteral("mailto:a@b.invalid"), QString(), nullptr);
    EXPECT_EQ(fromText.url(), QStringLiteral("mailto:a@b.invalid"));
    CLinkStatic fromUrl(QString(), QStringLiteral("https://x.invalid/"), nullptr);
    EXPECT_EQ(fromUrl.text(), QStringLiteral("https://x.invalid/"));
    EXPECT_EQ(fromUrl.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(fromUrl.toolTip(), QStringLiteral("https://x.invalid/"));
}

TEST(LinkStaticTest, HoverColoursUnderlinesAndTimesOut) {
    CLinkStatic link(QStringLiteral("link"), QString(), nullptr);
    link.resize(60, 16);
    link.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&link));
    EXPECT_EQ(link.textColour(), QColor(0, 0, 238));
    EXPECT_FALSE(link.underlined());
    QTest::mouseMove(&link, QPoint(5, 5));
    EXPECT_TRUE(link.pointerOver());
    EXPECT_EQ(link.textColour(), QColor(255, 0, 0));
    EXPECT_TRUE(link.underlined()); // the default mode underlines while over
    EXPECT_TRUE(link.hoverTimerActive());
    link.HoverCheck(QPoint(5, 5)); // still over
    EXPECT_TRUE(link.pointerOver());
    link.HoverCheck(QPoint(100, 5));
    EXPECT_FALSE(link.pointerOver());
    EXPECT_FALSE(link.hoverTimerActive());
    EXPECT_FALSE(link.underlined());
    EXPECT_EQ(link.textColour(), QColor(0, 0, 238));

    link.SetUnderline(UnderlineMode::Always);
    EXPECT_TRUE(link.underlined());
    link.SetUnderline(UnderlineMode::Never);
    QTest::mouseMove(&link, QPoint(6, 6));
    EXPECT_FALSE(link.underlined());
}

TEST(LinkStaticTest, AClickOpensTheUrlOrReportsWhy) {
    RecordingReporter reporter;
    CLinkStatic link(QStringLiteral("Korvane"), QStringLiteral("mailto:x@y.invalid"), &reporter);
    link.resize(60, 16);
    QStringList opened;
    link.SetOpener([&](const QUrl& url) {
        opened.append(url.toString());
        return kNoAssociationCode;
    });
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, QStringList{QStringLiteral("mailto:x@y.invalid")});
    ASSERT_EQ(reporter.messages.size(), 1U);
    EXPECT_EQ(reporter.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(reporter.messages[0].text, "Unable to open hyperlink:\n\nThere is no application "
                                         "associated\nwith the given filename extension.");
    EXPECT_FALSE(link.visited());

    link.SetOpener([](const QUrl&) { return 26; });
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(reporter.messages.size(), 2U);
    EXPECT_EQ(reporter.messages[1].text,
              "Unable to open hyperlink:\n\nA sharing violation occurred. ");

    link.SetOpener([](const QUrl&) { return kLinkOpenedCode; });
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(reporter.messages.size(), 2U);
    EXPECT_TRUE(link.visited());
    EXPECT_FALSE(link.pointerOver());
    EXPECT_EQ(link.textColour(), QColor(85, 26, 139));
}

} // namespace
} // namespace korvane::test
