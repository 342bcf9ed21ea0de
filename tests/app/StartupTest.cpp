// Start-up: the command line, the screen depth refusal, the splash and a file that fails.
#include "AppTestSupport.h"

#include "app/CKorvaneView.h"
#include "app/CMainFrame.h"
#include "app/CSplashWindow.h"
#include "app/RecentFileList.h"
#include "gamedata/CKorvaneDoc.h"

#include "graphics/CPixelImage.h"
#include "graphics/DisplayLayer.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace korvane::test {
namespace {

class ScopedDepth {
public:
    explicit ScopedDepth(const char* bits) { qputenv("KORVANE_SCREEN_DEPTH", bits); }
    ~ScopedDepth() { qunsetenv("KORVANE_SCREEN_DEPTH"); }
};

TEST(StartupTest, OpensTheFileNamedOnTheCommandLine) {
    AppFixture fixture;
    const QString path = fixture.WriteCartridge(QStringLiteral("demo.nes"));
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash"), path}));
    CKorvaneApp& app = fixture.app();
    EXPECT_TRUE(fixture.reporter.messages.empty());

    EXPECT_TRUE(app.document().fileLoaded());
    EXPECT_TRUE(app.document().decoded());
    EXPECT_EQ(app.mainFrame()->windowTitle(), QStringLiteral("demo.nes[*] - Korvane"));
    EXPECT_FALSE(app.mainFrame()->isWindowModified());
    EXPECT_EQ(app.mainFrame()->toolBar().actions().size(), 14);
    EXPECT_EQ(app.mainFrame()->view().level(), 0);
    EXPECT_EQ(app.mainFrame()->view().hallway(), 0);
    EXPECT_EQ(app.mainFrame()->view().highlights().currentIndex(), 17);
    EXPECT_EQ(app.recentFiles().entries(), QStringList{path});
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST(StartupTest, NoSplashOptionKeepsTheSplashAway) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_FALSE(fixture.app().commandLine().showSplash);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
}

TEST(StartupTest, SplashShowsAndConsumesTheFirstKey) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({}));
    CSplashWindow* splash = CSplashWindow::current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(400, 200));
    EXPECT_TRUE(splash->isVisible());

    QSpinBox& level = fixture.app().mainFrame()->view().levelField();
    const QString before = level.text();
    QTest::keyClick(&level, Qt::Key_Up);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
    EXPECT_EQ(level.text(), before); // the key went to the splash, not the field
    // The next key reaches the field again (the empty document ignores the change itself).
    QTest::keyClick(&level, Qt::Key_Up);
    EXPECT_NE(level.text(), before);
}

TEST(StartupTest, SplashHidesOnAMousePress) {
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({}));
    ASSERT_NE(CSplashWindow::current(), nullptr);
    QTest::mouseClick(fixture.app().mainFrame(), Qt::LeftButton);
    EXPECT_EQ(CSplashWindow::current(), nullptr);
}

TEST(StartupTest, RefusesAScreenBelowEightBits) {
    const ScopedDepth depth("4");
    AppFixture fixture;
    EXPECT_FALSE(fixture.Start({QStringLiteral("-nosplash")}));
    ASSERT_EQ(fixture.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture.reporter.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(fixture.reporter.messages[0].text,
              "This program cannot\nwork in a 8-colour screenmode.\nYur computar sux4r!! buy a "
              "new onr!!1");
    EXPECT_EQ(fixture.app().mainFrame(), nullptr);
}

TEST(StartupTest, StartsOnAnEightBitScreen) {
    const ScopedDepth depth("8");
    AppFixture fixture;
    EXPECT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_TRUE(fixture.reporter.messages.empty());
    EXPECT_EQ(fixture.app().display().screenDepth(), 8);
}

TEST(StartupTest, StartsOnAnEightBitScreenAndKeepsPixelImagesInThatLayout) {
    const ScopedDepth depth("16");
    AppFixture fixture;
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash")}));
    EXPECT_EQ(CPixelImage::ScreenDepth(), 16);
    CPixelImage::SetScreenDepth(32);
}

TEST(StartupTest, DisplayFailureDuringStartUpIsReportedWithIdMinusOneAndQuits) {
    AppFixture fixture;
    const bool started = fixture.Start({QStringLiteral("-nosplash")}, [](DisplayContext& context) {
        context.InjectFault(callid::kStartup, dderr::kSystemFail);
    });
    // Start-up goes on; the quit request ends the program once the event loop runs.
    EXPECT_TRUE(started);
    ASSERT_EQ(fixture.reporter.messages.size(), 1U);
    EXPECT_EQ(fixture.reporter.messages[0].title, "Error");
    EXPECT_EQ(fixture.reporter.messages[0].text, "DirectDraw Error DDERR_GENERIC, ID=-1");
    EXPECT_EQ(fixture.reporter.quitRequests, std::vector<int>{0});
}

TEST(StartupTest, DepthComesFromThePrimaryScreenWithoutOverride) {
    qunsetenv("KORVANE_SCREEN_DEPTH");
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(ScreenDepthBits(), QGuiApplication::primaryScreen()->depth());
    const ScopedDepth depth("16");
    EXPECT_EQ(ScreenDepthBits(), 16);
}

TEST(StartupTest, CommandLineFileThatFailsIsReportedAndTheProgramStartsEmpty) {
    AppFixture fixture;
    const QString missing = fixture.PathIn(QStringLiteral("missing.nes"));
    ASSERT_TRUE(fixture.Start({QStringLiteral("-nosplash"), missing}));
    ASSERT_FALSE(fixture.reporter.messages.empty());
    const auto startupMessages = fixture.reporter.messages;
    CKorvaneApp& app = fixture.app();
    EXPECT_FALSE(app.document().fileLoaded());
    EXPECT_EQ(app.mainFrame()->toolBar().actions().size(), 4);
    EXPECT_TRUE(app.mainFrame()->isVisible());
    EXPECT_TRUE(app.recentFiles().entries().isEmpty());

    // File Open says the same about the same file.
    fixture.reporter.Clear();
    fixture.prompt.openAnswers = {missing};
    EXPECT_FALSE(app.mainFrame()->FileOpen());
    ASSERT_EQ(fixture.reporter.messages.size(), startupMessages.size());
    for (std::size_t i = 0; i < startupMessages.size(); ++i) {
        EXPECT_EQ(fixture.reporter.messages[i].text, startupMessages[i].text);
        EXPECT_EQ(fixture.reporter.messages[i].icon, startupMessages[i].icon);
    }
}

TEST(StartupTest, CommandLineOptionsAndFile) {
    const CommandLine plain = ParseCommandLine({QStringLiteral("korvane")});
    EXPECT_TRUE(plain.showSplash);
    EXPECT_TRUE(plain.fileName.isEmpty());
    const CommandLine both =
        ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("/tmp/a.nes"),
                          QStringLiteral("-NoSplash"), QStringLiteral("b.nes")});
    EXPECT_FALSE(both.showSplash);
    EXPECT_EQ(both.fileName, QStringLiteral("/tmp/a.nes"));
    EXPECT_FALSE(
        ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("--nosplash")}).showSplash);
    EXPECT_TRUE(ParseCommandLine({QStringLiteral("korvane"), QStringLiteral("-other")}).showSplash);
}

} // namespace
} // namespace korvane::test
